#pragma once

#include <QDialog>

#include "inbox/InboxCheck.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace zw::inbox {

// The findings of "Rückläufer und Abmeldungen prüfen…": one row each (address, kind, evidence, date,
// campaign) with a tick for the block list, proposed as the check proposes it. "Übernehmen" puts the
// ticked ones on the block list, and only when one is ticked. Below, apart and without ticks, what
// blocks nobody: the sender-side problems once per provider and campaign with what to do, and bounces
// that name nobody of their campaign.
class InboxReviewDialog : public QDialog {
    Q_OBJECT
public:
    InboxReviewDialog(QString workFolder, const CheckResult& result, QWidget* parent = nullptr);

    // The items with the ticks as the user left them.
    QList<ReviewItem> items() const;
    // "Übernehmen": the ticked ones onto the block list; the dialog closes.
    void accept() override;

    QLabel* SummaryLabel = nullptr;
    QTableWidget* Table = nullptr;
    QLabel* SenderAdviceLabel = nullptr;  // hidden when there is nothing below
    QTableWidget* SenderTable = nullptr;
    QLabel* MessageLabel = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* CancelButton = nullptr;
    // After "Übernehmen": what was done, "3 Adressen auf die Sperrliste gesetzt."
    QString Summary;

private:
    QString workFolder_;
    QList<ReviewItem> items_;
    QList<qsizetype> rows_;  // the items in Table, by row
};

}  // namespace zw::inbox

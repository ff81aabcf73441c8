#pragma once

#include <QDialog>

#include "inbox/InboxCheck.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace zw::inbox {

// The findings of "Rückläufer und Abmeldungen prüfen…": one row each (address, kind, evidence, date,
// campaign) with a tick for the block list, proposed as the check proposes it. "Übernehmen" puts the
// ticked ones on the block list, and only when one is ticked.
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
    QLabel* MessageLabel = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* CancelButton = nullptr;
    // After "Übernehmen": what was done, "3 Adressen auf die Sperrliste gesetzt."
    QString Summary;

private:
    QString workFolder_;
    QList<ReviewItem> items_;
};

}  // namespace zw::inbox

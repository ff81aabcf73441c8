#pragma once

#include <QDialog>
#include <QList>
#include <QString>

#include "send/Campaign.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace zw::send {

// "Versandberichte…": the campaigns of the working-files folder, newest first, with their state,
// counts and dates ("wartet bis 14:35" for one waiting for its provider). A finished or paused one opens
// its report; a paused or interrupted one can be resumed; a finished one whose failures were temporary
// ones can send to exactly those again.
class CampaignsDialog : public QDialog {
    Q_OBJECT
public:
    explicit CampaignsDialog(QString workFolder, QWidget* parent = nullptr);
    ~CampaignsDialog() override;

    // Reads the campaigns again, keeping the selection.
    void reload();
    const QList<CampaignStatus>& campaigns() const { return campaigns_; }
    // The row chosen, or nothing.
    const CampaignStatus* selected() const;

    QTableWidget* Table = nullptr;
    QLabel* EmptyLabel = nullptr;
    QPushButton* ReportButton = nullptr;
    QPushButton* ResumeButton = nullptr;
    QPushButton* RetryFailedButton = nullptr;
    QPushButton* CloseButton = nullptr;

Q_SIGNALS:
    void reportRequested(const QString& path);
    void resumeRequested(const QString& folder);
    // "Fehlgeschlagene erneut senden".
    void retryFailedRequested(const QString& folder);

private:
    void updateButtons();
    void openReport();
    void resumeSelected();

    QString workFolder_;
    QList<CampaignStatus> campaigns_;
};

// Whether a campaign's report tells where it stands: it is written at the end of every run, so an
// interrupted campaign's may be behind its journal.
bool reportIsCurrent(const CampaignStatus& status);
// Whether a campaign can be resumed.
bool isResumable(const CampaignStatus& status);

}  // namespace zw::send

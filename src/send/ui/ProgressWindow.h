#pragma once

#include <QElapsedTimer>

#include <atomic>
#include <memory>

#include <QPointer>
#include <QString>
#include <QDialog>

#include "send/Campaign.h"
#include "send/ui/CampaignRunner.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

namespace zw::send {

// Watches a campaign being sent: not modal, so the editor stays usable meanwhile. A bar "n von N",
// the address being sent, the counts, the time so far and the time left, "Anhalten"; while the provider
// refuses more for now, why and until when, with "Jetzt versuchen"; at the end the
// summary with "Bericht öffnen", and "Fortsetzen" for a campaign that did not finish. Closing the
// window while it sends only hides it; the summary brings it back. A dialog that is not modal, so that
// it opens above the main window, centred on it, and is a window to a screen reader.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Sends the campaign, or goes on with it, on a thread of its own, through the SMTP server of its
    // profile. The password stays in memory for "Fortsetzen" while the window lives.
    void start(Campaign campaign, const QString& password);
    // The same through another sender (the help's pictures send to nobody).
    void start(Campaign campaign, SenderFactory sender);
    bool isSending() const;
    const CampaignStatus& status() const { return status_; }
    const QString& folder() const { return folder_; }

    // "Anhalten": stops after the message in flight; the campaign stays resumable.
    void pause();
    // Stops and waits for the answer to the message in flight (the program is closing).
    void pauseAndWait();
    // "Fortsetzen": opens the campaign again and goes on.
    void resume();
    // Escape closes it as the window's close button does.
    void reject() override;

    QLabel* SubjectLabel = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* CurrentLabel = nullptr;
    QLabel* CountsLabel = nullptr;
    QLabel* TimeLabel = nullptr;
    QLabel* SummaryLabel = nullptr;
    QPushButton* TryNowButton = nullptr;
    QPushButton* StopButton = nullptr;
    QPushButton* ResumeButton = nullptr;
    QPushButton* ReportButton = nullptr;
    QPushButton* CloseButton = nullptr;

Q_SIGNALS:
    // A run has ended (finished, paused or stopped by an error); the summary is shown.
    void finished(const zw::send::CampaignStatus& status);
    // "Bericht öffnen".
    void reportRequested(const QString& path);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showStatus(const CampaignStatus& status);
    void showSending(const CampaignStatus& status);
    void showWaiting(const CampaignStatus& status);
    void showEnd(const CampaignStatus& status, const QString& error);
    void updateTime();
    void showButtons();

    QPointer<CampaignRunner> runner_;
    CampaignStatus status_;
    QString folder_;
    QString reportPath_;
    SenderFactory sender_;
    bool hasUnsubscribe_ = true;
    bool stopping_ = false;
    QElapsedTimer clock_;
    qsizetype doneAtStart_ = 0;
    QTimer* tick_ = nullptr;
    // Set by "Anhalten" for the SMTP connection, which then breaks off a message left unanswered.
    std::shared_ptr<std::atomic<bool>> stopInFlight_ = std::make_shared<std::atomic<bool>>(false);
};

// A duration as a clock shows it: "4:05", "1:02:03".
QString clockText(qint64 seconds);

}  // namespace zw::send

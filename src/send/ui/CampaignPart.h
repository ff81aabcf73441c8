#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

#include "send/OutgoingMessage.h"
#include "send/SenderProfile.h"

class QWidget;

namespace zw {
class Launcher;
class Prompts;
}  // namespace zw

namespace zw::send {

class CampaignsDialog;
class ProgressWindow;
class SendNewsletterDialog;
class Campaign;

// Sending the newsletter to a list from the window: the dialog "Newsletter versenden…", the progress
// window, "Versandberichte…", the question when the program closes while a campaign sends, and the
// offer at start-up to resume an interrupted one. One campaign sends at a time.
class CampaignPart : public QObject {
    Q_OBJECT
public:
    // The password for the profile's login: from the secret store or asked; nothing when the user
    // cancels. Kept in memory only.
    using PasswordFor = std::function<std::optional<QString>(const SenderProfile&)>;

    // window: the parent of the dialogs and the progress window. workFolder holds "Versand/".
    CampaignPart(QWidget* window, QString workFolder, Prompts& prompts, Launcher& launcher,
                 PasswordFor passwordFor, QObject* parent = nullptr);
    ~CampaignPart() override;

    // "Newsletter versenden…" for the newsletter rendered by the caller, from the sender set up.
    void openSendDialog(const Newsletter& newsletter, const SenderProfile& profile);
    // "Senden" on its check page: asks for the password where needed, creates the campaign and sends.
    void sendFromDialog();
    // "Versandberichte…".
    void openReports();
    // Goes on with a paused or interrupted campaign.
    // failedAgain: first puts back those who failed for temporary reasons ("Fehlgeschlagene erneut senden").
    void resume(const QString& folder, bool failedAgain = false);
    // Opens a report with the desktop's program for it.
    void openReport(const QString& path);

    bool isSending() const;
    // While a campaign sends, brings its progress window up, says that only one sends at a time, and
    // returns true.
    bool refuseSecondCampaign();
    // The program is asked to close: true when it may. While a campaign sends, the user is asked first.
    bool confirmClose();
    // The program closes: a campaign sending now stops after the message in flight, and this waits for it.
    void pauseForClose();
    // Start-up, after the tip: offers each interrupted campaign, newest first, to resume it. "Ja"
    // resumes it, "Nein" marks it paused (it stays in "Versandberichte…" and is not offered again),
    // "Später" asks again at the next start.
    void offerInterrupted();

    SendNewsletterDialog* sendDialog() const;
    ProgressWindow* progressWindow() const;
    CampaignsDialog* reportsDialog() const;

    // Runs a command started from a dialog or the progress window behind the application's error
    // report; the window sets it.
    std::function<void(const std::function<void()>&)> runCommand;

private:
    void run(const std::function<void()>& command);
    void start(Campaign campaign, const QString& password);

    QWidget* window_;
    QString workFolder_;
    Prompts& prompts_;
    Launcher& launcher_;
    PasswordFor passwordFor_;
    QPointer<SendNewsletterDialog> sendDialog_;
    QPointer<ProgressWindow> progress_;
    QPointer<CampaignsDialog> reports_;
};

// Marks an interrupted campaign paused, so that it is no longer offered at start-up: its journal gets
// the pause record, and its report is written.
void markPaused(const QString& folder);

}  // namespace zw::send

#pragma once

#include <QMap>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

#include "render/RenderInput.h"
#include "send/OutgoingMessage.h"
#include "send/PasswordStore.h"
#include "send/SenderProfile.h"
#include "send/SmtpTransport.h"
#include "send/ui/SenderDialog.h"

class QWidget;

namespace zw {
class Launcher;
class Prompts;
}  // namespace zw

namespace zw::send {

// The working files the test mail and the newsletter for a list are rendered into, in the
// working-files folder.
inline constexpr char kTestMailFile[] = "Testmail.eml";
inline constexpr char kNewsletterFile[] = "Newsletter.eml";

class CampaignPart;

// The window's menu "Versand": the sender and server, the test mail to the sender's own address,
// sending the newsletter to a list, and the reports of the campaigns. It keeps the sender profile the
// window's renderings name in their From line.
class SendPart : public QObject {
    Q_OBJECT
public:
    // Writes the block being edited back, as every command that hands the newsletter on does first.
    using Commit = std::function<void()>;
    // What the renderer reads from the window now, the sender included.
    using Input = std::function<RenderInput()>;

    // window: the parent of the dialogs. The profile is read from workFolder; one that cannot be read
    // counts as none until "Absender und Server…" says why.
    SendPart(QWidget* window, QString workFolder, Prompts& prompts, Launcher& launcher, Commit commit,
             Input renderInput, QObject* parent = nullptr);
    ~SendPart() override;

    void AbsenderundServer1Click();
    void Testmailanmichsenden1Click();
    void Newsletterversenden1Click();
    void Versandberichte1Click();

    // The sender as last saved; empty when none is set up.
    const SenderProfile& profile() const { return profile_; }
    // Names the sender in a rendering's From line, when one is set up.
    void addSender(RenderInput& input) const;
    // Commits and renders into target, for sending.
    Newsletter renderNewsletter(const QString& target);
    // The password for sending with profile: from the secret store, or asked (nothing when the user
    // cancels). A profile without a user name logs in with none.
    std::optional<QString> passwordFor(const SenderProfile& profile);

    // The desktop's secret store; the tests put one of their own.
    PasswordStore& passwordStore() { return *store_; }
    void setPasswordStore(std::unique_ptr<PasswordStore> store) { store_ = std::move(store); }
    // The dialog "Absender und Server…" while it is open.
    SenderDialog* senderDialog() const { return dialog_ && dialog_->isVisible() ? dialog_.data() : nullptr; }
    bool sendingTestMail() const { return testMailRunning_; }
    // Sending to a list: its dialogs, the progress window, the question on closing and the offer at
    // start-up.
    CampaignPart& campaigns() { return *campaigns_; }
    // Runs the commands that start from a dialog's answer behind the application's error report; the
    // window sets it.
    std::function<void(const std::function<void()>&)> runCommand;

Q_SIGNALS:
    // The server's answer to the test mail has been shown.
    void testMailAnswered();

private:
    // Opens the sender dialog (not blocking); afterSaving runs once OK has saved a complete profile.
    void openSenderDialog(std::function<void()> afterSaving);
    // Without a complete sender, opens the sender dialog saying why, and runs the command again once
    // OK has saved one; true then.
    bool askForSender(void (SendPart::*again)(), const QString& why);

    QWidget* window_;
    QString workFolder_;
    Prompts& prompts_;
    Commit commit_;
    Input renderInput_;
    std::unique_ptr<PasswordStore> store_;
    // Passwords typed in "Absender und Server…" where no secret store keeps them, by account: they
    // hold for the program's run, so that the test mail a moment later does not ask again.
    QMap<QString, QString> typedPasswords_;
    SenderProfile profile_;
    QPointer<SenderDialog> dialog_;
    bool testMailRunning_ = false;
    std::unique_ptr<CampaignPart> campaigns_;
};

}  // namespace zw::send

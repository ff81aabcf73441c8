#include "send/ui/SendPart.h"

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QLineEdit>

#include "platform/Error.h"
#include "platform/Prompts.h"
#include "send/RenderedNewsletter.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/SenderDialog.h"
#include "send/ui/ServerAnswer.h"

namespace zw::send {

SendPart::SendPart(QWidget* window, QString workFolder, Prompts& prompts, Launcher& launcher, Commit commit,
                   Input renderInput, QObject* parent)
    : QObject(parent),
      window_(window),
      workFolder_(std::move(workFolder)),
      prompts_(prompts),
      commit_(std::move(commit)),
      renderInput_(std::move(renderInput)),
      store_(std::make_unique<KeychainPasswordStore>()),
      campaigns_(std::make_unique<CampaignPart>(window, workFolder_, prompts, launcher,
                                                [this](const SenderProfile& p) { return passwordFor(p); })) {
    try {
        profile_ = loadProfile(profilePath(workFolder_));
    } catch (const Error&) {
        // Said when the user opens "Absender und Server…"; until then the renderings name no sender.
    }
}

SendPart::~SendPart() = default;

void SendPart::AbsenderundServer1Click() {
    openSenderDialog({});
}

void SendPart::Testmailanmichsenden1Click() {
    if (testMailRunning_)
        return;
    if (askForSender(&SendPart::Testmailanmichsenden1Click,
                     QStringLiteral("Für die Testmail fehlt noch der Absender: Bitte tragen Sie Ihre Adresse "
                                    "und Ihren Postausgangsserver ein. Mit „OK“ geht die Testmail los.")))
        return;
    const SenderProfile profile = profile_;
    const Newsletter newsletter = renderNewsletter(QDir(workFolder_).filePath(QLatin1String(kTestMailFile)));
    const QByteArray message =
        OutgoingMessage(newsletter)
            .forRecipient(Recipient{profile.address, profile.name, 0}, profile, QDateTime::currentDateTime());
    const std::optional<QString> password = passwordFor(profile);
    if (!password)
        return;
    testMailRunning_ = true;
    askServer(
        this,
        [profile, password = *password, message] {
            SmtpTransport transport(profile, password);
            return transport.send(profile.address.toUtf8(), message);
        },
        [this, profile](const SendResult& result) {
            testMailRunning_ = false;
            if (result.outcome == Outcome::Sent)
                prompts_.information(testMailReport(profile, result));
            else
                prompts_.error(testMailReport(profile, result));
            Q_EMIT testMailAnswered();
        });
}

void SendPart::Newsletterversenden1Click() {
    if (campaigns_->refuseSecondCampaign())
        return;
    if (askForSender(
            &SendPart::Newsletterversenden1Click,
            QStringLiteral("Für den Versand fehlt noch der Absender: Bitte tragen Sie Ihre Adresse und "
                           "Ihren Postausgangsserver ein. Mit „OK“ geht es weiter zur Empfängerliste.")))
        return;
    campaigns_->openSendDialog(renderNewsletter(QDir(workFolder_).filePath(QLatin1String(kNewsletterFile))),
                               profile_);
}

void SendPart::Versandberichte1Click() {
    campaigns_->openReports();
}

bool SendPart::askForSender(void (SendPart::*again)(), const QString& why) {
    if (profile_.isComplete())
        return false;
    openSenderDialog([this, again] {
        const auto command = [this, again] { (this->*again)(); };
        if (runCommand)
            runCommand(command);
        else
            command();
    });
    if (senderDialog())
        dialog_->showResult(why);
    return true;
}

void SendPart::addSender(RenderInput& input) const {
    if (profile_.address.isEmpty())
        return;
    input.senderName = profile_.name;
    input.senderAddress = profile_.address;
}

Newsletter SendPart::renderNewsletter(const QString& target) {
    commit_();
    return send::renderNewsletter(renderInput_(), target, prompts_);
}

std::optional<QString> SendPart::passwordFor(const SenderProfile& profile) {
    if (profile.user.isEmpty())
        return QString();
    const QString account = passwordAccount(profile.user, profile.server);
    if (store_->available())
        if (std::optional<QString> stored = store_->read(account); stored && !stored->isEmpty())
            return stored;
    if (const auto typed = typedPasswords_.constFind(account); typed != typedPasswords_.cend())
        return *typed;
    return prompts_.askPassword(
        QStringLiteral("Das Passwort für %1 beim Server %2 (es wird nicht gespeichert):")
            .arg(profile.user, profile.server));
}

void SendPart::openSenderDialog(std::function<void()> afterSaving) {
    // A closed dialog lingers until it is deleted; a new one is made then.
    if (senderDialog()) {
        dialog_->raise();
        dialog_->activateWindow();
        return;
    }
    const QString path = profilePath(workFolder_);
    profile_ = loadProfile(path);
    auto* dialog = new SenderDialog(profile_, path, *store_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog_ = dialog;
    connect(dialog, &QDialog::accepted, this, [this, dialog, afterSaving = std::move(afterSaving)] {
        profile_ = dialog->savedProfile();
        if (!profile_.user.isEmpty() && !dialog->PasswordEdit->text().isEmpty() && !store_->available())
            typedPasswords_.insert(passwordAccount(profile_.user, profile_.server),
                                   dialog->PasswordEdit->text());
        if (afterSaving && profile_.isComplete())
            afterSaving();
    });
    dialog->open();
}

}  // namespace zw::send

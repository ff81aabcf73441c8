#include "send/ui/CampaignPart.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>

#include "platform/Error.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "send/BlockList.h"
#include "send/Campaign.h"
#include "send/FieldColumns.h"
#include "send/ui/CampaignsDialog.h"
#include "send/ui/ProgressWindow.h"
#include "send/ui/SendNewsletterDialog.h"

namespace zw::send {

namespace {

QString offerText(const CampaignStatus& c) {
    return QStringLiteral(
               "Der Versand „%1“ vom %2 wurde unterbrochen, bevor er fertig war: %3 von %4 Empfängern "
               "haben den Newsletter erhalten, %5 stehen noch aus.\n\nJetzt fortsetzen?\n\n"
               "„Nein“ hält ihn an; er bleibt unter „Versand → Versandberichte…“ und kann dort "
               "fortgesetzt werden. „Später“ fragt beim nächsten Start wieder.")
        .arg(c.subject, c.created.toString(QStringLiteral("dd.MM.yyyy HH:mm")))
        .arg(c.sent)
        .arg(c.total)
        .arg(c.pending);
}

}  // namespace

void markPaused(const QString& folder) {
    Campaign campaign = Campaign::open(folder);
    // A run told to stop before its first message only writes the pause record and the report.
    const std::atomic<bool> stopped{true};
    campaign.run([](const QByteArray&, const QByteArray&) { return SendResult{}; }, stopped);
}

CampaignPart::CampaignPart(QWidget* window, QString workFolder, Prompts& prompts, Launcher& launcher,
                           PasswordFor passwordFor, QObject* parent)
    : QObject(parent),
      window_(window),
      workFolder_(std::move(workFolder)),
      prompts_(prompts),
      launcher_(launcher),
      passwordFor_(std::move(passwordFor)) {}

CampaignPart::~CampaignPart() {
    // The progress window belongs to the main window; its sending must not outlive this part.
    if (progress_)
        progress_->pauseAndWait();
}

void CampaignPart::run(const std::function<void()>& command) {
    if (runCommand) {
        runCommand(command);
        return;
    }
    try {
        command();
    } catch (const Error& e) {
        prompts_.error(e.message());
    }
}

bool CampaignPart::refuseSecondCampaign() {
    if (!isSending())
        return false;
    progress_->show();
    progress_->raise();
    prompts_.information(
        QStringLiteral("Es wird gerade ein Newsletter versendet. Ein weiterer Versand kann erst "
                       "beginnen, wenn dieser fertig ist oder angehalten wurde."));
    return true;
}

void CampaignPart::openSendDialog(const Newsletter& newsletter, const SenderProfile& profile) {
    if (refuseSecondCampaign())
        return;
    if (sendDialog_)
        sendDialog_->close();
    auto* dialog = new SendNewsletterDialog(newsletter, profile, window_);
    dialog->setBlockList(BlockList::load(blockListPath(workFolder_)));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    sendDialog_ = dialog;
    connect(dialog->SendButton, &QPushButton::clicked, this, [this] { run([this] { sendFromDialog(); }); });
    // Connected after the dialog's own "Weiter": a list that was read is the one the field menu and the
    // preview offer from now on.
    connect(dialog->NextButton, &QPushButton::clicked, this, [this, dialog] {
        if (dialog->Pages->currentIndex() == 1)
            rememberLastList(workFolder_, QDir::fromNativeSeparators(dialog->ListEdit->text().trimmed()));
    });
    dialog->open();
}

void CampaignPart::sendFromDialog() {
    SendNewsletterDialog* dialog = sendDialog_;
    if (!dialog || dialog->recipients().recipients.isEmpty() || refuseSecondCampaign())
        return;
    // Asked before the campaign exists: a cancelled password leaves no campaign to resume.
    const std::optional<QString> password = passwordFor_(dialog->profile());
    if (!password || !sendDialog_)
        return;
    Campaign campaign =
        Campaign::create(workFolder_, dialog->newsletter(), dialog->recipients(), dialog->profile());
    dialog->accept();
    start(std::move(campaign), *password);
}

void CampaignPart::openReports() {
    if (reports_) {
        reports_->reload();
        reports_->raise();
        reports_->activateWindow();
        return;
    }
    auto* dialog = new CampaignsDialog(workFolder_, window_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    reports_ = dialog;
    connect(dialog, &CampaignsDialog::reportRequested, this,
            [this](const QString& path) { run([this, path] { openReport(path); }); });
    connect(dialog, &CampaignsDialog::resumeRequested, this,
            [this](const QString& folder) { run([this, folder] { resume(folder); }); });
    connect(dialog, &CampaignsDialog::retryFailedRequested, this,
            [this](const QString& folder) { run([this, folder] { resume(folder, true); }); });
    dialog->open();
}

void CampaignPart::resume(const QString& folder, bool failedAgain) {
    if (refuseSecondCampaign())
        return;
    Campaign campaign = Campaign::open(folder);
    const std::optional<QString> password = passwordFor_(campaign.profile());
    if (!password)
        return;
    // Only now that it will be sent: a cancelled password question leaves the campaign finished.
    if (failedAgain)
        campaign.retryTemporaryFailures();
    start(std::move(campaign), *password);
}

void CampaignPart::start(Campaign campaign, const QString& password) {
    if (progress_)
        progress_->deleteLater();
    // Not deleted on close: closing it while it sends only hides it.
    auto* window = new ProgressWindow(window_);
    progress_ = window;
    connect(window, &ProgressWindow::reportRequested, this,
            [this](const QString& path) { run([this, path] { openReport(path); }); });
    connect(window, &ProgressWindow::finished, this, [this] {
        if (reports_)
            reports_->reload();
    });
    window->show();
    window->start(std::move(campaign), password);
}

void CampaignPart::openReport(const QString& path) {
    launcher_.open(path, [this, path](bool started) {
        if (!started)
            prompts_.error(
                QStringLiteral("Der Bericht kann nicht geöffnet werden: Auf diesem Rechner ist kein "
                               "Programm für CSV-Dateien eingerichtet. Sie finden ihn hier: %1")
                    .arg(QDir::toNativeSeparators(path)));
    });
}

SendNewsletterDialog* CampaignPart::sendDialog() const {
    return sendDialog_;
}

ProgressWindow* CampaignPart::progressWindow() const {
    return progress_;
}

CampaignsDialog* CampaignPart::reportsDialog() const {
    return reports_;
}

bool CampaignPart::isSending() const {
    return progress_ && progress_->isSending();
}

bool CampaignPart::confirmClose() {
    if (!isSending())
        return true;
    const CampaignStatus& s = progress_->status();
    return prompts_.confirmCloseWhileSending(
        QStringLiteral(
            "Der Newsletter wird gerade versendet (%1 von %2). Wenn Sie Zettelwerk jetzt beenden, wird "
            "der Versand nach der Nachricht angehalten, die gerade unterwegs ist. Sie können ihn "
            "später unter „Versand → Versandberichte…“ fortsetzen.\n\nZettelwerk beenden?")
            .arg(s.sent + s.failed)
            .arg(s.total));
}

void CampaignPart::pauseForClose() {
    if (!isSending())
        return;
    // The window stays until the server has answered the message in flight.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    progress_->pauseAndWait();
    QApplication::restoreOverrideCursor();
}

void CampaignPart::offerInterrupted() {
    if (isSending())
        return;
    for (const CampaignStatus& c : listCampaigns(workFolder_)) {
        if (c.state != CampaignState::Interrupted)
            continue;
        switch (prompts_.askResumeCampaign(offerText(c))) {
            case ResumeAnswer::Yes:
                run([this, folder = c.folder] { resume(folder); });
                return;
            case ResumeAnswer::No:
                run([folder = c.folder] { markPaused(folder); });
                break;
            case ResumeAnswer::Later:
                return;
        }
    }
}

}  // namespace zw::send

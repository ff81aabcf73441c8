#include "inbox/ui/InboxPart.h"

#include <QCoreApplication>
#include <QThread>

#include <memory>

#include "inbox/ImapSession.h"
#include "inbox/ui/BlockListDialog.h"
#include "inbox/ui/InboxReviewDialog.h"
#include "inbox/ui/IncomingServerDialog.h"
#include "platform/Error.h"
#include "platform/Prompts.h"
#include "send/BlockList.h"
#include "send/PasswordStore.h"
#include "template/ui/WaitCursor.h"

namespace zw::inbox {

using namespace zw::send;

InboxPart::InboxPart(QWidget* window, QString workFolder, Prompts& prompts, PasswordFor passwordFor,
                     QObject* parent)
    : QObject(parent),
      window_(window),
      workFolder_(std::move(workFolder)),
      prompts_(prompts),
      passwordFor_(std::move(passwordFor)) {}

BlockListDialog* InboxPart::blockListDialog() const {
    return blockList_;
}

IncomingServerDialog* InboxPart::serverDialog() const {
    return server_;
}

InboxReviewDialog* InboxPart::reviewDialog() const {
    return review_;
}

void InboxPart::Sperrliste1Click() {
    if (blockList_)
        blockList_->close();
    blockList_ = new BlockListDialog(workFolder_, window_);
    blockList_->setAttribute(Qt::WA_DeleteOnClose);
    blockList_->open();
}

void InboxPart::Posteingangeinrichten1Click() {
    openServerDialog({});
}

void InboxPart::openServerDialog(std::function<void()> afterSaving) {
    if (server_)
        server_->close();
    // The secret store is asked only when an incoming login of its own gets a password.
    static send::KeychainPasswordStore keychain;
    server_ = new IncomingServerDialog(profilePath(workFolder_), window_, passwordFor_, &keychain);
    server_->setAttribute(Qt::WA_DeleteOnClose);
    if (afterSaving)
        connect(server_, &QDialog::accepted, this, std::move(afterSaving), Qt::QueuedConnection);
    server_->open();
}

void InboxPart::RuecklaeuferundAbmeldungenpruefen1Click() {
    if (checking_)
        return;
    const SenderProfile profile = loadProfile(profilePath(workFolder_));
    if (profile.imapServer.isEmpty()) {
        openServerDialog([this] { RuecklaeuferundAbmeldungenpruefen1Click(); });
        return;
    }
    // Its own login has its own password; otherwise the one for sending.
    SenderProfile login = profile;
    if (!profile.imapUser.isEmpty() && profile.imapUser != profile.user) {
        login.user = profile.imapUser;
        login.server = profile.imapServer;
    }
    const std::optional<QString> password = passwordFor_(login);
    if (!password)
        return;
    const ImapAccount account = imapAccount(profile, *password);
    const BlockList blocks = BlockList::load(blockListPath(workFolder_));
    checking_ = true;
    struct Outcome {
        CheckResult result;
        QString failure;
    };
    auto cursor = std::make_shared<WaitCursor>();
    auto outcome = std::make_shared<Outcome>();
    QThread* thread = QThread::create([account, blocks, work = workFolder_, outcome] {
        try {
            ImapSession session(account);
            outcome->result =
                checkInbox(work, QStringLiteral("%1@%2:%3").arg(account.user, account.host).arg(account.port),
                           session, blocks);
        } catch (const Error& e) {
            outcome->failure = e.message();
        } catch (const std::bad_alloc&) {
            outcome->failure =
                QStringLiteral("Für das Lesen des Posteingangs reicht der Arbeitsspeicher nicht aus.");
        }
    });
    // Delivered through the application object, so that the cursor comes back also when this part
    // went away meanwhile.
    connect(thread, &QThread::finished, QCoreApplication::instance(),
            [cursor, outcome, self = QPointer<InboxPart>(this)]() mutable {
                cursor.reset();
                if (!self)
                    return;
                self->checking_ = false;
                if (!outcome->failure.isEmpty()) {
                    self->prompts_.error(outcome->failure);
                } else {
                    self->review_ = new InboxReviewDialog(self->workFolder_, outcome->result, self->window_);
                    self->review_->setAttribute(Qt::WA_DeleteOnClose);
                    InboxReviewDialog* review = self->review_;
                    connect(review, &QDialog::accepted, self, [self, review] { self->prompts_.information(review->Summary); });
                    self->review_->open();
                }
                Q_EMIT self->checkFinished();
            });
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

}  // namespace zw::inbox

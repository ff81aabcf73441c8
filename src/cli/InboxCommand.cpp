#include "cli/InboxCommand.h"

#include <QDir>
#include <QLocale>

#include <cstdio>

#include "cli/RenderCommand.h"
#include "cli/SendCommand.h"
#include "inbox/ImapSession.h"
#include "inbox/InboxCheck.h"
#include "send/BlockList.h"

namespace zw::cli {

using namespace zw::send;
using namespace zw::inbox;

namespace {

void printOut(const QString& text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

}  // namespace

int changeBlockList(const QString& programFolder, const QString& address, bool block) {
    const QString path = blockListPath(programFolder);
    BlockList blocks = BlockList::load(path);
    if (block) {
        const QString problem = checkAddress(address.trimmed());
        if (!problem.isEmpty()) {
            printError(QStringLiteral("\"%1\" kann nicht gesperrt werden: %2").arg(address, problem));
            return kSendUsage;
        }
        if (!blocks.add(
                {address.trimmed(), QStringLiteral("von Hand"), QDateTime::currentDateTime(), {}, {}})) {
            printError(QStringLiteral("%1 steht schon auf der Sperrliste.").arg(address.trimmed()));
            return kSendAllSent;
        }
        blocks.save(path);
        printError(QStringLiteral("%1 steht jetzt auf der Sperrliste (%2).")
                       .arg(address.trimmed(), QDir::toNativeSeparators(path)));
        return kSendAllSent;
    }
    if (!blocks.remove(address)) {
        printError(QStringLiteral("%1 steht nicht auf der Sperrliste.").arg(address.trimmed()));
        return kSendSomeFailed;
    }
    blocks.save(path);
    printError(QStringLiteral("%1 ist von der Sperrliste genommen.").arg(address.trimmed()));
    return kSendAllSent;
}

int checkInboxCommand(const QString& programFolder, const SenderProfile& profile, bool apply,
                      const std::function<std::optional<QString>(const SenderProfile&)>& password) {
    if (profile.imapServer.isEmpty()) {
        printError(
            QStringLiteral("Der Posteingang ist noch nicht eingerichtet. In Zettelwerk: Versand → Absender "
                           "und Server…, \"Posteingang (IMAP)\"."));
        return kSendStopped;
    }
    const std::optional<QString> secret = password(profile);
    if (!secret) {
        printError(QStringLiteral("Kein Passwort für den Posteingang."));
        return kSendStopped;
    }
    const ImapAccount account = imapAccount(profile, *secret);
    ImapSession session(account);
    const CheckResult result = checkInbox(
        programFolder, QStringLiteral("%1@%2:%3").arg(account.user, account.host).arg(account.port), session,
        BlockList::load(blockListPath(programFolder)));
    if (result.startedOver)
        printError(
            QStringLiteral("Der Server hat den Posteingang neu nummeriert; er wurde von vorn gelesen."));
    qsizetype proposed = 0;
    const QLocale german(QLocale::German, QLocale::Germany);
    const auto when = [&](const ReviewItem& i) {
        return german.toString(i.date, QStringLiteral("dd.MM.yyyy HH:mm"));
    };
    // The three kinds apart: what may go on the block list, the sender's problems (once per provider and
    // campaign), and bounces that name nobody of their campaign.
    for (const ReviewItem& item : result.items) {
        if (!mayBlock(item))
            continue;
        proposed += item.ticked;
        printOut(QStringLiteral("%1 %2\t%3\t%4\t%5\t%6")
                     .arg(item.ticked ? u"[x]"_qs : u"[ ]"_qs, kindText(item.kind), item.address, when(item),
                          item.campaignSubject, item.evidence));
    }
    const QList<SenderProblem> problems = senderProblems(result.items);
    for (const SenderProblem& p : problems)
        printOut(QStringLiteral("[-] %1\t%2\t%3\t%4\t%5")
                     .arg(kindText(InboxFinding::SenderSide), p.title(),
                          german.toString(p.date, QStringLiteral("dd.MM.yyyy HH:mm")), p.campaignSubject,
                          p.evidence));
    qsizetype unassigned = 0;
    for (const ReviewItem& item : result.items) {
        if (item.assigned || item.kind == InboxFinding::SenderSide)
            continue;
        ++unassigned;
        printOut(QStringLiteral("[-] %1 (%2)\t%3\t%4\t%5\t%6")
                     .arg(QLatin1String(kUnassignedText), kindText(item.kind), item.address, when(item),
                          item.campaignSubject, item.evidence));
    }
    printError(
        QStringLiteral("%1 neue Nachrichten gelesen; %2 offene Funde, %3 für die Sperrliste vorgeschlagen.")
            .arg(result.newMessages)
            .arg(result.items.size())
            .arg(proposed));
    qsizetype senderSide = 0;
    for (const ReviewItem& item : result.items) senderSide += item.kind == InboxFinding::SenderSide;
    if (senderSide > 0 || unassigned > 0)
        printError(
            QStringLiteral("Sperren niemanden: %1 Rückläufer mit einem Problem beim Absender, %2 nicht "
                           "zuzuordnen.")
                .arg(senderSide)
                .arg(unassigned));
    if (!problems.isEmpty())
        printError(QString::fromUtf8(kSenderProblemAdvice));
    if (apply) {
        const qsizetype added = applyReview(programFolder, result.items);
        printError(QStringLiteral("%1 Adressen auf die Sperrliste gesetzt.").arg(added));
        if (senderSide > 0)
            printError(QStringLiteral("%1 Probleme beim Absender nicht übernommen: Sie sperren niemanden.")
                           .arg(senderSide));
    } else if (!result.items.isEmpty()) {
        printError(QStringLiteral("Übernehmen mit: zettelwerk-send --inbox --apply"));
    }
    return kSendAllSent;
}

}  // namespace zw::cli

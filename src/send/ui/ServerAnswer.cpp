#include "send/ui/ServerAnswer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QPointer>
#include <QThread>

#include <memory>

#include "platform/Error.h"
#include "send/Providers.h"
#include "template/ui/WaitCursor.h"

namespace zw::send {

namespace {

// The server's own words, when it said any and the message does not quote them already, as a line of
// their own.
QString serverWords(const SendResult& result) {
    const QString text = result.serverText.trimmed();
    if (text.isEmpty() || result.message.contains(text))
        return {};
    return QStringLiteral("\nAntwort des Servers: %1").arg(text);
}

QString failure(const SendResult& result, const QString& fallback) {
    return (result.message.isEmpty() ? fallback : result.message) + serverWords(result);
}

}  // namespace

void askServer(QObject* context, std::function<SendResult()> work,
               std::function<void(const SendResult&)> done) {
    auto cursor = std::make_shared<WaitCursor>();
    auto answer = std::make_shared<SendResult>();
    QThread* thread = QThread::create([work = std::move(work), answer] {
        try {
            *answer = work();
        } catch (const Error& e) {
            answer->outcome = Outcome::Fatal;
            answer->message = e.message();
        } catch (const std::exception& e) {
            answer->outcome = Outcome::Fatal;
            answer->message = QString::fromLocal8Bit(e.what());
        }
    });
    // Delivered through the application object, so that the cursor comes back also when the context
    // went away meanwhile.
    QObject::connect(thread, &QThread::finished, QCoreApplication::instance(),
                     [cursor, answer, guard = QPointer<QObject>(context), done = std::move(done)]() mutable {
                         cursor.reset();
                         if (guard)
                             done(*answer);
                     });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

QString verifyReport(const SenderProfile& profile, const SendResult& result) {
    if (result.outcome != Outcome::Sent)
        return failure(
            result, QStringLiteral("Die Verbindung zu %1 ist nicht zustande gekommen.").arg(profile.server));
    QStringList steps = {QStringLiteral("der Server %1 ist erreichbar").arg(profile.server)};
    if (profile.security != Security::None)
        steps.append(QStringLiteral("sein Zertifikat ist gültig"));
    if (!profile.user.isEmpty())
        steps.append(QStringLiteral("die Anmeldung als %1 wurde angenommen").arg(profile.user));
    const QString last = steps.takeLast();
    const QString all = steps.isEmpty() ? last : steps.join(u", "_qs) + u" und "_qs + last;
    const QString warning = senderDomainWarning(profile);
    return QStringLiteral("Verbindung in Ordnung: %1. Gesendet wurde nichts.").arg(all) +
           (warning.isEmpty() ? QString() : u"\n"_qs + warning);
}

QString testMailReport(const SenderProfile& profile, const SendResult& result) {
    // The transport's German message and the server's words, each on a line of its own.
    const QString details =
        (result.message.isEmpty() ? QString() : u"\n"_qs + result.message) + serverWords(result);
    switch (result.outcome) {
        case Outcome::Sent:
            return QStringLiteral(
                       "Der Server %1 hat die Testmail an %2 angenommen; sie sollte in wenigen "
                       "Minuten in Ihrem Posteingang sein.")
                       .arg(profile.server, profile.address) +
                   serverWords(result);
        case Outcome::Temporary:
        case Outcome::Throttled:
            return QStringLiteral(
                       "Der Server %1 nimmt die Testmail gerade nicht an; bitte versuchen Sie es "
                       "später noch einmal.")
                       .arg(profile.server) +
                   details;
        case Outcome::RecipientRefused:
            return QStringLiteral("Der Server %1 hat die Testmail an %2 abgelehnt.")
                       .arg(profile.server, profile.address) +
                   details;
        case Outcome::AnswerLost:
            // Sending it again at once might bring a second copy; the user sees the first one or not.
            return QStringLiteral("Der Server %1 hat auf die Testmail an %2 nicht geantwortet. Sie ist "
                                  "vielleicht trotzdem angekommen: Bitte sehen Sie in Ihrem Posteingang "
                                  "nach, bevor Sie es noch einmal versuchen.")
                       .arg(profile.server, profile.address) +
                   details;
        case Outcome::Fatal:
        case Outcome::Stopped:
            break;
    }
    return QStringLiteral("Die Testmail wurde nicht gesendet.") +
           (result.message.isEmpty()
                ? u"\nDie Verbindung zu %1 ist nicht zustande gekommen."_qs.arg(profile.server)
                : QString()) +
           details;
}

}  // namespace zw::send

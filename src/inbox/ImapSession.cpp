#include "inbox/ImapSession.h"

#include <curl/curl.h>
#include <poll.h>

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "inbox/ImapAnswer.h"
#include "platform/Error.h"
#include "send/CurlTls.h"

namespace zw::inbox {

namespace {

// UIDs per FETCH command: a line a server takes, and few round trips.
constexpr qsizetype kUidsPerFetch = 500;
// A response line (a SEARCH answer names every UID) and the literals of answers other than FETCH.
constexpr qsizetype kMaxText = 8 * 1024 * 1024;
constexpr qsizetype kMaxOtherLiteral = 64 * 1024;
// What a FETCH answer may hold around each message's bytes (the response's own words).
constexpr qint64 kFetchOverhead = 4096;
// LOGOUT is a courtesy: the session is over whatever the server answers.
constexpr std::chrono::milliseconds kLogoutWait{2000};

QString duration(std::chrono::milliseconds time) {
    const qint64 seconds = qMax<qint64>(1, (time.count() + 999) / 1000);
    if (seconds % 60 == 0)
        return seconds == 60 ? QStringLiteral("1 Minute") : QStringLiteral("%1 Minuten").arg(seconds / 60);
    return seconds == 1 ? QStringLiteral("1 Sekunde") : QStringLiteral("%1 Sekunden").arg(seconds);
}

QString megabytes(qint64 bytes) {
    return QStringLiteral("%1 MB").arg(qMax<qint64>(1, bytes / (1024 * 1024)));
}

// libcurl's failures of connecting and logging in, in German; its own text only as a detail.
QString connectFailure(CURLcode code, const char* detail, std::chrono::milliseconds waited) {
    const QString what = QString::fromUtf8(*detail ? detail : curl_easy_strerror(code));
    switch (code) {
        case CURLE_LOGIN_DENIED:
            return QStringLiteral(
                "Die Anmeldung wurde abgelehnt. Bitte prüfen Sie Benutzername und Passwort.");
        case CURLE_PEER_FAILED_VERIFICATION:
            return QStringLiteral("Sein Zertifikat ist nicht vertrauenswürdig (%1).").arg(what);
        case CURLE_USE_SSL_FAILED:
            return QStringLiteral("Er bietet keine verschlüsselte Verbindung (STARTTLS) an.");
        case CURLE_SSL_CONNECT_ERROR:
            return QStringLiteral("Die verschlüsselte Verbindung kam nicht zustande (%1).").arg(what);
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_CERTPROBLEM:
            return QStringLiteral("Die Zertifikatsdatei lässt sich nicht lesen (%1).").arg(what);
        case CURLE_COULDNT_RESOLVE_HOST:
            return QStringLiteral("Sein Name ist unbekannt.");
        case CURLE_COULDNT_CONNECT:
            return QStringLiteral("Er nimmt keine Verbindung an.");
        case CURLE_OPERATION_TIMEDOUT:
            return QStringLiteral(
                       "Er hat sich in %1 nicht gemeldet (keine Begrüßung oder keine Antwort bei "
                       "der Anmeldung).")
                .arg(duration(waited));
        case CURLE_GOT_NOTHING:
        case CURLE_RECV_ERROR:
        case CURLE_SEND_ERROR:
            return QStringLiteral("Er hat die Verbindung beendet, bevor die Anmeldung fertig war.");
        case CURLE_WEIRD_SERVER_REPLY:
            return QStringLiteral("Er antwortet nicht, wie ein IMAP-Server antwortet.");
        case CURLE_REMOTE_ACCESS_DENIED:
        case CURLE_AUTH_ERROR:
            return QStringLiteral("Er lässt die Anmeldung nicht zu (%1).").arg(what);
        case CURLE_OUT_OF_MEMORY:
            return QStringLiteral("Der Arbeitsspeicher reicht nicht aus.");
        default:
            return QStringLiteral("Die Verbindung ist gescheitert (libcurl-Fehler %1: %2).")
                .arg(int(code))
                .arg(what);
    }
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool isLoopback(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QHostAddress address(host);
    return !address.isNull() && address.isLoopback();
}

// An IMAP quoted string.
QByteArray quoted(const QString& text) {
    QByteArray out = text.toUtf8();
    out.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + out + '"';
}

// "1:5,7,9:10" from ascending UIDs.
QByteArray uidSet(const QList<quint32>& uids, qsizetype from, qsizetype to) {
    QByteArray set;
    for (qsizetype i = from; i < to;) {
        qsizetype j = i;
        while (j + 1 < to && uids[j + 1] == uids[j] + 1) ++j;
        if (!set.isEmpty())
            set += ',';
        set += QByteArray::number(uids[i]);
        if (j > i)
            set += ':' + QByteArray::number(uids[j]);
        i = j + 1;
    }
    return set;
}

}  // namespace

ImapAccount imapAccount(const send::SenderProfile& profile, const QString& password) {
    return {profile.imapServer,
            profile.imapPort,
            profile.imapSecurity,
            profile.imapUser.isEmpty() ? profile.user : profile.imapUser,
            password,
            profile.caFile};
}

struct ImapSession::Impl {
    CURL* curl = nullptr;
    curl_socket_t socket = CURL_SOCKET_BAD;
    QString serverName;
    ImapLimits limits;
    QDeadlineTimer deadline;
    QDeadlineTimer idle;
    ImapResponseReader reader{kMaxText};
    qint64 answerRead = 0;
    qint64 totalRead = 0;
    int tag = 0;
    bool over = false;  // a failure or the server's BYE ended the session
    QString stage;      // what the check was doing, for the message when it is stopped
    char errorText[CURL_ERROR_SIZE] = {};

    [[noreturn]] void fail(const QString& message) {
        over = true;
        throw Error(message);
    }

    void wait(short events) {
        const qint64 left = qMin(deadline.remainingTime(), idle.remainingTime());
        pollfd fd{int(socket), events, 0};
        if (left > 0 && ::poll(&fd, 1, int(qMin<qint64>(left, 60000))) > 0)
            return;
        if (deadline.hasExpired())
            fail(
                QStringLiteral("Die Prüfung des Posteingangs auf %1 hat länger gedauert als die vorgesehenen "
                               "%2 und wurde %3 abgebrochen.")
                    .arg(serverName, duration(limits.deadline), stage));
        if (idle.hasExpired())
            fail(QStringLiteral("Der Server %1 hat %2 lang keine vollständige Antwort geschickt; die "
                                "Verbindung wurde %3 beendet.")
                     .arg(serverName, duration(limits.idle), stage));
    }

    void sendAll(const QByteArray& bytes) {
        idle.setRemainingTime(limits.idle);
        size_t done = 0;
        while (done < size_t(bytes.size())) {
            size_t sent = 0;
            const CURLcode code =
                curl_easy_send(curl, bytes.constData() + done, size_t(bytes.size()) - done, &sent);
            if (code == CURLE_AGAIN) {
                wait(POLLOUT);
                continue;
            }
            if (code != CURLE_OK)
                fail(QStringLiteral("Die Verbindung zum Server %1 ist %2 abgebrochen.")
                         .arg(serverName, stage));
            done += sent;
        }
    }

    // Reads until one response is complete. Only a complete response counts as progress.
    ImapResponse response() {
        char chunk[65536];
        for (;;) {
            if (std::optional<ImapResponse> r = reader.take()) {
                idle.setRemainingTime(limits.idle);
                return std::move(*r);
            }
            if (reader.problem() != ImapResponseReader::Problem::None)
                fail(
                    QStringLiteral("Der Server %1 schickt eine Antwort, die kein Posteingang sein kann (%2); "
                                   "die Prüfung wurde %3 abgebrochen.")
                        .arg(serverName,
                             reader.problem() == ImapResponseReader::Problem::BadLiteral
                                 ? QStringLiteral("eine ungültige Längenangabe")
                                 : QStringLiteral("zu groß"),
                             stage));
            size_t got = 0;
            const CURLcode code = curl_easy_recv(curl, chunk, sizeof chunk, &got);
            if (code == CURLE_AGAIN) {
                wait(POLLIN);
                continue;
            }
            if (code != CURLE_OK || got == 0)
                fail(QStringLiteral("Die Verbindung zum Server %1 ist %2 abgebrochen.")
                         .arg(serverName, stage));
            answerRead += qint64(got);
            totalRead += qint64(got);
            if (answerRead > limits.answerBytes)
                fail(
                    QStringLiteral("Der Server %1 schickt auf einen Befehl mehr als %2; die Prüfung wurde %3 "
                                   "abgebrochen.")
                        .arg(serverName, megabytes(limits.answerBytes), stage));
            if (totalRead > limits.checkBytes)
                fail(QStringLiteral("Der Server %1 hat in dieser Prüfung mehr als %2 geschickt; sie wurde %3 "
                                    "abgebrochen.")
                         .arg(serverName, megabytes(limits.checkBytes), stage));
            reader.append(QByteArrayView(chunk, qsizetype(got)));
        }
    }

    // Sends a command and hands each untagged response to untagged; throws on NO or BAD, and on BYE.
    void command(const QByteArray& text, qsizetype literalLimit,
                 const std::function<void(const ImapResponse&)>& untagged) {
        if (over)
            fail(QStringLiteral("Die Verbindung zum Server %1 ist schon beendet.").arg(serverName));
        const QByteArray id = "Z" + QByteArray::number(++tag);
        answerRead = 0;
        reader.setLiteralLimit(literalLimit);
        sendAll(id + ' ' + text + "\r\n");
        for (;;) {
            const ImapResponse r = response();
            if (r.text.startsWith(id + ' ')) {
                const QByteArray status = r.text.mid(id.size() + 1);
                if (status.startsWith("OK"))
                    return;
                fail(QStringLiteral("Der Server %1 lehnt den Befehl ab: %2")
                         .arg(serverName, QString::fromUtf8(status.left(300))));
            }
            if (r.text.startsWith("* BYE") && text != "LOGOUT")
                fail(QStringLiteral("Der Server %1 hat die Verbindung %2 beendet: „%3“")
                         .arg(serverName, stage, QString::fromUtf8(r.text.mid(5).trimmed().left(300))));
            if (r.text.startsWith("* ") && untagged)
                untagged(r);
        }
    }

    [[noreturn]] void brokenAnswer(const ImapResponse& r) {
        fail(QStringLiteral("Der Server %1 nennt eine ungültige Nummer (keine 32-Bit-Zahl): „%2“")
                 .arg(serverName, QString::fromLatin1(r.text.left(120))));
    }
};

ImapSession::ImapSession(const ImapAccount& account, const ImapLimits& limits)
    : impl_(std::make_unique<Impl>()) {
    initCurlOnce();
    Impl& d = *impl_;
    d.limits = limits;
    d.deadline.setRemainingTime(limits.deadline);
    d.stage = QStringLiteral("beim Anmelden");
    d.serverName = QStringLiteral("%1:%2").arg(account.host).arg(account.port);
    static const QRegularExpression hostName(QStringLiteral("^(?:[A-Za-z0-9_.-]+|[0-9A-Fa-f:.]+)$"));
    if (!hostName.match(account.host).hasMatch())
        throw Error(QStringLiteral("\"%1\" ist kein Servername für den Posteingang.").arg(account.host));
    if (account.security == send::Security::None && !isLoopback(account.host))
        throw Error(QStringLiteral(
            "Ohne Verschlüsselung liest Zettelwerk nur einen Posteingang auf diesem Rechner."));
    d.curl = curl_easy_init();
    if (!d.curl)
        throw Error(QStringLiteral("libcurl lässt sich nicht starten."));
    // A session that does not come about is never destroyed: its connection is closed here.
    auto closeOnFailure = qScopeGuard([&d] {
        curl_easy_cleanup(d.curl);
        d.curl = nullptr;
    });

    const QString host = account.host.contains(u':') ? u'[' + account.host + u']' : account.host;
    const bool implicitTls = account.security == send::Security::ImplicitTls;
    const QByteArray url = QStringLiteral("%1://%2:%3/")
                               .arg(implicitTls ? u"imaps"_qs : u"imap"_qs, host)
                               .arg(account.port)
                               .toUtf8();
    CURL* c = d.curl;
    curl_easy_setopt(c, CURLOPT_URL, url.constData());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "imap,imaps");
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, d.errorText);
    // Connecting, the greeting, STARTTLS and the login: each answer within the idle time, all of them
    // within the session's deadline.
    const long idleMs = long(qMin<qint64>(limits.idle.count(), limits.deadline.count()));
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, idleMs);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, qMax(1L, (idleMs + 999) / 1000));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(limits.deadline.count()));
    if (const QString problem = send::requireCheckedTls(c, account.security, account.caFile);
        !problem.isEmpty())
        throw Error(problem);
    QByteArray user = account.user.toUtf8();
    QByteArray secret = account.password.toUtf8();
    curl_easy_setopt(c, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(c, CURLOPT_PASSWORD, secret.constData());
    // libcurl connects, secures and logs in; the session's commands are then ours, on its connection.
    curl_easy_setopt(c, CURLOPT_CONNECT_ONLY, 1L);
    const CURLcode code = curl_easy_perform(c);
    secret.fill('\0');
    if (code != CURLE_OK) {
        const auto waited = std::chrono::milliseconds(
            code == CURLE_OPERATION_TIMEDOUT && d.deadline.hasExpired() ? limits.deadline.count() : idleMs);
        throw Error(QStringLiteral("Der Posteingang auf %1 kann nicht gelesen werden: %2")
                        .arg(d.serverName, connectFailure(code, d.errorText, waited)));
    }
    curl_easy_getinfo(c, CURLINFO_ACTIVESOCKET, &d.socket);
    closeOnFailure.dismiss();
}

ImapSession::~ImapSession() {
    Impl& d = *impl_;
    if (d.curl) {
        if (!d.over) {
            // A short goodbye: the deadline and the idle time shrink to the LOGOUT's few seconds.
            if (d.deadline.remainingTime() > kLogoutWait.count())
                d.deadline.setRemainingTime(kLogoutWait);
            d.limits.idle = qMin(d.limits.idle, kLogoutWait);
            d.stage = QStringLiteral("beim Abmelden");
            try {
                d.command("LOGOUT", kMaxOtherLiteral, {});
            } catch (const Error&) {
                // The connection is closed below in any case.
            }
        }
        curl_easy_cleanup(d.curl);
    }
}

qint64 ImapSession::peakHeldBytes() const {
    return impl_->reader.peakHeld();
}

qint64 ImapSession::bytesRead() const {
    return impl_->totalRead;
}

ImapSession::Mailbox ImapSession::examine(const QString& mailbox) {
    Impl& d = *impl_;
    d.stage = QStringLiteral("beim Öffnen des Posteingangs");
    MailboxData data;
    d.command("EXAMINE " + quoted(mailbox), kMaxOtherLiteral, [&](const ImapResponse& r) {
        if (parseMailboxData(r, data) == Parsed::Broken)
            d.brokenAnswer(r);
    });
    return {data.uidValidity, data.uidNext, data.exists};
}

QList<quint32> ImapSession::searchUids(const QByteArray& criteria) {
    Impl& d = *impl_;
    d.stage = QStringLiteral("bei der Suche nach neuen Nachrichten");
    QList<quint32> uids;
    d.command("UID SEARCH " + criteria, kMaxOtherLiteral, [&](const ImapResponse& r) {
        if (parseSearch(r, uids) == Parsed::Broken)
            d.brokenAnswer(r);
    });
    std::sort(uids.begin(), uids.end());
    uids.erase(std::unique(uids.begin(), uids.end()), uids.end());
    return uids;
}

void ImapSession::fetch(const QList<quint32>& wanted, const QByteArray& section, qint64 maxBytes,
                        const std::function<void(quint32, const QByteArray&)>& got) {
    Impl& d = *impl_;
    QList<quint32> uids = wanted;
    std::sort(uids.begin(), uids.end());
    d.stage = QStringLiteral("beim Abholen der Nachrichten");
    maxBytes = qBound<qint64>(1, maxBytes, d.limits.answerBytes);
    // As many messages per command as one answer may hold.
    const qsizetype perCommand =
        qBound<qsizetype>(1, qsizetype(d.limits.answerBytes / (maxBytes + kFetchOverhead)), kUidsPerFetch);
    for (qsizetype from = 0; from < uids.size(); from += perCommand) {
        const qsizetype to = qMin(uids.size(), from + perCommand);
        const QList<quint32> asked = uids.mid(from, to - from);
        QSet<quint32> delivered;
        d.command("UID FETCH " + uidSet(uids, from, to) + " (UID BODY.PEEK[" + section + "]<0." +
                      QByteArray::number(maxBytes) + ">)",
                  qsizetype(maxBytes), [&](const ImapResponse& r) {
                      quint32 uid = 0;
                      QByteArray bytes;
                      const Parsed parsed = parseFetch(r, uid, bytes);
                      if (parsed == Parsed::Broken)
                          d.brokenAnswer(r);
                      // Only what was asked for, and each message once.
                      if (parsed == Parsed::Taken && std::binary_search(asked.begin(), asked.end(), uid) &&
                          !delivered.contains(uid)) {
                          delivered.insert(uid);
                          got(uid, bytes);
                      }
                  });
    }
}

}  // namespace zw::inbox

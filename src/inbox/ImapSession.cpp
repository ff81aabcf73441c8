#include "inbox/ImapSession.h"

#include <curl/curl.h>
#include <poll.h>

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QRegularExpression>
#include <QScopeGuard>

#include <cstring>
#include <mutex>

#include "platform/Error.h"
#include "send/CurlTls.h"

namespace zw::inbox {

namespace {

constexpr long kConnectTimeoutSeconds = 60;  // also the greeting, STARTTLS and the login
constexpr int kAnswerTimeoutMs = 120000;     // a slow server's answer to one command
// UIDs per FETCH command: a line a server takes, and few round trips.
constexpr qsizetype kUidsPerFetch = 500;
// A server's answer (a line, or a message as a literal) is never larger: the check fetches whole
// messages only in part (ImapSession::fetch's limit), so only a broken or hostile server sends more.
constexpr qsizetype kMaxAnswer = 64 * 1024 * 1024;

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

// One response of the server: its lines with every literal taken out into literals, each replaced by
// "{n}" in the text as the server wrote it.
struct Response {
    QByteArray text;
    QList<QByteArray> literals;
};

struct ImapSession::Impl {
    CURL* curl = nullptr;
    curl_socket_t socket = CURL_SOCKET_BAD;
    QString serverName;
    QByteArray buffer;  // received, not yet taken
    qsizetype start = 0;
    int tag = 0;
    char errorText[CURL_ERROR_SIZE] = {};

    void wait(short events, const QDeadlineTimer& deadline) {
        pollfd fd{int(socket), events, 0};
        const int left = int(qMax<qint64>(0, deadline.remainingTime()));
        if (::poll(&fd, 1, left) <= 0)
            throw Error(QStringLiteral("Der Server %1 antwortet nicht.").arg(serverName));
    }

    [[noreturn]] void tooLarge() const {
        throw Error(
            QStringLiteral("Der Server %1 schickt eine Antwort, die zu groß ist, um ein Posteingang zu sein.")
                .arg(serverName));
    }

    void sendAll(const QByteArray& bytes) {
        const QDeadlineTimer deadline(kAnswerTimeoutMs);
        size_t done = 0;
        while (done < size_t(bytes.size())) {
            size_t sent = 0;
            const CURLcode code =
                curl_easy_send(curl, bytes.constData() + done, size_t(bytes.size()) - done, &sent);
            if (code == CURLE_AGAIN) {
                wait(POLLOUT, deadline);
                continue;
            }
            if (code != CURLE_OK)
                throw Error(QStringLiteral("Die Verbindung zum Server %1 ist abgebrochen.").arg(serverName));
            done += sent;
        }
    }

    // Reads until at least `wanted` bytes after start are buffered.
    void fill(qsizetype wanted, const QDeadlineTimer& deadline) {
        char chunk[65536];
        while (buffer.size() - start < wanted) {
            size_t got = 0;
            const CURLcode code = curl_easy_recv(curl, chunk, sizeof chunk, &got);
            if (code == CURLE_AGAIN) {
                wait(POLLIN, deadline);
                continue;
            }
            if (code != CURLE_OK || got == 0)
                throw Error(QStringLiteral("Die Verbindung zum Server %1 ist abgebrochen.").arg(serverName));
            if (start > 0 && start > buffer.size() / 2) {
                buffer.remove(0, start);
                start = 0;
            }
            buffer.append(chunk, qsizetype(got));
        }
    }

    QByteArray line(const QDeadlineTimer& deadline) {
        qsizetype end;
        qsizetype searched = 0;  // from start: fill() may move what is buffered to the front
        while ((end = buffer.indexOf("\r\n", start + searched)) < 0) {
            searched = qMax<qsizetype>(0, buffer.size() - start - 1);
            if (searched > kMaxAnswer)
                tooLarge();
            fill(buffer.size() - start + 1, deadline);
        }
        QByteArray text = buffer.mid(start, end - start);
        start = end + 2;
        return text;
    }

    Response response(const QDeadlineTimer& deadline) {
        static const QRegularExpression literal(QStringLiteral("\\{(\\d+)\\}$"));
        Response r;
        for (;;) {
            const QByteArray text = line(deadline);
            r.text += text;
            const QRegularExpressionMatch m = literal.match(QString::fromLatin1(text.right(24)));
            if (!m.hasMatch())
                return r;
            const qsizetype size = m.captured(1).toLongLong();
            if (size > kMaxAnswer || r.text.size() > kMaxAnswer)
                tooLarge();
            fill(size, deadline);
            r.literals.append(buffer.mid(start, size));
            start += size;
        }
    }

    // Sends a command and hands each untagged response to untagged; throws on NO or BAD.
    void command(const QByteArray& text, const std::function<void(const Response&)>& untagged) {
        const QByteArray id = "Z" + QByteArray::number(++tag);
        sendAll(id + ' ' + text + "\r\n");
        for (;;) {
            const QDeadlineTimer deadline(kAnswerTimeoutMs);
            Response r = response(deadline);
            if (r.text.startsWith(id + ' ')) {
                const QByteArray status = r.text.mid(id.size() + 1);
                if (status.startsWith("OK"))
                    return;
                throw Error(QStringLiteral("Der Server %1 lehnt den Befehl ab: %2")
                                .arg(serverName, QString::fromUtf8(status)));
            }
            if (r.text.startsWith("* ") && untagged)
                untagged(r);
        }
    }
};

ImapSession::ImapSession(const ImapAccount& account) : impl_(std::make_unique<Impl>()) {
    initCurlOnce();
    Impl& d = *impl_;
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
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, kConnectTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, kConnectTimeoutSeconds);
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
        QString reason;
        switch (code) {
            case CURLE_LOGIN_DENIED:
                reason = QStringLiteral(
                    "Die Anmeldung wurde abgelehnt. Bitte prüfen Sie Benutzername und Passwort.");
                break;
            case CURLE_PEER_FAILED_VERIFICATION:
                reason = QStringLiteral("Sein Zertifikat ist nicht vertrauenswürdig (%1).")
                             .arg(QString::fromUtf8(d.errorText));
                break;
            case CURLE_USE_SSL_FAILED:
                reason = QStringLiteral("Er bietet keine verschlüsselte Verbindung (STARTTLS) an.");
                break;
            case CURLE_COULDNT_RESOLVE_HOST:
                reason = QStringLiteral("Sein Name ist unbekannt.");
                break;
            case CURLE_COULDNT_CONNECT:
                reason = QStringLiteral("Er nimmt keine Verbindung an.");
                break;
            default:
                reason = QString::fromUtf8(*d.errorText ? d.errorText : curl_easy_strerror(code));
        }
        throw Error(
            QStringLiteral("Der Posteingang auf %1 kann nicht gelesen werden: %2").arg(d.serverName, reason));
    }
    curl_easy_getinfo(c, CURLINFO_ACTIVESOCKET, &d.socket);
    closeOnFailure.dismiss();
}

ImapSession::~ImapSession() {
    if (impl_->curl) {
        try {
            impl_->command("LOGOUT", {});
        } catch (const Error&) {
            // The connection is closed below in any case.
        }
        curl_easy_cleanup(impl_->curl);
    }
}

ImapSession::Mailbox ImapSession::examine(const QString& mailbox) {
    static const QRegularExpression validity(QStringLiteral("\\[UIDVALIDITY (\\d+)\\]"));
    static const QRegularExpression next(QStringLiteral("\\[UIDNEXT (\\d+)\\]"));
    static const QRegularExpression exists(QStringLiteral("^\\* (\\d+) EXISTS"));
    Mailbox box;
    impl_->command("EXAMINE " + quoted(mailbox), [&](const Response& r) {
        const QString text = QString::fromLatin1(r.text);
        if (const auto m = validity.match(text); m.hasMatch())
            box.uidValidity = m.captured(1).toUInt();
        if (const auto m = next.match(text); m.hasMatch())
            box.uidNext = m.captured(1).toUInt();
        if (const auto m = exists.match(text); m.hasMatch())
            box.exists = m.captured(1).toUInt();
    });
    return box;
}

QList<quint32> ImapSession::searchUids(const QByteArray& criteria) {
    QList<quint32> uids;
    impl_->command("UID SEARCH " + criteria, [&](const Response& r) {
        if (!r.text.startsWith("* SEARCH"))
            return;
        for (const QByteArray& word : r.text.mid(8).split(' ')) {
            bool ok = false;
            const quint32 uid = word.toUInt(&ok);
            if (ok)
                uids.append(uid);
        }
    });
    std::sort(uids.begin(), uids.end());
    return uids;
}

void ImapSession::fetch(const QList<quint32>& uids, const QByteArray& section, qint64 maxBytes,
                        const std::function<void(quint32, const QByteArray&)>& got) {
    static const QRegularExpression uidField(QStringLiteral("[( ]UID (\\d+)"));
    for (qsizetype from = 0; from < uids.size(); from += kUidsPerFetch) {
        const qsizetype to = qMin(uids.size(), from + kUidsPerFetch);
        const QByteArray part = maxBytes > 0 ? "<0." + QByteArray::number(maxBytes) + '>' : QByteArray();
        impl_->command(
            "UID FETCH " + uidSet(uids, from, to) + " (UID BODY.PEEK[" + section + "]" + part + ")",
            [&](const Response& r) {
                const auto m = uidField.match(QString::fromLatin1(r.text));
                if (r.text.contains(" FETCH ") && m.hasMatch() && !r.literals.isEmpty())
                    got(m.captured(1).toUInt(), r.literals.first());
            });
    }
}

}  // namespace zw::inbox

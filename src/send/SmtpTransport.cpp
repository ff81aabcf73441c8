#include "send/SmtpTransport.h"

#include <curl/curl.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QFile>
#include <QRegularExpression>

#include <chrono>
#include <cstring>
#include <mutex>

#include "send/CurlTls.h"
#include "send/SenderLimits.h"

namespace zw::send {

namespace {

// A stop lets the exchange under way finish for this long (most answers come within it), then breaks
// it off: a message half sent is no message, one sent in full may have arrived.
constexpr qint64 kStopGraceMs = 2000;
// libcurl's own limits only catch what ours would miss.
constexpr long kBackstopSeconds = 60;

qint64 steadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// "5 Minuten", "1 Minute", "20 Sekunden": how long a server has been silent.
QString durationText(qint64 ms) {
    const qint64 seconds = ms / 1000;
    if (seconds >= 60 && seconds % 60 == 0)
        return seconds == 60 ? QStringLiteral("1 Minute") : QStringLiteral("%1 Minuten").arg(seconds / 60);
    return seconds == 1 ? QStringLiteral("1 Sekunde") : QStringLiteral("%1 Sekunden").arg(seconds);
}

// The SMTP step a server answer belongs to, followed from the commands libcurl sends.
enum class Step { Greeting, Ehlo, StartTls, Auth, Mail, Rcpt, Data, Body, Quit, Other };

// What the transport waits for, each with its time limit.
enum class Wait { None, Connect, Answer, Upload, DataEnd };

Step stepOfCommand(const QByteArray& verb) {
    if (verb == "EHLO" || verb == "HELO")
        return Step::Ehlo;
    if (verb == "STARTTLS")
        return Step::StartTls;
    if (verb == "AUTH")
        return Step::Auth;
    if (verb == "MAIL")
        return Step::Mail;
    if (verb == "RCPT")
        return Step::Rcpt;
    if (verb == "DATA")
        return Step::Data;
    if (verb == "QUIT")
        return Step::Quit;
    return Step::Other;
}

// Plain SMTP is for a mail server on this machine only: an IP loopback address or "localhost",
// which libcurl resolves to loopback without asking a name server.
bool isLoopback(const QString& host) {
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray name = host.toLatin1();
    in_addr v4{};
    if (inet_pton(AF_INET, name.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    return inet_pton(AF_INET6, name.constData(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

// A host name or an IP address, nothing a URL could read as more than a host.
bool isHostName(const QString& host) {
    static const QRegularExpression pattern(QStringLiteral("^(?:[A-Za-z0-9_.-]+|[0-9A-Fa-f:.]+)$"));
    return !host.isEmpty() && pattern.match(host).hasMatch();
}

void initCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

SendResult result(Outcome outcome, QString message, int code = 0, QString serverText = {}) {
    return SendResult{outcome, code, std::move(serverText), std::move(message)};
}

}  // namespace

struct SmtpTransport::Impl {
    SenderProfile profile;
    QString serverName;  // "host:port", as the messages name the server
    CURL* curl = nullptr;
    SendResult setupError;  // outcome Sent when the transport is usable
    char errorText[CURL_ERROR_SIZE] = {};

    // The transfer under way.
    QByteArray upload;
    qsizetype uploaded = 0;
    Step step = Step::Greeting;
    bool authContinues = false;  // the next line sent is the client's part of the login, not a command
    QByteArray replyLines;       // a multi-line answer being collected
    QByteArray lastReply;        // the last complete answer, lines joined by "\n"
    int lastCode = 0;
    Step lastStep = Step::Greeting;
    bool dropped = false;      // the connection broke before the message went out in full
    bool unreachable = false;  // no connection came about

    // The limits, and the wait under way: since when, and until when at the latest.
    qint64 connectLimitMs = 0, answerLimitMs = 0, dataEndLimitMs = 0;
    Wait waiting = Wait::None;
    qint64 deadline = 0;
    Wait timedOut = Wait::None;  // the wait whose limit ran out
    bool bodyDone = false;       // every byte of the message handed over: from now on it may arrive
    const std::atomic<bool>* stop = nullptr;
    qint64 stopSeen = 0;
    bool stopped = false;

    void expect(Wait what);

    SendResult configure(const QString& password);
    SendResult transfer(const QByteArray& recipient, bool isSend);
    SendResult classify(CURLcode code, const QByteArray& recipient);
    SendResult certificateFailure() const;

    void onLineSent(const char* data, size_t size);
    void onLineReceived(QByteArray line);

    static int debug(CURL*, curl_infotype type, char* data, size_t size, void* self);
    static size_t read(char* buffer, size_t size, size_t count, void* self);
    static size_t discard(char*, size_t size, size_t count, void*) { return size * count; }
    static int progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    // The connection's socket, as libcurl opens it: libcurl tells it only once a transfer is over.
    curl_socket_t socket = CURL_SOCKET_BAD;
    static int socketOpened(void* self, curl_socket_t socket, curlsocktype) {
        static_cast<Impl*>(self)->socket = socket;
        return CURL_SOCKOPT_OK;
    }
    // Forgotten when libcurl closes it, so that a number the system hands out again is never touched.
    static int socketClosed(void* self, curl_socket_t socket) {
        auto* impl = static_cast<Impl*>(self);
        if (impl->socket == socket)
            impl->socket = CURL_SOCKET_BAD;
        return ::close(socket);
    }
};

void SmtpTransport::Impl::expect(Wait what) {
    waiting = what;
    const qint64 limit = what == Wait::Connect   ? connectLimitMs
                         : what == Wait::DataEnd ? dataEndLimitMs
                         : what == Wait::None    ? 0
                                                 : answerLimitMs;
    deadline = limit > 0 ? steadyMs() + limit : 0;
}

// libcurl calls this at least once a second whatever it waits for: the one place that sees a silent
// server and a stop while a transfer hangs.
int SmtpTransport::Impl::progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    auto* impl = static_cast<Impl*>(self);
    // A transfer broken off here may leave libcurl believing in its connection, and a late answer
    // would then pass for the answer to the next command: the connection is ended for good.
    const auto breakOff = [impl] {
        if (impl->socket != CURL_SOCKET_BAD)
            ::shutdown(impl->socket, SHUT_RDWR);
        return 1;
    };
    const qint64 now = steadyMs();
    if (impl->waiting == Wait::Connect) {
        curl_off_t connected = 0;
        if (curl_easy_getinfo(impl->curl, CURLINFO_CONNECT_TIME_T, &connected) == CURLE_OK && connected > 0)
            impl->expect(Wait::Answer);  // now the greeting
    }
    if (impl->stop && impl->stop->load()) {
        if (impl->stopSeen == 0)
            impl->stopSeen = now;
        else if (now - impl->stopSeen >= kStopGraceMs) {
            impl->stopped = true;
            return breakOff();
        }
    }
    if (impl->deadline > 0 && now >= impl->deadline) {
        impl->timedOut = impl->waiting;
        return breakOff();
    }
    return 0;
}

void SmtpTransport::Impl::onLineSent(const char* data, size_t size) {
    // Only the command word is looked at: the rest of an AUTH line, and the lines that follow a
    // 334 challenge, carry the credentials and are never copied.
    if (authContinues) {
        authContinues = false;
        expect(Wait::Answer);
        return;
    }
    size_t n = 0;
    while (n < size && n < 8 && data[n] != ' ' && data[n] != '\r' && data[n] != '\n') ++n;
    step = stepOfCommand(QByteArray(data, qsizetype(n)).toUpper());
    expect(Wait::Answer);
}

void SmtpTransport::Impl::onLineReceived(QByteArray line) {
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    if (!replyLines.isEmpty())
        replyLines += '\n';
    replyLines += line;
    if (line.size() >= 4 && line[3] == '-')
        return;  // more lines of the same answer follow
    expect(Wait::None);
    if (step == Step::Quit) {
        // libcurl says goodbye after a refused command; the refusal is the answer that counts.
        replyLines.clear();
        return;
    }
    lastReply = replyLines;
    replyLines.clear();
    lastCode = lastReply.left(3).toInt();
    lastStep = step;
    if (step == Step::Auth && lastCode == 334)
        authContinues = true;
    if (step == Step::Data && lastCode == 354) {
        step = Step::Body;  // the next answer is to the message itself
        expect(Wait::Upload);
    }
}

int SmtpTransport::Impl::debug(CURL*, curl_infotype type, char* data, size_t size, void* self) {
    auto* impl = static_cast<Impl*>(self);
    if (type == CURLINFO_HEADER_OUT) {
        impl->onLineSent(data, size);
    } else if (type == CURLINFO_HEADER_IN) {
        for (const QByteArray& line : QByteArray(data, qsizetype(size)).split('\n'))
            if (!line.trimmed().isEmpty())
                impl->onLineReceived(line);
    }
    return 0;
}

size_t SmtpTransport::Impl::read(char* buffer, size_t size, size_t count, void* self) {
    auto* impl = static_cast<Impl*>(self);
    const size_t n = std::min(size * count, size_t(impl->upload.size() - impl->uploaded));
    std::memcpy(buffer, impl->upload.constData() + impl->uploaded, n);
    impl->uploaded += qsizetype(n);
    if (impl->uploaded == impl->upload.size()) {
        if (!impl->bodyDone)
            impl->expect(Wait::DataEnd);
        impl->bodyDone = true;
    } else {
        impl->expect(Wait::Upload);  // the server takes the message: its time starts again
    }
    return n;
}

SendResult SmtpTransport::Impl::configure(const QString& password) {
    if (!isHostName(profile.server) || profile.port <= 0 || profile.port > 65535)
        return result(Outcome::Fatal,
                      QStringLiteral("Der Mailserver \"%1\" mit Port %2 ist keine gültige Angabe.")
                          .arg(profile.server)
                          .arg(profile.port));
    if (profile.security == Security::None && !isLoopback(profile.server))
        return result(
            Outcome::Fatal,
            QStringLiteral("Ohne Verschlüsselung verbindet sich Zettelwerk nur mit einem Mailserver auf "
                           "diesem Rechner. Für den Server %1 wählen Sie bitte STARTTLS oder SSL/TLS.")
                .arg(serverName));

    if (const QString problem = requireCheckedTls(curl, profile.security, profile.caFile); !problem.isEmpty())
        return result(Outcome::Fatal, problem);

    const bool implicitTls = profile.security == Security::ImplicitTls;
    const QString host = profile.server.contains(u':') ? u'[' + profile.server + u']' : profile.server;
    const QByteArray url = (implicitTls ? QStringLiteral("smtps://%1:%2") : QStringLiteral("smtp://%1:%2"))
                               .arg(host)
                               .arg(profile.port)
                               .toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "smtp,smtps");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    connectLimitMs = qint64(profile.connectTimeout) * 1000;
    answerLimitMs = qint64(profile.answerTimeout) * 1000;
    dataEndLimitMs = qint64(profile.dataEndTimeout) * 1000;
    // libcurl counts the greeting, EHLO, STARTTLS and the login into its connect time.
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT,
                     long(profile.connectTimeout + 4 * profile.answerTimeout) + kBackstopSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT,
                     long(std::max(profile.answerTimeout, profile.dataEndTimeout)) + kBackstopSeconds);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Impl::progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_SOCKOPTFUNCTION, &Impl::socketOpened);
    curl_easy_setopt(curl, CURLOPT_SOCKOPTDATA, this);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &Impl::socketClosed);
    curl_easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    if (!profile.user.isEmpty()) {
        // The password goes into libcurl and nowhere else; our own copy is wiped.
        QByteArray user = profile.user.toUtf8();
        QByteArray secret = password.toUtf8();
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, secret.constData());
        secret.fill('\0');
    }
    curl_easy_setopt(curl, CURLOPT_SASL_IR, 1L);
    const QByteArray from = profile.address.toUtf8();
    curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.constData());
    // The server's answers are followed through the protocol lines libcurl reports.
    curl_easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &Impl::debug);
    curl_easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Impl::read);
    curl_easy_setopt(curl, CURLOPT_READDATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Impl::discard);
    return result(Outcome::Sent, {});
}

SmtpTransport::SmtpTransport(SenderProfile profile, QString password) : impl_(std::make_unique<Impl>()) {
    initCurlOnce();
    impl_->profile = std::move(profile);
    impl_->serverName = QStringLiteral("%1:%2").arg(impl_->profile.server).arg(impl_->profile.port);
    impl_->curl = curl_easy_init();
    impl_->setupError = impl_->curl
                            ? impl_->configure(password)
                            : result(Outcome::Fatal, QStringLiteral("libcurl lässt sich nicht starten."));
    password.fill(QChar(0));
}

SmtpTransport::~SmtpTransport() {
    if (impl_->curl) {
        // Says QUIT on an open connection; a server that no longer answers is not waited for long.
        curl_easy_setopt(impl_->curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, 5L);
        curl_easy_setopt(impl_->curl, CURLOPT_NOPROGRESS, 1L);
        curl_easy_cleanup(impl_->curl);
    }
}

void SmtpTransport::setStop(const std::atomic<bool>* stop) {
    impl_->stop = stop;
}

SendResult SmtpTransport::Impl::transfer(const QByteArray& recipient, bool isSend) {
    step = Step::Greeting;
    authContinues = false;
    replyLines.clear();
    lastReply.clear();
    lastCode = 0;
    lastStep = Step::Greeting;
    dropped = unreachable = false;
    timedOut = Wait::None;
    bodyDone = stopped = false;
    stopSeen = 0;
    errorText[0] = '\0';
    expect(Wait::Connect);
    curl_slist* recipients = nullptr;
    if (isSend) {
        recipients = curl_slist_append(nullptr, recipient.constData());
        uploaded = 0;
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, curl_off_t(upload.size()));
    } else {
        // A NOOP after the login: it proves the connection and the login, sends nothing and leaves
        // the connection open for the messages that follow.
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "NOOP");
        curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    }
    const CURLcode code = curl_easy_perform(curl);
    expect(Wait::None);
    if (timedOut != Wait::None || stopped) {
        // libcurl keeps the connection it was told to break off, and would greet the server on it with
        // the next message: a handle of the same settings starts afresh, the old one lets go of it.
        if (CURL* fresh = curl_easy_duphandle(curl)) {
            curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, 1L);
            curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 1L);
            curl_easy_cleanup(curl);
            curl = fresh;
        }
    }
    curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, nullptr);
    curl_slist_free_all(recipients);
    return classify(code, recipient);
}

SendResult SmtpTransport::Impl::certificateFailure() const {
    return result(Outcome::Fatal,
                  QStringLiteral("Das Zertifikat des Servers %1 ist nicht vertrauenswürdig. %2 "
                                 "Es wurde nichts gesendet.")
                      .arg(serverName, certificateReason(curl, errorText, profile.server)));
}

SendResult SmtpTransport::Impl::classify(CURLcode code, const QByteArray& recipient) {
    const QString to = QString::fromUtf8(recipient);
    const QString text = QString::fromUtf8(lastReply);
    if (code == CURLE_OK)
        return result(Outcome::Sent, {}, lastCode, text);

    // The message went out in full and no answer to it came: the server may have taken it. Its last
    // answer ("354 ...") says nothing about the message.
    if (bodyDone && step == Step::Body && lastStep == Step::Data) {
        QString why =
            stopped ? QStringLiteral("Der Versand wurde angehalten, bevor der Server %1 die Nachricht an %2 "
                                     "bestätigt hat.")
                          .arg(serverName, to)
            : timedOut != Wait::None
                ? QStringLiteral("Der Server %1 antwortet seit %2 nicht auf das Ende der Nachricht an %3.")
                      .arg(serverName, durationText(dataEndLimitMs), to)
                : QStringLiteral("Die Verbindung zum Server %1 ist nach dem Senden der Nachricht an %2 "
                                 "abgebrochen.")
                      .arg(serverName, to);
        return result(Outcome::AnswerLost,
                      why + QStringLiteral(" Sie ist vielleicht angekommen (Antwort nach dem Senden verloren)."));
    }
    if (stopped)
        return result(Outcome::Stopped, QStringLiteral("Der Versand wurde angehalten."));
    if (timedOut == Wait::Connect) {
        unreachable = true;
        return result(Outcome::Fatal,
                      QStringLiteral("Der Server %1 ist nicht erreichbar: Er antwortet nicht.").arg(serverName));
    }
    if (timedOut != Wait::None) {
        QString message = QStringLiteral("Der Server %1 antwortet seit %2 nicht.")
                              .arg(serverName, durationText(answerLimitMs));
        if (!to.isEmpty())
            message += QStringLiteral(" Die Nachricht an %1 wird später noch einmal gesendet.").arg(to);
        return result(Outcome::Temporary, message);
    }

    // The provider's limits on the sender come first: they are nobody's fault and no recipient's.
    if (lastCode >= 400 && lastCode < 600) {
        const bool beforeRecipient = lastStep == Step::Greeting || lastStep == Step::Ehlo ||
                                     lastStep == Step::StartTls || lastStep == Step::Auth ||
                                     lastStep == Step::Mail;
        const Throttle throttle = senderThrottle(beforeRecipient, lastCode, text);
        if (throttle != Throttle::None) {
            // The server closes the connection after a 421; a fresh one may be welcome (an idle
            // connection's "421 timeout"), so the transport tries once more before it counts.
            dropped = lastCode == 421;
            SendResult r =
                result(Outcome::Throttled,
                       QStringLiteral("Der Server %1 nimmt gerade keine weiteren Nachrichten an: %2")
                           .arg(serverName, text),
                       lastCode, text);
            r.dailyQuota = throttle == Throttle::DailyQuota;
            return r;
        }
    }

    // An answer from the server decides by its code and by what it answered.
    if (lastCode >= 400 && lastCode < 600 && lastCode != 421) {
        const bool permanent = lastCode >= 500;
        if (lastStep == Step::Auth && permanent)
            return result(
                Outcome::Fatal,
                QStringLiteral("Die Anmeldung am Server %1 wurde abgelehnt: %2").arg(serverName, text),
                lastCode, text);
        if (!permanent)
            return result(
                Outcome::Temporary,
                to.isEmpty()
                    ? QStringLiteral("Der Server %1 ist vorübergehend nicht bereit: %2").arg(serverName, text)
                    : QStringLiteral("Der Server %1 nimmt die Nachricht an %2 vorläufig "
                                     "nicht an: %3")
                          .arg(serverName, to, text),
                lastCode, text);
        switch (lastStep) {
            case Step::Mail:
                // libcurl announces the message's size with MAIL FROM; a server that takes no message
                // this large says so there, for every recipient alike.
                if (lastCode == 552)
                    return result(Outcome::Fatal,
                                  QStringLiteral("Der Server %1 nimmt die Nachricht nicht an, sie ist ihm zu "
                                                 "groß: %2")
                                      .arg(serverName, text),
                                  lastCode, text);
                return result(Outcome::Fatal,
                              QStringLiteral("Der Server %1 lehnt den Absender %2 ab: %3")
                                  .arg(serverName, profile.address, text),
                              lastCode, text);
            case Step::Rcpt:
            case Step::Data:
            case Step::Body:
                return result(Outcome::RecipientRefused,
                              QStringLiteral("Der Server %1 lehnt die Nachricht an %2 ab: %3")
                                  .arg(serverName, to, text),
                              lastCode, text);
            default:
                return result(
                    Outcome::Fatal,
                    QStringLiteral("Der Server %1 lehnt die Verbindung ab: %2").arg(serverName, text),
                    lastCode, text);
        }
    }

    switch (code) {
        case CURLE_LOGIN_DENIED:
            return result(Outcome::Fatal,
                          QStringLiteral(
                              "Die Anmeldung am Server %1 wurde abgelehnt. Bitte prüfen Sie Benutzername und "
                              "Passwort.")
                              .arg(serverName),
                          lastCode, text);
        case CURLE_PEER_FAILED_VERIFICATION:
            return certificateFailure();
        case CURLE_USE_SSL_FAILED:
            return result(
                Outcome::Fatal,
                QStringLiteral("Der Server %1 bietet keine verschlüsselte Verbindung (STARTTLS) an. Es wurde "
                               "nichts gesendet.")
                    .arg(serverName),
                lastCode);  // its answer to EHLO would only list what it offers: the reason says more
        case CURLE_SSL_CONNECT_ERROR:
            return result(Outcome::Fatal,
                          QStringLiteral(
                              "Die verschlüsselte Verbindung zum Server %1 kam nicht zustande (%2). Es wurde "
                              "nichts gesendet.")
                              .arg(serverName, QString::fromUtf8(errorText)),
                          lastCode, text);
        case CURLE_COULDNT_RESOLVE_HOST:
            unreachable = true;
            return result(Outcome::Fatal,
                          QStringLiteral("Der Server %1 ist nicht erreichbar: Sein Name ist unbekannt.")
                              .arg(serverName));
        case CURLE_COULDNT_CONNECT:
            unreachable = true;
            return result(Outcome::Fatal,
                          QStringLiteral("Der Server %1 ist nicht erreichbar: Er nimmt keine Verbindung an.")
                              .arg(serverName));
        case CURLE_OPERATION_TIMEDOUT:
            if (lastCode == 0) {
                unreachable = true;
                return result(Outcome::Fatal,
                              QStringLiteral("Der Server %1 ist nicht erreichbar: Er antwortet nicht.")
                                  .arg(serverName));
            }
            break;
        default:
            break;
    }
    if (lastCode == 421 || code == CURLE_SEND_ERROR || code == CURLE_RECV_ERROR ||
        code == CURLE_GOT_NOTHING || code == CURLE_OPERATION_TIMEDOUT || code == CURLE_WEIRD_SERVER_REPLY ||
        code == CURLE_PARTIAL_FILE) {
        dropped = true;
        QString message = QStringLiteral("Die Verbindung zum Server %1 ist abgebrochen.").arg(serverName);
        if (!to.isEmpty())
            message += QStringLiteral(" Die Nachricht an %1 wird später noch einmal gesendet.").arg(to);
        // An answer to an earlier command is no answer to this message.
        return lastCode == 421 ? result(Outcome::Temporary, message, lastCode, text)
                               : result(Outcome::Temporary, message);
    }
    return result(
        Outcome::Fatal,
        QStringLiteral("Beim Senden über den Server %1 ist ein Fehler aufgetreten: %2")
            .arg(serverName, QString::fromUtf8(errorText[0] ? errorText : curl_easy_strerror(code))),
        lastCode, text);
}

SendResult SmtpTransport::verify() {
    if (impl_->setupError.outcome != Outcome::Sent)
        return impl_->setupError;
    SendResult r = impl_->transfer({}, false);
    if (r.outcome == Outcome::Sent)
        r.message =
            impl_->profile.user.isEmpty()
                ? QStringLiteral("Die Verbindung zum Server %1 ist in Ordnung.").arg(impl_->serverName)
                : QStringLiteral("Die Verbindung zum Server %1 und die Anmeldung sind in Ordnung.")
                      .arg(impl_->serverName);
    return r;
}

SendResult SmtpTransport::send(const QByteArray& recipient, const QByteArray& message) {
    if (impl_->setupError.outcome != Outcome::Sent)
        return impl_->setupError;
    if (recipient.isEmpty() || recipient.contains('\r') || recipient.contains('\n') ||
        recipient.contains('<') || recipient.contains('>'))
        return result(Outcome::RecipientRefused,
                      QStringLiteral("Die Adresse \"%1\" ist keine gültige E-Mail-Adresse.")
                          .arg(QString::fromUtf8(recipient)));
    impl_->upload = message;
    SendResult r = impl_->transfer(recipient, true);
    // A connection that broke before the message went out in full (an idle connection the server had
    // closed, a drop in the middle) is opened again once, and the message sent again: nothing of it
    // can have arrived.
    if (impl_->dropped && !(impl_->stop && impl_->stop->load())) {
        SendResult again = impl_->transfer(recipient, true);
        // Where the server cannot be reached again, the recipient waits for a later try.
        if (!impl_->unreachable)
            r = std::move(again);
    }
    impl_->upload.clear();
    return r;
}

}  // namespace zw::send

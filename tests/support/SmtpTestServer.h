#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include "send/SenderProfile.h"

namespace zw::test {

// The certificate the test server shows. All come from certificates made with openssl once per test
// program: the test CA (caFile()) signs Valid, OtherHost and Expired; UnknownAuthority is signed by a
// second CA that nobody trusts.
enum class TestCertificate {
    Valid,             // for localhost, 127.0.0.1 and ::1
    OtherHost,         // for mail.example.org only
    Expired,           // for localhost, expired yesterday
    UnknownAuthority,  // for localhost, from an unknown CA
};

enum class TestSecurity { StartTls, ImplicitTls, None };

// Stops a test server's process: asked first, killed when it does not end in five seconds.
void stopServerProcess(QProcess& process);

// What the server does wrong. Counters start from zero each time the faults are set.
struct SmtpFaults {
    QList<int> temporaryRcpt{};   // 451 to the k-th RCPT command (1-based)
    QList<QByteArray> refused{};  // 550 to these recipients
    QList<int> dropInData{};      // the connection dropped in the middle of the n-th DATA (1-based)
    QList<int> closeAfter{};      // the connection closed after the n-th accepted message (1-based)
    int delayMs = 0;              // every answer this late
    bool refuseLogin = false;     // 535 to every login
    bool refuseSender = false;    // 553 to every MAIL FROM
    bool greet421 = false;        // 421 to every new connection, which is then closed
    // A provider's sending limit: limitCount messages per window of limitSeconds (opened by the first
    // message taken), then limitAnswer to every MAIL FROM until the window ends. 0: none.
    int limitCount = 0;
    double limitSeconds = 0;
    QByteArray limitAnswer = "450 4.7.0 Mail send limit exceeded";
    QList<int> dropAfterData{};        // the n-th message taken, then the connection dropped unanswered
    bool dropAfterDataAlways = false;  // the same for every message
    bool stallMail = false;            // MAIL FROM never answered
    QByteArray dripReply{};            // "MAIL" or "DATA": that answer sent one byte every dripMs
    int dripMs = 0;

    // Only a sending limit, answered as given.
    static SmtpFaults sendingLimit(int count, double seconds,
                                   const QByteArray& answer = "450 4.7.0 Mail send limit exceeded") {
        SmtpFaults faults;
        faults.limitCount = count;
        faults.limitSeconds = seconds;
        faults.limitAnswer = answer;
        return faults;
    }
};

// One message the server accepted.
struct ReceivedMessage {
    int number = 0;      // 1, 2, ... in the order accepted
    int connection = 0;  // 1, 2, ... the connection it came on
    QByteArray sender;   // envelope sender
    QList<QByteArray> recipients;
    QByteArray content;          // as received: CRLF lines, dot-stuffing undone
    qint64 receivedMs = 0;       // when the server took it, milliseconds since the epoch (fractions dropped)
    double receivedSeconds = 0;  // the same in seconds, as precise as the server knew it
};

// A real SMTP server (Debian's aiosmtpd) on a loopback port, started in the constructor and stopped
// in the destructor. Every accepted message is kept on disk; faults can be changed while it runs.
class SmtpTestServer {
public:
    static constexpr char kUser[] = "versand@example.org";
    static constexpr char kPassword[] = "Zettel-Test-4711";

    struct Options {
        TestSecurity security = TestSecurity::StartTls;
        TestCertificate certificate = TestCertificate::Valid;
        bool login = true;  // require the test user's login
    };

    SmtpTestServer();
    // Throws std::runtime_error when the server does not start.
    explicit SmtpTestServer(const Options& options);
    ~SmtpTestServer();
    SmtpTestServer(const SmtpTestServer&) = delete;
    SmtpTestServer& operator=(const SmtpTestServer&) = delete;

    quint16 port() const { return port_; }
    // The server's process, for a benchmark that counts its processor time.
    qint64 processId() const { return process_.processId(); }
    // The test CA's certificate (PEM), the profile's CA file.
    static QString caFile();
    // A server certificate of the test CA and its key, for the other test servers (IMAP).
    static QString certificateFile(TestCertificate which);
    static QString keyFile();

    // A complete profile sending to this server as the test user (without login when the server
    // wants none): "localhost", its port and security, the test CA.
    send::SenderProfile profile() const {
        send::SenderProfile p;
        p.name = QStringLiteral("Turnverein Müggelsee");
        p.address = QStringLiteral("versand@example.org");
        p.server = QStringLiteral("localhost");
        p.port = port_;
        p.security = options_.security == TestSecurity::StartTls      ? send::Security::StartTls
                     : options_.security == TestSecurity::ImplicitTls ? send::Security::ImplicitTls
                                                                      : send::Security::None;
        if (options_.login)
            p.user = QString::fromLatin1(kUser);
        p.caFile = caFile();
        return p;
    }

    // Takes effect at the server's next command.
    void setFaults(const SmtpFaults& faults);

    // Every accepted message, in order.
    QList<ReceivedMessage> received() const;
    // How many messages each recipient got.
    QMap<QByteArray, int> countsByRecipient() const;
    // Connections opened so far, and logins accepted and refused.
    int connections() const;
    int logins() const;
    int refusedLogins() const;
    // The moments (seconds since the epoch) at which MAIL FROM was refused by the sending limit.
    QList<double> limitedMoments() const;
    // Connections greeted with 421.
    int greeted421() const;

    // Stops the server (the destructor does so as well); what it received stays readable.
    void stop();

private:
    QList<ReceivedMessage> readIndex(bool withContent) const;
    QList<QByteArray> events(const QByteArray& kind) const;

    Options options_;
    QTemporaryDir folder_;
    QProcess process_;
    quint16 port_ = 0;
};

}  // namespace zw::test

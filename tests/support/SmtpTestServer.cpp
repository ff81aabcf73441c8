#include "support/SmtpTestServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcessEnvironment>

#include <cstdio>
#include <stdexcept>

namespace zw::test {

namespace {

constexpr char kPython[] = "/usr/bin/python3";  // Debian's, which has aiosmtpd
constexpr int kStartMilliseconds = 15000;

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

void openssl(const QString& folder, const QStringList& arguments) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("openssl"), arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error("openssl " + arguments.join(u' ').toStdString() +
                                 " failed: " + process.readAll().toStdString());
}

// The test CAs and the server certificates, made once per test program and removed at its end.
// Elliptic-curve keys: each takes milliseconds where RSA takes a tenth of a second.
struct Certificates {
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.path() + u'/' + QLatin1String(name); }

    Certificates() {
        if (!dir.isValid())
            throw std::runtime_error("no temporary folder for the test certificates");
        const QString folder = dir.path();
        const QStringList curve = {QStringLiteral("-pkeyopt"),
                                   QStringLiteral("ec_paramgen_curve:prime256v1")};
        for (const char* ca : {"ca", "unknown-ca"}) {
            openssl(folder, QStringList{"req", "-x509", "-newkey", "ec"} + curve +
                                QStringList{"-nodes", "-keyout", QString::fromLatin1(ca) + ".key", "-out",
                                            QString::fromLatin1(ca) + ".pem", "-days", "3650", "-subj",
                                            "/O=Zettelwerk Tests/CN=" + QString::fromLatin1(ca), "-addext",
                                            "basicConstraints=critical,CA:TRUE", "-addext",
                                            "keyUsage=critical,keyCertSign,cRLSign"});
        }
        openssl(folder,
                QStringList{"genpkey", "-algorithm", "EC"} + curve + QStringList{"-out", "server.key"});
        openssl(folder,
                {"req", "-new", "-key", "server.key", "-subj", "/CN=localhost", "-out", "server.csr"});
        writeFile(path("localhost.ext"), "subjectAltName=DNS:localhost,IP:127.0.0.1,IP:::1\n");
        writeFile(path("other.ext"), "subjectAltName=DNS:mail.example.org\n");
        struct Signed {
            const char* name;
            const char* ca;
            const char* days;  // -1: expired yesterday
            const char* extensions;
        };
        int serial = 1;
        for (const Signed& s : {Signed{"valid.pem", "ca", "365", "localhost.ext"},
                                Signed{"other-host.pem", "ca", "365", "other.ext"},
                                Signed{"expired.pem", "ca", "-1", "localhost.ext"},
                                Signed{"unknown-authority.pem", "unknown-ca", "365", "localhost.ext"}}) {
            const QString ca = QString::fromLatin1(s.ca);
            openssl(folder,
                    {"x509", "-req", "-in", "server.csr", "-CA", ca + ".pem", "-CAkey", ca + ".key",
                     "-set_serial", QString::number(++serial), "-days", QString::fromLatin1(s.days),
                     "-extfile", QString::fromLatin1(s.extensions), "-out", QString::fromLatin1(s.name)});
        }
    }

    QString certificate(TestCertificate which) const {
        switch (which) {
            case TestCertificate::Valid:
                return path("valid.pem");
            case TestCertificate::OtherHost:
                return path("other-host.pem");
            case TestCertificate::Expired:
                return path("expired.pem");
            case TestCertificate::UnknownAuthority:
                return path("unknown-authority.pem");
        }
        return {};
    }
};

const Certificates& certificates() {
    static const Certificates instance;
    return instance;
}

QJsonArray numbers(const QList<int>& values) {
    QJsonArray array;
    for (int v : values) array.append(v);
    return array;
}

}  // namespace

SmtpTestServer::SmtpTestServer() : SmtpTestServer(Options{}) {}

SmtpTestServer::SmtpTestServer(const Options& options) : options_(options) {
    if (!folder_.isValid())
        throw std::runtime_error("no temporary folder for the test server");
    QStringList arguments = {QStringLiteral(ZW_SOURCE_DIR "/tests/support/smtp/smtp_server.py"),
                             QStringLiteral("--folder"), folder_.path()};
    const char* const tls[] = {"starttls", "implicit", "none"};  // in the order of TestSecurity
    arguments << QStringLiteral("--tls") << QString::fromLatin1(tls[int(options.security)]);
    if (options.security != TestSecurity::None)
        arguments << "--cert" << certificates().certificate(options.certificate) << "--key"
                  << certificates().path("server.key");
    if (options.login)
        arguments << "--user" << QString::fromLatin1(kUser);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZW_SMTP_TEST_PASSWORD"), QString::fromLatin1(kPassword));
    process_.setProcessEnvironment(environment);
    // The server says nothing unless something goes wrong in it; then the test output shows why.
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QString::fromLatin1(kPython), arguments);

    const QDeadlineTimer deadline(kStartMilliseconds);
    QByteArray out;
    while (!out.contains('\n') && process_.waitForReadyRead(int(deadline.remainingTime())))
        out += process_.readAllStandardOutput();
    if (!out.startsWith("PORT ")) {
        process_.kill();
        process_.waitForFinished();
        throw std::runtime_error("the test SMTP server did not start (its output is above): " +
                                 process_.errorString().toStdString());
    }
    port_ = quint16(out.mid(5).trimmed().toUInt());
}

SmtpTestServer::~SmtpTestServer() {
    stop();
}

void stopServerProcess(QProcess& process) {
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished();
    }
}

void SmtpTestServer::stop() {
    stopServerProcess(process_);
}

QString SmtpTestServer::caFile() {
    return certificates().path("ca.pem");
}

QString SmtpTestServer::certificateFile(TestCertificate which) {
    return certificates().certificate(which);
}

QString SmtpTestServer::keyFile() {
    return certificates().path("server.key");
}

void SmtpTestServer::setFaults(const SmtpFaults& faults) {
    QJsonArray refused;
    for (const QByteArray& address : faults.refused) refused.append(QString::fromUtf8(address));
    QJsonObject control{{"temporary_rcpt", numbers(faults.temporaryRcpt)},
                        {"refused", refused},
                        {"drop_in_data", numbers(faults.dropInData)},
                        {"close_after", numbers(faults.closeAfter)},
                        {"delay_ms", faults.delayMs},
                        {"refuse_login", faults.refuseLogin},
                        {"refuse_sender", faults.refuseSender},
                        {"greet_421", faults.greet421},
                        {"drop_after_data", numbers(faults.dropAfterData)},
                        {"drop_after_data_always", faults.dropAfterDataAlways},
                        {"stall_mail", faults.stallMail}};
    if (!faults.dripReply.isEmpty())
        control.insert(QStringLiteral("drip"),
                       QJsonObject{{"reply", QString::fromLatin1(faults.dripReply)}, {"ms", faults.dripMs}});
    if (faults.limitCount > 0)
        control.insert(QStringLiteral("limit"),
                       QJsonObject{{"count", faults.limitCount},
                                   {"seconds", faults.limitSeconds},
                                   {"answer", QString::fromUtf8(faults.limitAnswer)}});
    // Replaced in one step, so that the server never reads half a file.
    const QString path = folder_.path() + QStringLiteral("/control.json");
    writeFile(path + QStringLiteral(".part"), QJsonDocument(control).toJson());
    if (std::rename(QFile::encodeName(path + QStringLiteral(".part")).constData(),
                    QFile::encodeName(path).constData()))
        throw std::runtime_error("cannot replace the test server's control file");
}

QList<ReceivedMessage> SmtpTestServer::received() const {
    return readIndex(true);
}

QList<ReceivedMessage> SmtpTestServer::readIndex(bool withContent) const {
    QList<ReceivedMessage> messages;
    const QString mail = folder_.path() + QStringLiteral("/mail/");
    for (const QByteArray& line : readFile(mail + QStringLiteral("index.tsv")).split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() != 5)
            continue;
        ReceivedMessage m;
        m.number = fields[0].toInt();
        m.connection = fields[1].toInt();
        m.sender = fields[2];
        m.recipients = fields[3].split(',');
        m.receivedSeconds = fields[4].toDouble();
        m.receivedMs = qint64(m.receivedSeconds * 1000);
        if (withContent)
            m.content = readFile(mail + QStringLiteral("%1.eml").arg(m.number, 6, 10, QLatin1Char('0')));
        messages.append(m);
    }
    return messages;
}

QMap<QByteArray, int> SmtpTestServer::countsByRecipient() const {
    QMap<QByteArray, int> counts;
    for (const ReceivedMessage& m : readIndex(false))
        for (const QByteArray& r : m.recipients) ++counts[r];
    return counts;
}

QList<QByteArray> SmtpTestServer::events(const QByteArray& kind) const {
    QList<QByteArray> found;
    for (const QByteArray& line : readFile(folder_.path() + QStringLiteral("/events.log")).split('\n'))
        if (line.startsWith(kind + ' '))
            found.append(line);
    return found;
}

int SmtpTestServer::connections() const {
    return int(events("connect").size());
}
int SmtpTestServer::logins() const {
    return int(events("login").size());
}
int SmtpTestServer::refusedLogins() const {
    return int(events("refused-login").size());
}
int SmtpTestServer::greeted421() const {
    return int(events("greeted-421").size());
}
QList<double> SmtpTestServer::limitedMoments() const {
    QList<double> moments;
    for (const QByteArray& line : events("limited")) moments.append(line.split(' ').value(2).toDouble());
    return moments;
}

}  // namespace zw::test

#include "support/ImapTestServer.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

#include <pwd.h>
#include <unistd.h>

#include <stdexcept>

#include "support/SmtpTestServer.h"

namespace zw::test {

namespace {

constexpr int kStartMilliseconds = 15000;

quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        throw std::runtime_error("no free loopback port for the test IMAP server");
    return probe.serverPort();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// Dovecot reads the mail as its own user.
void giveToDovecot(const QString& path) {
    const passwd* user = getpwnam("dovecot");
    if (!user || ::chown(QFile::encodeName(path).constData(), user->pw_uid, user->pw_gid) != 0)
        throw std::runtime_error("cannot hand " + path.toStdString() + " to the dovecot user");
}

}  // namespace

ImapTestServer::ImapTestServer() {
    if (!folder_.isValid())
        throw std::runtime_error("no temporary folder for the test IMAP server");
    const QString d = folder_.path();
    // The server's own processes run as its users and must reach the folder.
    QFile::setPermissions(d, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                 QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    for (const char* sub : {"run", "state", "log", "mail/versand/Maildir/cur", "mail/versand/Maildir/new",
                            "mail/versand/Maildir/tmp"})
        QDir().mkpath(d + u'/' + QLatin1String(sub));
    for (const char* sub : {"mail", "mail/versand", "mail/versand/Maildir", "mail/versand/Maildir/cur",
                            "mail/versand/Maildir/new", "mail/versand/Maildir/tmp"})
        giveToDovecot(d + u'/' + QLatin1String(sub));
    starttlsPort_ = freePort();
    imapsPort_ = freePort();
    while (imapsPort_ == starttlsPort_) imapsPort_ = freePort();
    const QString config =
        QStringLiteral(
            "base_dir = %1/run\nstate_dir = %1/state\nlog_path = %1/log/dovecot.log\n"
            "protocols = imap\nlisten = 127.0.0.1\ndefault_internal_user = dovecot\n"
            "default_internal_group = dovecot\ndefault_login_user = dovenull\n"
            "first_valid_uid = 1\nssl = required\nssl_cert = <%2\nssl_key = <%3\n"
            "auth_mechanisms = plain login\n"
            "passdb {\n  driver = static\n  args = password=%4\n}\n"
            "userdb {\n  driver = static\n  args = uid=dovecot gid=dovecot home=%1/mail/%n "
            "mail=maildir:%1/mail/%n/Maildir\n}\n"
            "service imap-login {\n  inet_listener imap {\n    port = %5\n  }\n"
            "  inet_listener imaps {\n    port = %6\n    ssl = yes\n  }\n}\n")
            .arg(d, SmtpTestServer::certificateFile(TestCertificate::Valid), SmtpTestServer::keyFile(),
                 QLatin1String(kPassword))
            .arg(starttlsPort_)
            .arg(imapsPort_);
    writeFile(d + QStringLiteral("/dovecot.conf"), config.toUtf8());
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.start(QStringLiteral("dovecot"),
                   {QStringLiteral("-c"), d + QStringLiteral("/dovecot.conf"), QStringLiteral("-F")});
    const QDeadlineTimer deadline(kStartMilliseconds);
    for (;;) {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, imapsPort_);
        if (probe.waitForConnected(500))
            break;
        if (deadline.hasExpired() || process_.state() == QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished();
            QFile log(d + QStringLiteral("/log/dovecot.log"));
            log.open(QIODevice::ReadOnly);
            throw std::runtime_error("the test IMAP server did not start: " + log.readAll().toStdString());
        }
        QThread::msleep(50);
    }
}

ImapTestServer::~ImapTestServer() {
    stopServerProcess(process_);
}

void ImapTestServer::deliver(const QByteArray& message) {
    // Written beside the folder and moved in, as a delivery agent does, so the server never sees half.
    ++delivered_;
    const QString name =
        QStringLiteral("%1.M%2.zettelwerk-test").arg(1700000000 + delivered_ - 1).arg(delivered_);
    const QString temporary = folder_.path() + QStringLiteral("/mail/versand/Maildir/tmp/") + name;
    writeFile(temporary, message);
    giveToDovecot(temporary);
    if (!QFile::rename(temporary, folder_.path() + QStringLiteral("/mail/versand/Maildir/new/") + name))
        throw std::runtime_error("cannot deliver a test message");
}

QString ImapTestServer::doveadm(const QStringList& arguments) const {
    QProcess tool;
    tool.start(
        QStringLiteral("doveadm"),
        QStringList{QStringLiteral("-c"), folder_.path() + QStringLiteral("/dovecot.conf")} + arguments);
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0)
        throw std::runtime_error("doveadm failed: " + tool.readAllStandardError().toStdString());
    return QString::fromUtf8(tool.readAllStandardOutput());
}

QMap<quint32, QString> ImapTestServer::flags() const {
    QMap<quint32, QString> result;
    quint32 uid = 0;
    const QString out =
        doveadm({QStringLiteral("fetch"), QStringLiteral("-u"), QStringLiteral("versand"),
                 QStringLiteral("uid flags"), QStringLiteral("mailbox"), QStringLiteral("INBOX")});
    for (const QString& line : out.split(u'\n')) {
        if (line.startsWith(QLatin1String("uid: ")))
            uid = line.mid(5).toUInt();
        else if (line.startsWith(QLatin1String("flags:")))
            result.insert(uid, line.mid(6).remove(QLatin1String("\\Recent")).simplified());
    }
    return result;
}

void ImapTestServer::setUidValidity(quint32 value) {
    doveadm({QStringLiteral("mailbox"), QStringLiteral("update"), QStringLiteral("-u"),
             QStringLiteral("versand"), QStringLiteral("--uid-validity"), QString::number(value),
             QStringLiteral("INBOX")});
}

send::SenderProfile ImapTestServer::profile() const {
    send::SenderProfile p;
    p.name = QStringLiteral("Turnverein Müggelsee");
    p.address = QString::fromLatin1(kUser);
    p.imapServer = QStringLiteral("localhost");
    p.imapPort = imapsPort_;
    p.imapSecurity = send::Security::ImplicitTls;
    p.imapUser = QStringLiteral("versand");
    p.caFile = SmtpTestServer::caFile();
    return p;
}

}  // namespace zw::test

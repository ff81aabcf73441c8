#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include "send/SenderProfile.h"

namespace zw::test {

// A real IMAP server (Debian's Dovecot) on two loopback ports, IMAPS and IMAP with STARTTLS, with the
// SMTP test server's localhost certificate, a static password and one Maildir that the test fills.
// Started in the constructor, stopped in the destructor. Needs to run as root (Dovecot drops to its
// own users).
class ImapTestServer {
public:
    static constexpr char kUser[] = "versand@example.org";
    static constexpr char kPassword[] = "Posteingang-0815";

    // Throws std::runtime_error when the server does not start.
    ImapTestServer();
    ~ImapTestServer();
    ImapTestServer(const ImapTestServer&) = delete;
    ImapTestServer& operator=(const ImapTestServer&) = delete;

    quint16 imapsPort() const { return imapsPort_; }
    quint16 starttlsPort() const { return starttlsPort_; }

    // Drops a message into the Maildir's new/ folder; the server sees it at the next login.
    void deliver(const QByteArray& message);
    // Every message's UID and flags as the server keeps them (without \Recent, which belongs to a
    // session), read through doveadm, which changes nothing.
    QMap<quint32, QString> flags() const;
    // Gives the mailbox another UIDVALIDITY, as a server does when it numbers its messages anew.
    void setUidValidity(quint32 value);

    // A profile whose incoming server is this one over IMAPS, with the test CA.
    send::SenderProfile profile() const;

private:
    QString doveadm(const QStringList& arguments) const;

    QTemporaryDir folder_;
    QProcess process_;
    quint16 imapsPort_ = 0;
    quint16 starttlsPort_ = 0;
    int delivered_ = 0;
};

}  // namespace zw::test

#pragma once

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace zw::test {

// An IMAP server of our own on loopback (tests/support/imap/bad_imap.py) that misbehaves in one way,
// the mode: "normal", "never-greets", "drip", "slow-lines", "huge-literals", "many-literals",
// "search-bad", "fetch-bad", "bye", "bye-at-N", "logout-hangs". It serves the given messages by their UIDs,
// plain IMAP with any login. Started in the constructor, stopped in the destructor.
class MisbehavingImapServer {
public:
    // Throws std::runtime_error when the server does not start.
    explicit MisbehavingImapServer(const QString& mode, const QMap<quint32, QByteArray>& messages = {});
    ~MisbehavingImapServer();
    MisbehavingImapServer(const MisbehavingImapServer&) = delete;
    MisbehavingImapServer& operator=(const MisbehavingImapServer&) = delete;

    quint16 port() const { return port_; }

private:
    QTemporaryDir folder_;
    QProcess process_;
    quint16 port_ = 0;
};

}  // namespace zw::test

#pragma once

#include <chrono>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QList>
#include <QString>

#include "send/SenderProfile.h"

namespace zw::inbox {

// Where the inbox is and how to log in. The password is handed over and kept nowhere else.
struct ImapAccount {
    QString host;
    int port = 993;
    send::Security security = send::Security::ImplicitTls;  // None only for a server on this machine
    QString user;
    QString password;
    QString caFile;  // an extra CA certificate (PEM); empty: the system's only
};

// How long and how much one check may take, whatever the server does. A server that sends slowly,
// too much or never ends its answer is stopped by these, with a German message.
struct ImapLimits {
    std::chrono::milliseconds deadline{std::chrono::minutes(5)};  // the whole session, connecting included
    // Without a complete response (a line with its literals); bytes dribbling in do not count.
    std::chrono::milliseconds idle{std::chrono::seconds(60)};
    qint64 answerBytes = 32 * 1024 * 1024;  // read for one command
    qint64 checkBytes = 512 * 1024 * 1024;  // read in the whole session
};

// The account a sender profile names: its incoming server, with the login for sending unless it has
// one of its own.
ImapAccount imapAccount(const send::SenderProfile& profile, const QString& password);

// One read-only IMAP session: libcurl connects, secures the connection (certificate and host name
// always checked; plain IMAP only to loopback) and logs in; the commands after that are ours, and they
// are only EXAMINE, UID SEARCH and UID FETCH of BODY.PEEK sections, so that nothing in the mailbox
// changes: no flag, no message moved or deleted. Every failure throws zw::Error (German); after one,
// the session is over (a "* BYE" from the server ends it too) and its LOGOUT is not tried.
class ImapSession {
public:
    explicit ImapSession(const ImapAccount& account, const ImapLimits& limits = {});
    ~ImapSession();
    ImapSession(const ImapSession&) = delete;
    ImapSession& operator=(const ImapSession&) = delete;

    struct Mailbox {
        quint32 uidValidity = 0;
        quint32 uidNext = 0;
        quint32 exists = 0;
    };
    // Opens the mailbox read-only (EXAMINE).
    Mailbox examine(const QString& mailbox = QStringLiteral("INBOX"));
    // The UIDs a search finds, e.g. "UID 101:* SINCE 1-Dec-2026"; ascending.
    QList<quint32> searchUids(const QByteArray& criteria);
    // Fetches one section of each message, e.g. "HEADER" or "" (the whole message), always with
    // BODY.PEEK, at most its first maxBytes (above 0); got is called with each message's UID and
    // bytes, in the server's order, only for the UIDs asked for.
    void fetch(const QList<quint32>& uids, const QByteArray& section, qint64 maxBytes,
               const std::function<void(quint32 uid, const QByteArray& bytes)>& got);

    // The most the session held of the server's answers at one time, in bytes, and all it read.
    qint64 peakHeldBytes() const;
    qint64 bytesRead() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zw::inbox

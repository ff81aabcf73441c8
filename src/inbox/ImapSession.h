#pragma once

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

// The account a sender profile names: its incoming server, with the login for sending unless it has
// one of its own.
ImapAccount imapAccount(const send::SenderProfile& profile, const QString& password);

// One read-only IMAP session: libcurl connects, secures the connection (certificate and host name
// always checked; plain IMAP only to loopback) and logs in; the commands after that are ours, and they
// are only EXAMINE, UID SEARCH and UID FETCH of BODY.PEEK sections, so that nothing in the mailbox
// changes: no flag, no message moved or deleted. Every failure throws zw::Error (German).
class ImapSession {
public:
    explicit ImapSession(const ImapAccount& account);
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
    // BODY.PEEK, at most its first maxBytes when that is above 0; got is called with each message's
    // UID and bytes, in the server's order.
    void fetch(const QList<quint32>& uids, const QByteArray& section, qint64 maxBytes,
               const std::function<void(quint32 uid, const QByteArray& bytes)>& got);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zw::inbox

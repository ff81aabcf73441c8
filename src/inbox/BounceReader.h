#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

namespace zw::inbox {

// What one message of the inbox says about one address of a list.
struct InboxFinding {
    enum Kind {
        Permanent,    // the address cannot take mail (5.x.x, "user unknown", "no such user")
        Temporary,    // it could not now (4.x.x, "mailbox full", "over quota")
        Unsubscribe,  // its owner asks to be taken off the list
        SenderSide,   // the sender's server, address or provider was refused, not the mailbox
    };
    Kind kind = Permanent;
    QString address;               // the failed recipient, or the address asking to leave; small letters
    QStringList otherAddresses;    // other names of the same recipient (a report's Original-Recipient)
    bool stillTrying = false;      // a delay warning: the server goes on trying
    QString evidence;              // the server's text (status and diagnostic), or the request's subject
    QString status;                // the enhanced status code ("5.1.1") when the bounce gives one
    QByteArray originalMessageId;  // "<...>" of our message it answers, when it names one
    QDateTime date;                // when the bounce or request was written
};

// How the reader took a message, for the counts and the tests.
enum class MessageClass { Other, AutoReply, Bounce, Unsubscribe };

struct ReadResult {
    MessageClass kind = MessageClass::Other;
    QList<InboxFinding> findings;
};

// Reads one message as fetched from the inbox: a delivery status notification (RFC 3464
// multipart/report) by its Final-Recipient, Action and Status fields; the bounces servers write
// without one (Postfix, Exim, qmail, Exchange and Outlook.com, Gmail, GMX and WEB.DE, T-Online) by
// their texts; a request to be removed by its subject or first lines. Auto-replies (holiday notices)
// are recognised and give nothing. The failed recipient is an address the bounce names as failed;
// ownAddresses (the sender's), the envelope sender of a transcript, the returned copy's headers and
// addresses in the bounce's prose are never taken for it. Never throws; any bytes give some result.
ReadResult readInboxMessage(const QByteArray& raw, const QStringList& ownAddresses = {});

// The same from the header block alone: whether the message is worth fetching whole: a bounce, a
// request by its subject, or a reply to a message. Mail from an address of a campaign's list may be a
// request in its first lines as well; the caller, who knows the lists, fetches that too.
bool worthFetching(const QByteArray& header);
// The From address of a message or header block, in small letters; empty when it has none.
QString senderAddress(const QByteArray& header);

}  // namespace zw::inbox

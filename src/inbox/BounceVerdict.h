#pragma once

#include <QString>

namespace zw::inbox {

// What a server's words say about one recipient. Judged in this order, the first that fits:
// the sender's side was refused by a block list, SPF/DKIM/DMARC or a missing PTR record; the
// mailbox is full; the address does not exist; the refusal is temporary by nature (greylisting,
// retry and delivery timeouts); a policy, spam or content filter refused the sender; else the
// status or reply code.
enum class Verdict { Unknown, Permanent, Temporary, SenderSide };

Verdict judgeBounceText(const QString& text);

// The enhanced status code in a text ("5.1.1"), not a part of an IP address or version number.
QString enhancedStatus(const QString& text);

// A notice that the message is still on its way (a delay warning) or arrived (a relay or delivery
// report): neither tells that an address is dead.
bool saysStillTrying(const QString& text);
bool saysDelivered(const QString& text);

}  // namespace zw::inbox

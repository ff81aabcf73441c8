#pragma once

#include <optional>

#include <QString>

#include "send/SenderProfile.h"

namespace zw::inbox {

// The IMAP server a provider's customers read their inbox from.
struct IncomingServer {
    QString host;
    int port = 993;
    send::Security security = send::Security::ImplicitTls;
};

// The incoming server of the address's provider (by the provider table of sending), or nothing.
std::optional<IncomingServer> incomingServerForAddress(const QString& address);

// The usual port of the incoming server's security: 993 for SSL/TLS, 143 for STARTTLS or none.
int usualImapPort(send::Security security);

}  // namespace zw::inbox

#include "inbox/IncomingServers.h"

#include "send/Providers.h"

namespace zw::inbox {

namespace {

struct Entry {
    const char* provider;  // as the provider table of sending names it
    const char* host;
};
// As the providers publish them for mail programs; every one takes IMAP over SSL/TLS on 993.
constexpr Entry kServers[] = {
    {"GMX", "imap.gmx.net"},
    {"WEB.DE", "imap.web.de"},
    {"T-Online", "secureimap.t-online.de"},
    {"Posteo", "posteo.de"},
    {"mailbox.org", "imap.mailbox.org"},
    {"Gmail", "imap.gmail.com"},
    {"Outlook.com", "outlook.office365.com"},
    {"iCloud", "imap.mail.me.com"},
    {"Yahoo", "imap.mail.yahoo.com"},
    {"AOL", "imap.aol.com"},
    {"IONOS", "imap.ionos.de"},
    {"1&1", "imap.1und1.de"},
    {"freenet", "mx.freenet.de"},
};

}  // namespace

std::optional<IncomingServer> incomingServerForAddress(const QString& address) {
    const std::optional<send::Provider> provider = send::providerForAddress(address);
    if (!provider)
        return std::nullopt;
    for (const Entry& e : kServers)
        if (provider->name == QLatin1String(e.provider))
            return IncomingServer{QString::fromLatin1(e.host), 993, send::Security::ImplicitTls};
    return std::nullopt;
}

int usualImapPort(send::Security security) {
    return security == send::Security::ImplicitTls ? 993 : 143;
}

}  // namespace zw::inbox

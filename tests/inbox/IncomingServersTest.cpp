#include <gtest/gtest.h>

#include "inbox/IncomingServers.h"
#include "send/Providers.h"

namespace zw::inbox {
namespace {

TEST(IncomingServers, EveryKnownProviderHasItsImapServer) {
    const std::pair<const char*, const char*> expected[] = {
        {"a@gmx.de", "imap.gmx.net"},
        {"a@web.de", "imap.web.de"},
        {"a@t-online.de", "secureimap.t-online.de"},
        {"a@posteo.de", "posteo.de"},
        {"a@mailbox.org", "imap.mailbox.org"},
        {"a@googlemail.com", "imap.gmail.com"},
        {"a@hotmail.de", "outlook.office365.com"},
        {"a@icloud.com", "imap.mail.me.com"},
        {"a@yahoo.de", "imap.mail.yahoo.com"},
        {"a@ionos.de", "imap.ionos.de"},
    };
    for (const auto& [address, host] : expected) {
        const auto server = incomingServerForAddress(QString::fromLatin1(address));
        ASSERT_TRUE(server) << address;
        EXPECT_EQ(server->host, QLatin1String(host)) << address;
        EXPECT_EQ(server->port, 993);
    }
    for (const send::Provider& p : send::knownProviders())
        EXPECT_TRUE(incomingServerForAddress(u"x@"_qs + p.domains.first())) << p.name.toStdString();
    EXPECT_FALSE(incomingServerForAddress(QStringLiteral("a@verein.example")));
}

}  // namespace
}  // namespace zw::inbox

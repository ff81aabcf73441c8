#include <gtest/gtest.h>

#include "inbox/IncomingServers.h"
#include "send/OutgoingMessage.h"
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
    // Every mailbox provider of the sending table; the sending services (relays) keep no inbox.
    for (const send::Provider& p : send::knownProviders()) {
        if (!p.domains.isEmpty()) {
            EXPECT_TRUE(incomingServerForAddress(u"x@"_qs + p.domains.first())) << p.name.toStdString();
        }
    }
    EXPECT_FALSE(incomingServerForAddress(QStringLiteral("a@verein.example")));
}

// With an inbox to read, every copy offers to leave by mail, beside the template's page when it has one.
TEST(IncomingServers, MessagesOfferTheUnsubscribeAddressOnlyWithAnInbox) {
    const QByteArray rendered =
        "From: x@example.org\r\nSubject: Herbst\r\nMIME-Version: 1.0\r\n"
        "Content-Type: text/plain\r\n\r\nHallo\r\n";
    send::SenderProfile from;
    from.address = QStringLiteral("versand@example.org");
    const send::Recipient to{QStringLiteral("anna@example.net"), {}, 1};
    const QDateTime now = QDateTime::currentDateTime();
    auto header = [&](const QByteArray& link) {
        const QByteArray out =
            send::OutgoingMessage({rendered, link}).forRecipient(to, from, now, "<id@example.org>");
        const qsizetype at = out.indexOf("\r\nList-Unsubscribe: ");
        return at < 0 ? QByteArray() : out.mid(at + 2, out.indexOf("\r\n", at + 2) - at - 2);
    };
    EXPECT_EQ(header("https://verein.example/ab"), "List-Unsubscribe: <https://verein.example/ab>");
    EXPECT_EQ(header({}), "");
    from.imapServer = QStringLiteral("imap.example.org");
    EXPECT_EQ(header("https://verein.example/ab"),
              "List-Unsubscribe: <mailto:versand@example.org?subject=Abmelden>, <https://verein.example/ab>");
    EXPECT_EQ(header({}), "List-Unsubscribe: <mailto:versand@example.org?subject=Abmelden>");
}

}  // namespace
}  // namespace zw::inbox

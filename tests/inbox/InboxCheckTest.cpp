#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "inbox/BounceSamples.h"
#include "inbox/ImapSession.h"
#include "inbox/InboxCheck.h"
#include "inbox/InboxTestSupport.h"
#include "platform/Error.h"
#include "send/Campaign.h"
#include "support/ImapTestServer.h"

namespace zw::inbox {
namespace {

using namespace zw::send;
using namespace zw::test::samples;
using zw::test::ImapTestServer;
using namespace zw::test;

QStringList shown(const QList<ReviewItem>& items) {
    QStringList out;
    for (const ReviewItem& i : items)
        out << QStringLiteral("%1 %2 %3%4%5")
                   .arg(kindText(i.kind), i.address, i.campaignSubject, i.ticked ? u" ✓"_qs : QString(),
                        i.assigned ? QString() : QStringLiteral(" (nicht zuzuordnen)"));
    out.sort();
    return out;
}

class InboxCheck : public ::testing::Test {
protected:
    CheckResult check() {
        const SenderProfile p = server.profile();
        ImapSession session(imapAccount(p, QString::fromLatin1(ImapTestServer::kPassword)));
        return checkInbox(work.path(), QStringLiteral("versand@localhost"), session,
                          BlockList::load(blockListPath(work.path())));
    }
    ImapTestServer server;
    QTemporaryDir work;
};

TEST_F(InboxCheck, FindsExactlyTheBouncesAndRequestsAndChangesNothing) {
    const auto ids =
        sendCampaign(work.path(), QStringLiteral("Sommerfest"),
                     {"anna@example.net", "bernd@example.com", "carla@example.com", "dora@example.net",
                      "emil@example.com", "gustav@example.com", "hanna@example.com", "ida@example.com"});
    const QByteArray noId = "<nicht.von.uns@example.org>";
    server.deliver(returning(failedDsn("anna@example.net", "5.1.1"), ids["anna@example.net"]));
    server.deliver(returning(textBounce("From: Mail Delivery System <Mailer-Daemon@mx.example.com>\r\n"
                                        "Subject: Mail delivery failed: returning message to sender\r\n",
                                        "The following address(es) failed:\r\n\r\n  bernd@example.com\r\n"
                                        "    550 5.1.1 No such user here\r\n"),
                             noId));
    server.deliver(returning(failedDsn("carla@example.com", "4.2.2"), ids["carla@example.com"]));
    server.deliver(
        mail("From: dora@example.net\r\nSubject: Abwesenheitsnotiz\r\nAuto-Submitted: auto-replied\r\n",
             "Bin weg. Bitte nicht abmelden.\r\n"));
    server.deliver(mail("From: emil@example.com\r\nSubject: Re: Sommerfest\r\nIn-Reply-To: " +
                            ids["emil@example.com"] + "\r\n",
                        "Bitte austragen.\r\n"));
    server.deliver(mail("From: Gustav <GUSTAV@example.com>\r\nSubject: Abmelden\r\n", "\r\n"));
    server.deliver(mail("From: hanna@example.com\r\nSubject: Kuchen\r\n", "Ich bringe Kuchen mit.\r\n"));
    server.deliver(failedDsn("fremd@example.com", "5.1.1"));  // not on any list of ours
    // Forwarded to a new address that bounced: the copy's Message-ID confirms the campaign, but the
    // address it names is none of its recipients, so it blocks nobody.
    server.deliver(returning(failedDsn("ida.neu@example.org", "5.1.1"), ids["ida@example.com"]));
    server.deliver(mail("From: unbekannt@example.com\r\nSubject: abmelden\r\n", "\r\n"));
    const auto flagsBefore = server.flags();
    ASSERT_EQ(flagsBefore.size(), 10);

    const CheckResult first = check();
    EXPECT_EQ(first.newMessages, 10);
    EXPECT_EQ(shown(first.items),
              QStringList(
                  {"Abmeldung emil@example.com Sommerfest ✓", "Abmeldung gustav@example.com Sommerfest ✓",
                   "unzustellbar anna@example.net Sommerfest ✓",
                   "unzustellbar bernd@example.com Sommerfest ✓",
                   "unzustellbar ida.neu@example.org Sommerfest (nicht zuzuordnen)",
                   "vorübergehend unzustellbar carla@example.com Sommerfest"}));
    EXPECT_EQ(server.flags(), flagsBefore);  // nothing seen, flagged, moved or deleted
    // The state names other people's addresses: it is its owner's alone.
    EXPECT_EQ(QFile::permissions(work.filePath(QLatin1String(kInboxStateFileName))) &
                  (QFile::ReadGroup | QFile::ReadOther),
              QFile::Permissions());

    // Nothing new: the same open findings, and no message read again.
    const CheckResult second = check();
    EXPECT_EQ(second.newMessages, 0);
    EXPECT_EQ(shown(second.items), shown(first.items));

    EXPECT_EQ(applyReview(work.path(), second.items), 4);
    const BlockList blocks = BlockList::load(blockListPath(work.path()));
    ASSERT_NE(blocks.find(QStringLiteral("anna@example.net")), nullptr);
    EXPECT_EQ(blocks.find(QStringLiteral("anna@example.net"))->campaign, QStringLiteral("Sommerfest"));
    EXPECT_EQ(blocks.find(QStringLiteral("gustav@example.com"))->reason, QStringLiteral("Abmeldung"));
    EXPECT_EQ(blocks.find(QStringLiteral("carla@example.com")), nullptr);

    server.deliver(returning(failedDsn("hanna@example.com", "5.1.1"), ids["hanna@example.com"]));
    const CheckResult third = check();
    EXPECT_EQ(third.newMessages, 1);
    EXPECT_EQ(shown(third.items), QStringList({"unzustellbar hanna@example.com Sommerfest ✓"}));

    // The server numbered its messages anew: all of them are read again; the blocked stay out.
    server.setUidValidity(4711);
    const CheckResult renumbered = check();
    EXPECT_TRUE(renumbered.startedOver);
    EXPECT_EQ(renumbered.newMessages, 11);
    EXPECT_EQ(shown(renumbered.items),
              QStringList({"unzustellbar hanna@example.com Sommerfest ✓",
                           "unzustellbar ida.neu@example.org Sommerfest (nicht zuzuordnen)",
                           "vorübergehend unzustellbar carla@example.com Sommerfest"}));
    EXPECT_EQ(server.flags().size(), 11);
}

TEST_F(InboxCheck, TicksATemporaryFailureOnlyInItsThirdCampaign) {
    for (const char* subject : {"Januar", "Februar", "März"}) {
        const auto ids = sendCampaign(work.path(), QString::fromUtf8(subject), {"carla@example.com"});
        server.deliver(returning(failedDsn("carla@example.com", "4.2.2"), ids["carla@example.com"]));
        const QStringList items = shown(check().items);
        ASSERT_FALSE(items.isEmpty());
        EXPECT_EQ(items.last().endsWith(u"✓"), QByteArray(subject) == "März") << subject;
    }
}

TEST_F(InboxCheck, ReadsOverStartTlsAndRefusesAWrongPassword) {
    ImapAccount account = imapAccount(server.profile(), QString::fromLatin1(ImapTestServer::kPassword));
    account.security = Security::StartTls;
    account.port = server.starttlsPort();
    server.deliver(mail("From: a@example.com\r\nSubject: x\r\n", "y\r\n"));
    EXPECT_EQ(ImapSession(account).examine().exists, 1u);
    account.password = QStringLiteral("falsch");
    try {
        ImapSession refused(account);
        ADD_FAILURE() << "a wrong password was taken";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("Anmeldung wurde abgelehnt")))
            << e.message().toStdString();
    }
}

}  // namespace
}  // namespace zw::inbox

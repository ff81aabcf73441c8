#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "inbox/BounceReader.h"
#include "inbox/InboxCheck.h"
#include "inbox/InboxTestSupport.h"
#include "send/BlockList.h"
#include "support/QtPrinters.h"

namespace zw::inbox {
namespace {

using namespace zw::test;
using namespace zw::test::samples;

// One bounce as a mail system words it, and what it means: "P", "T" or "S" (the sender's side) with
// the failed address, or "-" for nothing to act on.
struct Bounce {
    const char* system;
    QByteArray raw;
    const char* expected;
};

QByteArray daemon(const char* from, const char* subject) {
    return QByteArray("From: ") + from + "\r\nSubject: " + subject + "\r\n";
}

QByteArray status(const char* address, const char* action, const char* code, const char* diagnostic) {
    return QByteArray("Final-Recipient: rfc822; ") + address + "\r\nAction: " + action +
           "\r\nStatus: " + code + "\r\nDiagnostic-Code: smtp; " + diagnostic + "\r\n\r\n";
}

// Exchange's words, which Office 365 and the gateways in front of it share.
QByteArray exchange(const QByteArray& address, const QByteArray& reply, const QByteArray& more = {}) {
    return textBounce(daemon("postmaster@firma.example", "Undeliverable: Sommerfest"),
                      "Delivery has failed to these recipients or groups:\r\n\r\n" + address +
                          "\r\nRemote Server returned '" + reply + "'\r\n" + more);
}

QList<Bounce> bounces() {
    const QByteArray postfix = daemon("MAILER-DAEMON@mail.verein.example (Mail Delivery System)",
                                      "Undelivered Mail Returned to Sender");
    const QByteArray exim = daemon("Mail Delivery System <Mailer-Daemon@mail.verein.example>",
                                   "Mail delivery failed: returning message to sender");
    const QByteArray gmail = daemon("Mail Delivery Subsystem <mailer-daemon@googlemail.com>",
                                    "Delivery Status Notification (Failure)");
    const QByteArray yahoo = daemon("MAILER-DAEMON@yahoo.com", "Failure Notice");
    return {
        // Postfix
        {"Postfix: client host on a block list",
         textBounce(postfix,
                    "<bernd@example.com>: host mx.example.com[192.0.2.7] said: 554 5.7.1 Service\r\n"
                    "    unavailable; Client host [198.51.100.4] blocked using zen.spamhaus.org\r\n"
                    "    (in reply to RCPT TO command)\r\n"),
         "S bernd@example.com"},
        {"Postfix: greylisted until it gave up",
         textBounce(postfix,
                    "<carla@example.com>: host mx.example.com[192.0.2.7] said: 450 4.2.0\r\n"
                    "    <carla@example.com>: Recipient address rejected: Greylisted, see\r\n"
                    "    http://postgrey.example/help (in reply to RCPT TO command)\r\n"),
         "T carla@example.com"},
        {"Postfix: a delivery report is no bounce",
         dsn(status("dora@example.com", "delivered", "2.0.0", "250 2.0.0 Ok: queued as 4711") +
                 status("emil@example.com", "relayed", "2.0.0", "250 ok"),
             "Successful Mail Delivery Report"),
         "-"},
        {"Postfix: an address in the prose or a quote is not the recipient",
         textBounce(postfix,
                    "If you need help, write to helpdesk@verein.example with this message.\r\n\r\n"
                    "<frieda@example.com>: host mx.example.com[192.0.2.7] said: 550 5.1.1\r\n"
                    "    <frieda@example.com>: Recipient address rejected: User unknown\r\n\r\n"
                    "> Anmeldung bei <frieda@example.co> bis Freitag\r\n"),
         "P frieda@example.com"},
        // Exim
        {"Exim: retry timeout exceeded",
         textBounce(exim,
                    "A message that you sent could not be delivered to one or more of its\r\n"
                    "recipients. This is a permanent error. The following address(es) failed:\r\n\r\n"
                    "  gustav@example.org\r\n    retry timeout exceeded\r\n"),
         "T gustav@example.org"},
        {"Exim: refused by the recipient's DMARC check",
         textBounce(exim,
                    "The following address(es) failed:\r\n\r\n  hanna@example.org\r\n"
                    "    SMTP error from remote mail server after end of data:\r\n"
                    "    550 5.7.1 Unauthenticated email from verein.example is not accepted due to\r\n"
                    "    domain's DMARC policy.\r\n"),
         "S hanna@example.org"},
        // Exchange and Office 365
        {"Office 365: the sending IP is banned",
         textBounce(daemon("Microsoft Outlook <postmaster@outlook.com>", "Undeliverable: Sommerfest"),
                    "Your message to ida@outlook.de couldn't be delivered.\r\n\r\nida@outlook.de\r\n"
                    "Remote Server returned '550 5.7.606 Access denied, banned sending IP [192.0.2.1].'\r\n"),
         "S ida@outlook.de"},
        {"Exchange: the message expired in the queue",
         exchange("jan@firma.example", "550 4.4.7 QUEUE.Expired; message expired",
                  "\r\nOriginal message headers:\r\n\r\nFrom: Turnverein <versand@example.org>\r\n"
                  "To: jan@firma.example\r\n"),
         "T jan@firma.example"},
        {"Exchange: a relay report is no bounce",
         textBounce(daemon("postmaster@firma.example", "Relayed: Sommerfest"),
                    "Delivery to these recipients or groups is complete, but no delivery notification was "
                    "sent by the destination server:\r\n\r\nkai@firma.example (kai@firma.example)\r\n"),
         "-"},
        // Gmail
        {"Gmail: over quota is temporary",
         textBounce(gmail,
                    "Your message wasn't delivered to lena@gmail.com because the recipient's inbox is out\r\n"
                    "of storage space.\r\n\r\nThe response from the remote server was:\r\n"
                    "552-5.2.2 The email account that you tried to reach is over quota and inactive.\r\n"),
         "T lena@gmail.com"},
        {"Gmail: unauthenticated sender (5.7.26)",
         textBounce(gmail,
                    "Your message wasn't delivered to mia@gmail.com.\r\n\r\nThe response was:\r\n"
                    "550-5.7.26 This mail is unauthenticated, which poses a security risk to the sender "
                    "and Gmail users, and has been blocked.\r\n"),
         "S mia@gmail.com"},
        {"Gmail: rate limited for unsolicited mail (4.7.0)",
         dsn(status("nina@gmail.com", "failed", "4.7.0",
                    "421-4.7.0 Our system has detected an unusual rate of unsolicited mail originating "
                    "from your IP address; it has been temporarily rate limited.")),
         "S nina@gmail.com"},
        // Yahoo, AOL, Verizon
        {"Yahoo: the sending IP is on Spamhaus's list",
         textBounce(yahoo,
                    "Sorry, we were unable to deliver your message to the following address.\r\n\r\n"
                    "<olga@yahoo.de>:\r\n553 5.7.1 [BL21] Connections will not be accepted from 192.0.2.1, "
                    "because the ip is in Spamhaus's list; see https://postmaster.yahooinc.com/\r\n"),
         "S olga@yahoo.de"},
        {"Yahoo: no such account",
         textBounce(yahoo,
                    "Sorry, we were unable to deliver your message to the following address.\r\n\r\n"
                    "554 delivery error: dd This user doesn't have a yahoo.de account (paul@yahoo.de) [0] - "
                    "mta1.mail.example.yahoo.com\r\n"),
         "P paul@yahoo.de"},
        {"AOL: will not accept delivery",
         textBounce(daemon("MAILER-DAEMON@aol.com", "Undeliverable: Sommerfest"),
                    "<quirin@aol.com>:\r\n521 5.2.1 :  AOL will not accept delivery of this message.\r\n"),
         "S quirin@aol.com"},
        {"Verizon: the mailbox is disabled",
         textBounce(yahoo,
                    "554 30 Sorry, your message to rosa@verizon.net cannot be delivered. This mailbox is "
                    "disabled (554.30).\r\n"),
         "P rosa@verizon.net"},
        // GMX, WEB.DE, 1&1
        {"GMX: no PTR record for the sending server",
         textBounce(exim,
                    "The following address(es) failed:\r\n\r\nsven@gmx.de:\r\nSMTP error from remote server "
                    "for MAIL FROM command, host: mx00.emig.gmx.net reason: 554-No SMTP service\r\n"
                    "554 Bad DNS PTR resource record.\r\n"),
         "S sven@gmx.de"},
        {"WEB.DE: refused by policy",
         textBounce(exim,
                    "The following address(es) failed:\r\n\r\ntina@web.de:\r\nSMTP error from remote server "
                    "for RCPT TO command, host: mx-ha02.web.de reason: 554-Transaction failed\r\n"
                    "554-Reject due to policy restrictions.\r\n554 For explanation visit the postmaster "
                    "pages\r\n"),
         "S tina@web.de"},
        {"1&1: the mailbox ran out of storage",
         textBounce(
             exim,
             "The following address(es) failed:\r\n\r\nuwe@online.de:\r\nSMTP error from remote server "
             "for RCPT TO command: 552 Requested mail action aborted: exceeded storage allocation\r\n"),
         "T uwe@online.de"},
        // T-Online
        {"T-Online: the sending IP is refused",
         textBounce(daemon("MAILER-DAEMON@mail.verein.example", "Undelivered Mail Returned to Sender"),
                    "<vera@t-online.de>: host mx00.t-online.de[194.25.134.8] said: 554 IP=192.0.2.10 - A "
                    "problem occurred. (Ask your postmaster for help or to contact tosa@rx.t-online.de to "
                    "clarify.) (in reply to MAIL FROM command)\r\n"),
         "S vera@t-online.de"},
        {"T-Online: delayed, still being retried",
         dsn(status("walter@t-online.de", "delayed", "4.4.1",
                    "connect to mx00.t-online.de: Connection "
                    "timed out"),
             "Delayed Mail (still being retried)"),
         "T walter@t-online.de"},
        // Strato
        {"Strato: spam refused by local policy",
         textBounce(postfix,
                    "<xaver@strato-kunde.de>: host smtpin.rzone.de[81.169.145.97] said: 550 5.7.1 Refused by "
                    "local policy. No SPAM please! (in reply to end of DATA command)\r\n"),
         "S xaver@strato-kunde.de"},
        {"Strato: user unknown",
         textBounce(postfix,
                    "<yvonne@strato-kunde.de>: host smtpin.rzone.de[81.169.145.97] said: 550 5.1.1\r\n"
                    "    <yvonne@strato-kunde.de>: Recipient address rejected: User unknown\r\n"),
         "P yvonne@strato-kunde.de"},
        // Sendmail: the transcript names the envelope sender, never the recipient.
        {"Sendmail: the sender refused, transcript follows",
         textBounce(
             daemon("Mail Delivery Subsystem <MAILER-DAEMON@mx.verein.example>",
                    "Returned mail: see transcript for details"),
             "   ----- The following addresses had permanent fatal errors -----\r\n<zora@example.com>\r\n"
             "    (reason: 550 5.7.1 Mail from 192.0.2.1 refused by blocklist)\r\n\r\n"
             "   ----- Transcript of session follows -----\r\n... while talking to mx.example.com.:\r\n"
             ">>> MAIL From:<vorstand@verein.example> SIZE=4096\r\n"
             "<<< 550 5.7.1 <vorstand@verein.example>... Mail from 192.0.2.1 refused by blocklist\r\n"
             "554 5.0.0 Service unavailable\r\n"),
         "S zora@example.com"},
        {"Sendmail: user unknown",
         textBounce(
             daemon("Mail Delivery Subsystem <MAILER-DAEMON@mx.verein.example>",
                    "Returned mail: see transcript for details"),
             "   ----- The following addresses had permanent fatal errors -----\r\n<anton@example.com>\r\n"
             "    (reason: 550 5.1.1 <anton@example.com>... User unknown)\r\n\r\n"
             "   ----- Transcript of session follows -----\r\n>>> DATA\r\n"
             "<<< 550 5.1.1 <anton@example.com>... User unknown\r\n"
             "<<< 503 5.0.0 Need RCPT (recipient)\r\n"),
         "P anton@example.com"},
        // Filtering gateways
        {"Barracuda: blocked by its reputation list",
         textBounce(
             postfix,
             "<berta@firma.example>: host gw.firma.example[192.0.2.20] said: 554 Service unavailable;\r\n"
             "    Client host [192.0.2.1] blocked using Barracuda Reputation\r\n"),
         "S berta@firma.example"},
        {"Mimecast: security policies",
         exchange("caesar@firma.example", "554 Email rejected due to security policies"),
         "S caesar@firma.example"},
        // A report whose status part came as plain text, with a subject of no bounce and the header of
        // an auto-reply: still a bounce.
        {"Gateway: a report that looks like an auto-reply",
         "From: Mail Administrator <admin@gw.firma.example>\r\nTo: versand@example.org\r\n"
         "Subject: Re: Sommerfest\r\nAuto-Submitted: auto-replied\r\nDate: Tue, 01 Dec 2026 10:00:00 "
         "+0100\r\n"
         "MIME-Version: 1.0\r\nContent-Type: multipart/report; report-type=delivery-status; "
         "boundary=\"R\"\r\n"
         "\r\n--R\r\nContent-Type: text/plain\r\n\r\nFinal-Recipient: rfc822; emma@firma.example\r\n"
         "Action: failed\r\nStatus: 5.1.1\r\nDiagnostic-Code: smtp; 550 5.1.1 user unknown\r\n--R--\r\n",
         "P emma@firma.example"},
        {"Mimecast: invalid recipient", exchange("detlef@firma.example", "550 Invalid Recipient"),
         "P detlef@firma.example"},
    };
}

QString found(const ReadResult& r) {
    QStringList out;
    for (const InboxFinding& f : r.findings) out << QString(QChar(u"PTUS"[f.kind])) + u' ' + f.address;
    return out.isEmpty() ? QStringLiteral("-") : out.join(u", ");
}

TEST(ProviderBounces, EachSystemsWordsGiveTheirFinding) {
    for (const Bounce& b : bounces()) {
        const ReadResult r = readInboxMessage(b.raw, {QStringLiteral("versand@example.org")});
        EXPECT_EQ(found(r), QString::fromLatin1(b.expected)) << b.system;
        EXPECT_NE(r.kind, MessageClass::AutoReply) << b.system;
        // A delay warning says the server goes on trying: it never counts towards blocking.
        for (const InboxFinding& f : r.findings)
            EXPECT_EQ(f.stillTrying, QByteArray(b.system).contains("still being retried")) << b.system;
    }
}

// Each sender-side sample, matched to a campaign that sent to its address and taken with its tick set
// by hand, leaves the block list empty; a permanent one beside them is blocked.
TEST(ProviderBounces, TheSendersProblemsNeverBlockTheMember) {
    QTemporaryDir work;
    QStringList addresses;
    QList<QByteArray> senderSide;
    for (const Bounce& b : bounces())
        if (b.expected[0] == 'S') {
            addresses << QString::fromLatin1(b.expected + 2);
            senderSide << b.raw;
        }
    ASSERT_GE(senderSide.size(), 12);
    const auto ids =
        sendCampaign(work.path(), QStringLiteral("Sommerfest"), addresses + QStringList{"anna@example.net"});
    const CampaignIndex index = CampaignIndex::build(work.path());
    QList<ReviewItem> items;
    for (qsizetype i = 0; i < senderSide.size(); ++i) {
        const QList<ReviewItem> matched = index.match(
            readInboxMessage(returning(senderSide[i], ids[addresses[i]]), index.senders()).findings);
        ASSERT_EQ(matched.size(), 1) << addresses[i].toStdString();
        EXPECT_EQ(matched[0].address, addresses[i]);
        EXPECT_FALSE(mayBlock(matched[0]));
        items += matched;
    }
    items += index.match(
        readInboxMessage(returning(failedDsn("anna@example.net", "5.1.1"), ids["anna@example.net"]))
            .findings);
    for (ReviewItem& i : items) i.ticked = true;
    EXPECT_EQ(applyReview(work.path(), items), 1);
    const send::BlockList blocks = send::BlockList::load(send::blockListPath(work.path()));
    ASSERT_EQ(blocks.entries().size(), 1);
    EXPECT_EQ(blocks.entries()[0].address, QStringLiteral("anna@example.net"));

    // Listed once per provider and campaign: Gmail's two refusals are one problem, GMX's and WEB.DE's
    // another; fourteen refusals from nine providers.
    const QList<SenderProblem> problems = senderProblems(items);
    QStringList grouped;
    for (const SenderProblem& p : problems)
        if (p.addresses.size() > 1)
            grouped << p.provider + QStringLiteral(": ") + p.addresses.join(u' ');
    EXPECT_EQ(
        grouped,
        QStringList({"example.com: bernd@example.com zora@example.com", "Gmail: mia@gmail.com nina@gmail.com",
                     "Yahoo/AOL: olga@yahoo.de quirin@aol.com", "GMX/WEB.DE (1&1): sven@gmx.de tina@web.de",
                     "firma.example: berta@firma.example caesar@firma.example"}));
    EXPECT_EQ(problems.size(), 9);
}

// The Message-ID confirms the campaign; it does not pick the member. The campaign's own sender is
// never the recipient, even when it is on its list.
TEST(ProviderBounces, TheCopysMessageIdDoesNotPickTheMember) {
    QTemporaryDir work;
    const auto ids = sendCampaign(work.path(), QStringLiteral("Herbst"),
                                  {"anna@example.net", "bernd@example.com", "versand@example.org"});
    const CampaignIndex index = CampaignIndex::build(work.path());
    auto matched = [&](const QByteArray& raw) {
        QStringList out;
        for (const ReviewItem& i : index.match(readInboxMessage(raw, index.senders()).findings))
            out << i.address + (i.assigned ? QString() : QStringLiteral(" nicht zuzuordnen"));
        return out;
    };
    // A stranger named on anna's copy.
    EXPECT_EQ(matched(returning(failedDsn("fremd@example.com", "5.1.1"), ids["anna@example.net"])),
              QStringList({"fremd@example.com nicht zuzuordnen"}));
    // Forwarded: the report's Original-Recipient is bernd, its Final-Recipient the new address.
    EXPECT_EQ(
        matched(returning(dsn("Final-Recipient: rfc822; bernd@neu.example\r\nOriginal-Recipient: rfc822; "
                              "bernd@example.com\r\nAction: failed\r\nStatus: 5.1.1\r\n\r\n"),
                          ids["bernd@example.com"])),
        QStringList({"bernd@example.com"}));
    // Bernd's bounce answering anna's copy is bernd's, as both are the campaign's.
    EXPECT_EQ(matched(returning(failedDsn("bernd@example.com", "5.1.1"), ids["anna@example.net"])),
              QStringList({"bernd@example.com"}));
    // A report about the sender's own address names nobody.
    EXPECT_TRUE(
        matched(returning(failedDsn("versand@example.org", "5.1.1"), ids["anna@example.net"])).isEmpty());
}

}  // namespace
}  // namespace zw::inbox

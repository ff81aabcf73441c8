#include <gtest/gtest.h>

#include <QStringList>

#include "inbox/BounceReader.h"
#include "inbox/BounceSamples.h"

namespace zw::inbox {
namespace {

using namespace zw::test::samples;

struct Sample {
    const char* name;
    QByteArray raw;
    MessageClass kind;
    QStringList findings;  // "P|T|U address", in order
    QByteArray original;   // the Message-ID it answers, when it names one
};

const QByteArray kCopyMarkerAndHeaders = "\r\n" + kReturnedHeaders;

QList<Sample> samples() {
    return {
        {"Rfc3464UserUnknown",
         dsn("Final-Recipient: rfc822; Anna@Example.NET\r\nOriginal-Recipient: rfc822;anna@example.net\r\n"
             "Action: failed\r\nStatus: 5.1.1\r\nRemote-MTA: dns; mx.example.net\r\n"
             "Diagnostic-Code: smtp; 550 5.1.1 <anna@example.net>: Recipient address rejected:\r\n"
             "    User unknown in virtual mailbox table\r\n\r\n"),
         MessageClass::Bounce,
         {"P anna@example.net"},
         kOriginalId},
        {"Rfc3464DelayedAndDeliveredSide",
         dsn("Final-Recipient: rfc822; bernd@example.com\r\nAction: delayed\r\nStatus: 4.4.1\r\n"
             "Diagnostic-Code: X-Postfix; connect to mx.example.com[192.0.2.9]:25: Connection timed "
             "out\r\n\r\n"
             "Final-Recipient: rfc822; carla@example.com\r\nAction: delivered\r\nStatus: 2.0.0\r\n\r\n",
             "Delayed Mail (still being retried)"),
         MessageClass::Bounce,
         {"T bernd@example.com"},
         kOriginalId},
        {"Rfc3464MailboxFullIsTemporaryWhateverTheCode",
         dsn("Final-Recipient: rfc822;dora@example.com\r\nAction: failed\r\nStatus: 5.2.2\r\n"
             "Diagnostic-Code: smtp; 552 5.2.2 Mailbox full\r\n\r\n"),
         MessageClass::Bounce,
         {"T dora@example.com"},
         kOriginalId},
        {"Rfc3464OnlyDeliveredIsNoBounce",
         dsn("Final-Recipient: rfc822; emil@example.com\r\nAction: relayed\r\nStatus: 2.0.0\r\n\r\n",
             "Successful Mail Delivery Report"),
         MessageClass::Other,
         {},
         {}},
        {"PostfixText",
         textBounce(
             "From: MAILER-DAEMON@mail.example.org (Mail Delivery System)\r\n"
             "Subject: Undelivered Mail Returned to Sender\r\n",
             "This is the mail system at host mail.example.org.\r\n\r\n"
             "I'm sorry to have to inform you that your message could not\r\nbe delivered to one or more "
             "recipients.\r\n\r\n<anna@example.net>: host mx.example.net[192.0.2.5] said: 550 5.1.1\r\n"
             "    <anna@example.net>: Recipient address rejected: User unknown (in reply to RCPT TO "
             "command)\r\n"
             "\r\n--- Below this line is a copy of the message.\r\n" +
                 kReturnedHeaders),
         MessageClass::Bounce,
         {"P anna@example.net"},
         kOriginalId},
        {"EximFailedRecipientsHeader",
         textBounce(
             "From: Mail Delivery System <Mailer-Daemon@mail.example.com>\r\n"
             "Subject: Mail delivery failed: returning message to sender\r\n"
             "X-Failed-Recipients: bernd@example.com\r\nAuto-Submitted: auto-replied\r\n",
             "This message was created automatically by mail delivery software.\r\n\r\n"
             "A message that you sent could not be delivered to one or more of its\r\nrecipients. This is a "
             "permanent error. The following address(es) failed:\r\n\r\n  bernd@example.com\r\n"
             "    host mx.example.com [192.0.2.7]\r\n    SMTP error from remote mail server after RCPT "
             "TO:<bernd@example.com>:\r\n    550 5.1.1 No such user here\r\n\r\n"
             "------ This is a copy of the message, including all the headers. ------\r\n" +
                 kReturnedHeaders),
         MessageClass::Bounce,
         {"P bernd@example.com"},
         kOriginalId},
        {"EximDelayWarning",
         textBounce(
             "From: Mail Delivery System <Mailer-Daemon@mail.example.com>\r\n"
             "Subject: Warning: message 1kXyZa-0001 delayed 24 hours\r\n",
             "This message was created automatically by mail delivery software.\r\n"
             "A message that you sent has not yet been delivered to one or more of its\r\nrecipients after "
             "more than 24 hours on the queue on mail.example.com.\r\n\r\nThe address to which the message "
             "has not yet been delivered is:\r\n\r\n  carla@example.com\r\n    Delay reason: SMTP error from "
             "remote mail server after RCPT TO:<carla@example.com>:\r\n    452 4.2.2 Mailbox full\r\n\r\n"
             "No action is required on your part. Delivery attempts will continue.\r\n"),
         MessageClass::Bounce,
         {"T carla@example.com"},
         {}},
        {"Qmail",
         textBounce(
             "From: MAILER-DAEMON@mail.example.net\r\nSubject: failure notice\r\n",
             "Hi. This is the qmail-send program at mail.example.net.\r\nI'm afraid I wasn't able to deliver "
             "your message to the following addresses.\r\nThis is a permanent error; I've given up. Sorry it "
             "didn't work out.\r\n\r\n<dora@example.net>:\r\nSorry, no mailbox here by that name. "
             "(#5.1.1)\r\n\r\n"
             "--- Below this line is a copy of the message.\r\n\r\nReturn-Path: <versand@example.org>\r\n" +
                 kReturnedHeaders),
         MessageClass::Bounce,
         {"P dora@example.net"},
         kOriginalId},
        {"OutlookGermanHtmlOnly",
         "From: Microsoft Outlook <postmaster@outlook.com>\r\nTo: versand@example.org\r\n"
         "Subject: =?utf-8?Q?Unzustellbar:_Sommerfest?=\r\nDate: Tue, 01 Dec 2026 10:00:00 +0000\r\n"
         "MIME-Version: 1.0\r\nContent-Type: text/html; charset=utf-8\r\n\r\n"
         "<html><body><p><b>Die Nachricht konnte nicht an folgende Empfänger oder Gruppen zugestellt "
         "werden:</b></p>"
         "<p>emil@outlook.de<br>Die eingegebene E-Mail-Adresse wurde nicht gefunden.</p>"
         "<p>Diagnoseinformationen für Administratoren:<br>Remote Server returned '550 5.1.10 "
         "RESOLVER.ADR.RecipientNotFound; Recipient not found by SMTP address lookup'</p></body></html>\r\n",
         MessageClass::Bounce,
         {"P emil@outlook.de"},
         {}},
        {"Gmail",
         textBounce(
             "From: Mail Delivery Subsystem <mailer-daemon@googlemail.com>\r\n"
             "Subject: Delivery Status Notification (Failure)\r\nX-Failed-Recipients: frieda@gmail.com\r\n",
             "** Address not found **\r\n\r\nYour message wasn't delivered to frieda@gmail.com because the "
             "address couldn't be found, or is unable to receive mail.\r\n\r\nThe response from the remote "
             "server was:\r\n550 5.1.1 The email account that you tried to reach does not exist.\r\n"),
         MessageClass::Bounce,
         {"P frieda@gmail.com"},
         {}},
        {"GmxMailboxUnavailableWithOriginalHeader",
         textBounce(
             "From: Mail Delivery System <mailer-daemon@gmx.net>\r\n"
             "Subject: Mail delivery failed: returning message to sender\r\n",
             "This message was created automatically by mail delivery software.\r\n\r\nA message that you "
             "sent could not be delivered to one or more of\r\nits recipients. This is a permanent error. "
             "The "
             "following address(es)\r\nfailed:\r\n\r\ngustav@gmx.de:\r\nSMTP error from remote server for "
             "RCPT "
             "TO command, host: mx00.emig.gmx.net (212.227.15.9) reason: 550 Requested action not taken: "
             "mailbox unavailable\r\n\r\n--- The header of the original message is following. ---\r\n\r\n" +
                 kReturnedHeaders),
         MessageClass::Bounce,
         {"P gustav@gmx.de"},
         kOriginalId},
        {"WebDeOverQuota",
         textBounce("From: Mail Delivery System <mailer-daemon@web.de>\r\n"
                    "Subject: Mail delivery failed: returning message to sender\r\n",
                    "A message that you sent could not be delivered to one or more of\r\nits recipients. The "
                    "following address(es) failed:\r\n\r\nhanna@web.de:\r\nSMTP error from remote server for "
                    "RCPT TO "
                    "command, host: mx-ha03.web.de reason: 552 5.2.2 Mailbox over quota\r\n"),
         MessageClass::Bounce,
         {"T hanna@web.de"},
         {}},
        {"TOnline",
         textBounce("From: MAILER-DAEMON@t-online.de\r\nSubject: Mail Delivery Problem\r\n",
                    "|------------------------- Failed addresses follow: ---------------------|\r\n"
                    " <ida@t-online.de> ... unknown user / Relaying not allowed\r\n"
                    "|------------------------- Message text follows: ------------------------|\r\n" +
                        kReturnedHeaders),
         MessageClass::Bounce,
         {"P ida@t-online.de"},
         kOriginalId},
        {"HolidayNoticeIsLeftOut",
         mail("From: Anna <anna@example.net>\r\nSubject: Abwesenheitsnotiz: Sommerfest\r\n"
              "Auto-Submitted: auto-replied\r\n",
              "Ich bin bis zum 4. Januar nicht im Büro. Mailbox full of work, will reply later.\r\n"),
         MessageClass::AutoReply,
         {},
         {}},
        {"AutoReplyAskingAboutAbmeldenIsLeftOut",
         mail("From: Bernd <bernd@example.com>\r\nSubject: Automatische Antwort: Sommerfest\r\nX-Autoreply: "
              "yes\r\n",
              "Ich bin im Urlaub. Zum Abmelden vom Training schreiben Sie bitte dem Trainer.\r\n"),
         MessageClass::AutoReply,
         {},
         {}},
        {"OutOfOfficeByPrecedence",
         mail("From: Carla <carla@example.com>\r\nSubject: Out of Office\r\nPrecedence: auto_reply\r\n",
              "Please unsubscribe me... just kidding, back on Monday.\r\n"),
         MessageClass::AutoReply,
         {},
         {}},
        {"MailtoRequestEvenWhenMachineWritten",
         mail("From: Dora <Dora@Example.net>\r\nSubject: Abmelden\r\nAuto-Submitted: auto-generated\r\n",
              "This message was automatically generated by Gmail.\r\n"),
         MessageClass::Unsubscribe,
         {"U dora@example.net"},
         {}},
        {"ReplyAskingInItsFirstLines",
         mail("From: Emil <emil@example.com>\r\nSubject: Re: Sommerfest\r\nIn-Reply-To: "
              "<nl.4711@example.org>\r\n",
              "Hallo,\r\nich möchte keine Newsletter mehr bekommen.\r\nGruß Emil\r\n\r\n"
              "Am 01.12.2026 um 10:00 schrieb Turnverein:\r\n> Sommerfest am Samstag\r\n"),
         MessageClass::Unsubscribe,
         {"U emil@example.com"},
         kOriginalId},
        {"ReplyWithUnsubscribeOnlyInTheQuoteIsNoRequest",
         mail("From: Frieda <frieda@example.com>\r\nSubject: Re: Sommerfest\r\n"
              "References: <x@y> <nl.4711@example.org>\r\n",
              "Danke, wir kommen gern!\r\n\r\nAm 01.12.2026 um 10:00 schrieb Turnverein:\r\n"
              "> Newsletter abmelden: https://example.org/abmelden\r\n"),
         MessageClass::Other,
         {},
         {}},
        {"SubjectAustragen",
         mail("From: gustav@example.com\r\nSubject: Bitte austragen\r\nReferences: <a@b> "
              "<nl.4711@example.org>\r\n",
              "\r\n"),
         MessageClass::Unsubscribe,
         {"U gustav@example.com"},
         kOriginalId},
        {"UnrelatedMail",
         mail("From: Hanna <hanna@example.com>\r\nSubject: Schlüssel fürs Vereinsheim\r\n",
              "Kann ich den Schlüssel am Freitag abholen?\r\n"),
         MessageClass::Other,
         {},
         {}},
        {"SomeoneElsesNewsletterIsBulk",
         mail("From: Shop <news@shop.example>\r\nSubject: Angebote der Woche\r\nPrecedence: bulk\r\n"
              "List-Id: <angebote.shop.example>\r\n",
              "Zum Abmelden hier klicken: https://shop.example/unsubscribe\r\n"),
         MessageClass::AutoReply,
         {},
         {}},
        {"NotAMessageAtAll", QByteArray("\x00\xff garbage without headers", 25), MessageClass::Other, {}, {}},
    };
}

TEST(BounceReader, ReadsEachKindOfMessage) {
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        const ReadResult r = readInboxMessage(s.raw);
        EXPECT_EQ(int(r.kind), int(s.kind));
        QStringList found;
        for (const InboxFinding& f : r.findings) {
            found << QString(QChar(u"PTU"[f.kind])) + u' ' + f.address;
            EXPECT_EQ(f.originalMessageId, s.original);
            EXPECT_TRUE(f.date.isValid());
            EXPECT_FALSE(f.evidence.isEmpty());
        }
        EXPECT_EQ(found, s.findings);
    }
}

QByteArray sample(const char* name) {
    for (const Sample& s : samples())
        if (qstrcmp(s.name, name) == 0)
            return s.raw;
    return {};
}

TEST(BounceReader, KeepsTheServersWordsAsEvidence) {
    const ReadResult r = readInboxMessage(sample("Rfc3464UserUnknown"));
    ASSERT_EQ(r.findings.size(), 1);
    EXPECT_EQ(r.findings[0].status, QStringLiteral("5.1.1"));
    EXPECT_EQ(
        r.findings[0].evidence,
        QStringLiteral("Status 5.1.1: 550 5.1.1 <anna@example.net>: Recipient address rejected: User unknown "
                       "in virtual mailbox table"));
    EXPECT_EQ(readInboxMessage(sample("SubjectAustragen")).findings.value(0).evidence,
              QStringLiteral("Bitte austragen"));
}

TEST(BounceReader, FetchesWholeOnlyWhatMayMatter) {
    for (const Sample& s : samples()) {
        SCOPED_TRACE(s.name);
        const qsizetype end = s.raw.indexOf("\r\n\r\n");
        const QByteArray headers = end < 0 ? s.raw : s.raw.left(end + 2);
        if (s.kind == MessageClass::Bounce || s.kind == MessageClass::Unsubscribe) {
            EXPECT_TRUE(worthFetching(headers));  // never missed
        } else if (s.kind == MessageClass::AutoReply || QByteArray(s.name) == "UnrelatedMail") {
            EXPECT_FALSE(worthFetching(headers));
        }
    }
}

}  // namespace
}  // namespace zw::inbox

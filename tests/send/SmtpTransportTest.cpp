// The SMTP transport against a real server (aiosmtpd on loopback): delivery, one connection for many
// messages, how server answers and faults are classified, and the certificate checks.
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include "render/RenderInput.h"
#include "render/RenderMessage.h"
#include "send/SmtpTransport.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/MimeCheck.h"
#include "support/SmtpTestServer.h"
#include "template/BlockCycle.h"

namespace zw::send {
namespace {

using test::SmtpFaults;
using test::SmtpTestServer;
using test::TestCertificate;
using test::TestSecurity;

const QString kPassword = QString::fromLatin1(SmtpTestServer::kPassword);

// The shipped default newsletter as the window would render it.
QByteArray shippedNewsletter(const test::TempFolder& folder) {
    test::FakePrompts prompts;
    const QString images = test::shippedDataFolder() + QStringLiteral("Images/");
    const RebuildResult loaded =
        loadTemplate(test::shippedDataFolder() + QStringLiteral("Zettelwerk_Vorlage.nld"), images,
                     BlockFiles(folder.path()));
    RenderInput input = renderInputFromSettings(loaded.settings, "01.12.2026", folder.path(), images);
    input.copyFolder = folder.path();
    RenderMessage(input, folder.file(QStringLiteral("newsletter.eml")), prompts);
    return test::readAll(folder.file(QStringLiteral("newsletter.eml")));
}

// A small message whose body holds the lines SMTP itself gives a meaning: a lone dot ends the data
// unless the client doubles it.
QByteArray smallMessage(int number) {
    return test::crlf({"From: versand@example.org", "To: leser@example.net",
                       "Subject: Nachricht " + QByteArray::number(number), "", "Erste Zeile", ".",
                       "..zwei Punkte", ".Punkt am Anfang", "Ende"});
}

TEST(SmtpTransport, DeliversTheNewsletterByteForByte) {
    for (const TestSecurity security : {TestSecurity::StartTls, TestSecurity::ImplicitTls}) {
        SCOPED_TRACE(int(security));
        test::TempFolder folder;
        const QByteArray newsletter = shippedNewsletter(folder);
        SmtpTestServer server({security, TestCertificate::Valid, true});
        SmtpTransport transport(server.profile(), kPassword);

        const SendResult r = transport.send("leser@example.net", newsletter);

        EXPECT_EQ(r.outcome, Outcome::Sent) << r.message.toStdString();
        EXPECT_EQ(r.code, 250);
        const QList<test::ReceivedMessage> received = server.received();
        ASSERT_EQ(received.size(), 1);
        EXPECT_EQ(r.serverText, QStringLiteral("250 2.0.0 Ok: queued as T000001"));
        EXPECT_EQ(received[0].sender, "versand@example.org");
        EXPECT_EQ(received[0].recipients, QList<QByteArray>{"leser@example.net"});
        EXPECT_EQ(received[0].content, newsletter);
        const test::MimeNewsletter parsed = test::parseNewsletter(received[0].content);
        EXPECT_TRUE(parsed.problems.isEmpty()) << parsed.problems.join(u'\n').toStdString();
        EXPECT_FALSE(parsed.pictures.isEmpty());
        EXPECT_EQ(server.logins(), 1);
    }
}

TEST(SmtpTransport, SendsManyMessagesOverTheConnectionItVerified) {
    SmtpTestServer server;
    SmtpTransport transport(server.profile(), kPassword);

    const SendResult verified = transport.verify();
    EXPECT_EQ(verified.outcome, Outcome::Sent) << verified.message.toStdString();
    EXPECT_TRUE(server.received().isEmpty());
    constexpr int kMessages = 25;
    for (int k = 1; k <= kMessages; ++k)
        ASSERT_EQ(transport.send("leser" + QByteArray::number(k) + "@example.net", smallMessage(k)).outcome,
                  Outcome::Sent);

    const QList<test::ReceivedMessage> received = server.received();
    ASSERT_EQ(received.size(), kMessages);
    for (int k = 1; k <= kMessages; ++k) {
        EXPECT_EQ(received[k - 1].content, smallMessage(k));
        EXPECT_EQ(received[k - 1].connection, 1);
    }
    EXPECT_EQ(server.connections(), 1);
    EXPECT_EQ(server.logins(), 1);
}

// One fault of the server, how the transport must classify it, and what the server must hold after it.
struct FaultCase {
    const char* name;
    SmtpFaults faults;
    Outcome outcome;
    int code;
    const char* serverText;  // the start of the server's answer, "" for none
    const char* message;     // a part of the German message, with %1 for "localhost:PORT"
    int received;
    int connections;
};

void PrintTo(const FaultCase& c, std::ostream* out) {
    *out << c.name;
}

class SmtpTransportFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SmtpTransportFaults, AreClassifiedAndTheNextMessageGoesThrough) {
    const FaultCase& c = GetParam();
    SmtpTestServer server;
    SmtpTransport transport(server.profile(), kPassword);
    server.setFaults(c.faults);

    const SendResult r = transport.send("leser@example.net", smallMessage(1));

    EXPECT_EQ(r.outcome, c.outcome) << r.message.toStdString();
    EXPECT_EQ(r.code, c.code);
    EXPECT_EQ(r.serverText.left(qsizetype(qstrlen(c.serverText))), QString::fromUtf8(c.serverText));
    const QString serverName = QStringLiteral("localhost:%1").arg(server.port());
    EXPECT_TRUE(r.message.contains(QString::fromUtf8(c.message).replace(QStringLiteral("%1"), serverName)))
        << r.message.toStdString();
    EXPECT_EQ(server.received().size(), c.received);
    EXPECT_EQ(server.connections(), c.connections);

    // The campaign goes on: once the server behaves, the next message is accepted.
    server.setFaults({});
    EXPECT_EQ(transport.send("zweiter@example.net", smallMessage(2)).outcome, Outcome::Sent);
    EXPECT_EQ(server.countsByRecipient().value("zweiter@example.net"), 1);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(SmtpTransport, SmtpTransportFaults, ::testing::Values(
    FaultCase{"TemporaryRecipient", {.temporaryRcpt = {1}}, Outcome::Temporary, 451, "451 4.3.0",
              "Der Server %1 nimmt die Nachricht an leser@example.net vorläufig nicht an: 451", 0, 1},
    FaultCase{"UnknownRecipient", {.refused = {"leser@example.net"}}, Outcome::RecipientRefused, 550,
              "550 5.1.1 <leser@example.net>: Recipient address rejected",
              "Der Server %1 lehnt die Nachricht an leser@example.net ab: 550 5.1.1", 0, 1},
    // The whole message went out before the drop: it may have arrived, so it is not sent again here.
    FaultCase{"DroppedInData", {.dropInData = {1}}, Outcome::AnswerLost, 0, "",
              "Die Verbindung zum Server %1 ist nach dem Senden der Nachricht an leser@example.net abgebrochen", 0,
              1},
    FaultCase{"AnswerDroppedAfterData", {.dropAfterData = {1}}, Outcome::AnswerLost, 0, "",
              "Sie ist vielleicht angekommen (Antwort nach dem Senden verloren)", 1, 1},
    FaultCase{"ClosedAfterTheMessage", {.closeAfter = {1}}, Outcome::Sent, 250, "250 2.0.0 Ok", "", 1, 1},
    FaultCase{"SlowAnswers", {.delayMs = 100}, Outcome::Sent, 250, "250 2.0.0 Ok", "", 1, 1},
    FaultCase{"SenderRefused", {.refuseSender = true}, Outcome::Fatal, 553, "553 5.7.1",
              "Der Server %1 lehnt den Absender versand@example.org ab: 553", 0, 1},
    FaultCase{"LoginRefused", {.refuseLogin = true}, Outcome::Fatal, 535, "535 5.7.8",
              "Die Anmeldung am Server %1 wurde abgelehnt: 535", 0, 1}),
    [](const ::testing::TestParamInfo<FaultCase>& info) { return std::string(info.param.name); });
// clang-format on

// A server that keeps silent, or answers a byte at a time, is given up within its limit (here 2
// seconds for a command, 3 for the end of a message), and the next message goes through.
TEST(SmtpTransport, SilentServersAreGivenUpWithinTheirLimit) {
    const struct {
        const char* name;
        SmtpFaults faults;
        Outcome outcome;
        const char* message;
        int received;
        qint64 limitMs;
    } rows[] = {
        {"NoAnswerToMailFrom", {.stallMail = true}, Outcome::Temporary,
         "Der Server %1 antwortet seit 2 Sekunden nicht. Die Nachricht an leser@example.net wird später noch "
         "einmal gesendet.",
         0, 2000},
        {"MailFromAnswerDrips", {.dripReply = "MAIL", .dripMs = 400}, Outcome::Temporary,
         "Der Server %1 antwortet seit 2 Sekunden nicht. Die Nachricht an leser@example.net wird später noch "
         "einmal gesendet.",
         0, 2000},
        {"EndOfDataAnswerDrips", {.dripReply = "DATA", .dripMs = 400}, Outcome::AnswerLost,
         "Der Server %1 antwortet seit 3 Sekunden nicht auf das Ende der Nachricht an leser@example.net. Sie "
         "ist vielleicht angekommen (Antwort nach dem Senden verloren).",
         1, 3000},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SmtpTestServer server;
        SenderProfile profile = server.profile();
        profile.answerTimeout = 2;
        profile.dataEndTimeout = 3;
        SmtpTransport transport(profile, kPassword);
        ASSERT_EQ(transport.verify().outcome, Outcome::Sent);
        server.setFaults(row.faults);

        QElapsedTimer waited;
        waited.start();
        const SendResult r = transport.send("leser@example.net", smallMessage(1));
        const qint64 elapsed = waited.elapsed();

        EXPECT_EQ(r.outcome, row.outcome) << r.message.toStdString();
        EXPECT_EQ(r.message,
                  QString::fromUtf8(row.message).replace(u"%1"_qs, u"localhost:%1"_qs.arg(server.port())));
        EXPECT_TRUE(r.serverText.isEmpty()) << "no answer of an earlier command stands for this one";
        EXPECT_GE(elapsed, row.limitMs - 100);
        EXPECT_LT(elapsed, row.limitMs + 4000) << "the trickle must not stretch the limit";
        EXPECT_EQ(server.received().size(), row.received);
        EXPECT_EQ(server.connections(), 1) << "never sent again at once";

        server.setFaults({});
        const SendResult next = transport.send("zweiter@example.net", smallMessage(2));
        EXPECT_EQ(next.outcome, Outcome::Sent) << next.message.toStdString();
    }
}

// A server the transport must not trust, and the start of the German message it gives (%1: the
// server's name).
struct UntrustedCase {
    TestSecurity server;
    TestCertificate certificate;
    Security profile;
    const char* message;
};

TEST(SmtpTransport, RefusesUntrustedServersWithoutSendingAnything) {
    const char* const untrusted = "Das Zertifikat des Servers %1 ist nicht vertrauenswürdig. ";
    for (const UntrustedCase& c : {
             UntrustedCase{TestSecurity::StartTls, TestCertificate::OtherHost, Security::StartTls,
                           "Es ist für einen anderen Servernamen als \"localhost\" ausgestellt."},
             UntrustedCase{TestSecurity::StartTls, TestCertificate::Expired, Security::StartTls,
                           "Es ist abgelaufen."},
             UntrustedCase{TestSecurity::StartTls, TestCertificate::UnknownAuthority, Security::StartTls,
                           "Es stammt von keiner bekannten Zertifizierungsstelle."},
             UntrustedCase{TestSecurity::ImplicitTls, TestCertificate::Expired, Security::ImplicitTls,
                           "Es ist abgelaufen."},
             // A server that offers no STARTTLS (or a man in the middle who strips it) gets no password.
             UntrustedCase{TestSecurity::None, TestCertificate::Valid, Security::StartTls,
                           "Der Server %1 bietet keine verschlüsselte Verbindung (STARTTLS) an."},
         }) {
        SCOPED_TRACE(c.message);
        SmtpTestServer server({c.server, c.certificate, true});
        SenderProfile profile = server.profile();
        profile.security = c.profile;
        SmtpTransport transport(profile, kPassword);
        QString expected = QString::fromUtf8(c.message);
        if (c.server != TestSecurity::None)
            expected.prepend(QString::fromUtf8(untrusted));
        expected.replace(QStringLiteral("%1"), QStringLiteral("localhost:%1").arg(server.port()));

        for (const SendResult& r :
             {transport.verify(), transport.send("leser@example.net", smallMessage(1))}) {
            EXPECT_EQ(r.outcome, Outcome::Fatal);
            EXPECT_TRUE(r.message.startsWith(expected)) << r.message.toStdString();
            // The report's server answer is then the reason, not the lines the server greeted with.
            EXPECT_EQ(r.serverText, QString()) << r.serverText.toStdString();
        }
        EXPECT_TRUE(server.received().isEmpty());
        EXPECT_EQ(server.logins() + server.refusedLogins(), 0);
    }
}

TEST(SmtpTransport, SpeaksPlainSmtpOnlyToThisMachine) {
    SmtpTestServer server({TestSecurity::None, TestCertificate::Valid, false});
    SenderProfile profile = server.profile();
    EXPECT_EQ(SmtpTransport(profile, {}).send("leser@example.net", smallMessage(1)).outcome, Outcome::Sent);
    profile.server = QStringLiteral("127.0.0.1");
    EXPECT_EQ(SmtpTransport(profile, {}).send("leser@example.net", smallMessage(2)).outcome, Outcome::Sent);
    EXPECT_EQ(server.received().size(), 2);

    for (const char* host : {"mail.example.org", "192.168.1.10", "localhost.example.org"}) {
        profile.server = QString::fromLatin1(host);
        const SendResult r = SmtpTransport(profile, kPassword).verify();
        EXPECT_EQ(r.outcome, Outcome::Fatal) << host;
        EXPECT_EQ(r.message,
                  QStringLiteral("Ohne Verschlüsselung verbindet sich Zettelwerk nur mit einem Mailserver "
                                 "auf diesem Rechner. Für den Server %1:%2 wählen Sie bitte STARTTLS oder "
                                 "SSL/TLS.")
                      .arg(QString::fromLatin1(host))
                      .arg(profile.port));
    }
}

TEST(SmtpTransport, NamesTheServerItCannotReach) {
    SmtpTestServer server;
    const SenderProfile profile = server.profile();
    server.stop();
    const SendResult r = SmtpTransport(profile, kPassword).send("leser@example.net", smallMessage(1));
    EXPECT_EQ(r.outcome, Outcome::Fatal);
    EXPECT_EQ(r.message,
              QStringLiteral("Der Server localhost:%1 ist nicht erreichbar: Er nimmt keine Verbindung an.")
                  .arg(server.port()));
}

}  // namespace
}  // namespace zw::send

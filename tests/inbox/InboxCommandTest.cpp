#include <gtest/gtest.h>

#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>

#include "inbox/InboxTestSupport.h"
#include "inbox/ui/InboxPart.h"
#include "inbox/ui/InboxReviewDialog.h"
#include "inbox/ui/IncomingServerDialog.h"
#include "send/BlockList.h"
#include "support/FakePrompts.h"
#include "support/ImapTestServer.h"

namespace zw::inbox {
namespace {

using namespace zw::test;

struct Outcome {
    int status = -1;
    QString out, err;
};

Outcome zettelwerkSend(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZETTELWERK_IMAP_PASSWORD"),
                       QString::fromLatin1(ImapTestServer::kPassword));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk-send"), arguments);
    process.waitForFinished(60000);
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

TEST(InboxCommand, PrintsTheFindingsAndTakesThemWithApply) {
    ImapTestServer server;
    QTemporaryDir work;
    send::saveProfile(server.profile(), send::profilePath(work.path()));
    const QStringList folder = {QStringLiteral("--program-folder"), work.path()};
    const auto ids =
        sendCampaign(work.path(), QStringLiteral("Herbst"), {"anna@example.net", "bernd@example.com"});
    server.deliver(returning(failedDsn("anna@example.net", "5.1.1"), ids["anna@example.net"]));
    server.deliver(returning(failedDsn("bernd@example.com", "4.2.2"), ids["bernd@example.com"]));

    const Outcome look = zettelwerkSend(folder + QStringList{"--inbox"});
    EXPECT_EQ(look.status, 0) << look.err.toStdString();
    const QStringList lines = look.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2) << look.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"[x] unzustellbar\tanna@example.net\t")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith(u"[ ] vorübergehend unzustellbar\tbernd@example.com\t"));
    EXPECT_TRUE(look.err.contains(
        u"2 neue Nachrichten gelesen; 2 offene Funde, 1 für die Sperrliste vorgeschlagen."));
    EXPECT_TRUE(send::BlockList::load(send::blockListPath(work.path())).entries().isEmpty());

    // What was only looked at stays open; --apply takes the proposed ones.
    const Outcome take = zettelwerkSend(folder + QStringList{"--inbox", "--apply"});
    EXPECT_EQ(take.out, look.out);
    EXPECT_TRUE(take.err.contains(u"1 Adressen auf die Sperrliste gesetzt.")) << take.err.toStdString();
    const send::BlockList blocks = send::BlockList::load(send::blockListPath(work.path()));
    ASSERT_EQ(blocks.entries().size(), 1);
    EXPECT_EQ(blocks.entries()[0].reason, QStringLiteral("unzustellbar"));

    EXPECT_EQ(zettelwerkSend(folder + QStringList{"--unblock", "ANNA@example.net"}).status, 0);
    EXPECT_EQ(zettelwerkSend(folder + QStringList{"--unblock", "anna@example.net"}).status, 1);
    EXPECT_EQ(zettelwerkSend(folder + QStringList{"--block", "carla@example.com"}).status, 0);
    EXPECT_EQ(send::BlockList::load(send::blockListPath(work.path())).entries().value(0).reason,
              QStringLiteral("von Hand"));
    EXPECT_EQ(zettelwerkSend(folder + QStringList{"--block", "keine Adresse"}).status, 2);
}

// The three kinds apart: the candidates, the sender's problem once per provider, the bounce of nobody;
// --apply takes the permanent one only and says what it left alone.
TEST(InboxCommand, PrintsTheSendersProblemsApartAndLeavesThemAlone) {
    ImapTestServer server;
    QTemporaryDir work;
    send::saveProfile(server.profile(), send::profilePath(work.path()));
    const auto ids = sendCampaign(work.path(), QStringLiteral("Advent"),
                                  {"anna@example.net", "bernd@t-online.de", "carla@t-online.de"});
    server.deliver(returning(failedDsn("anna@example.net", "5.1.1"), ids["anna@example.net"]));
    for (const char* member : {"bernd@t-online.de", "carla@t-online.de"})
        server.deliver(
            returning(samples::dsn(QByteArray("Final-Recipient: rfc822; ") + member +
                                   "\r\nAction: failed\r\nStatus: 5.7.1\r\nDiagnostic-Code: smtp; 554 "
                                   "IP=192.0.2.10 - A problem occurred.\r\n\r\n"),
                      ids[member]));
    server.deliver(returning(failedDsn("fremd@example.com", "5.1.1"), ids["anna@example.net"]));

    const Outcome take = zettelwerkSend({"--program-folder", work.path(), "--inbox", "--apply"});
    EXPECT_EQ(take.status, 0) << take.err.toStdString();
    const QStringList lines = take.out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << take.out.toStdString();
    EXPECT_TRUE(lines[0].startsWith(u"[x] unzustellbar\tanna@example.net\t"));
    EXPECT_TRUE(lines[1].startsWith(u"[-] Problem beim Absender\tT-Online (2 Adressen)\t"));
    EXPECT_TRUE(lines[1].endsWith(u"\tAdvent\tStatus 5.7.1: 554 IP=192.0.2.10 - A problem occurred."));
    EXPECT_TRUE(lines[2].startsWith(u"[-] nicht zuzuordnen (unzustellbar)\tfremd@example.com\t"));
    EXPECT_TRUE(
        take.err.contains(u"1 Adressen auf die Sperrliste gesetzt.\n2 Probleme beim Absender nicht "
                          u"übernommen: Sie sperren niemanden."))
        << take.err.toStdString();
    const send::BlockList blocks = send::BlockList::load(send::blockListPath(work.path()));
    ASSERT_EQ(blocks.entries().size(), 1);
    EXPECT_EQ(blocks.entries()[0].address, QStringLiteral("anna@example.net"));
}

// The menu command: without an incoming server it asks for one first, then reads the inbox off the
// user-interface thread and shows the review; a refused login is said, nothing else happens.
TEST(InboxCommand, MenuCommandSetsUpReadsAndReviews) {
    ImapTestServer server;
    QTemporaryDir work;
    send::SenderProfile profile = server.profile();
    const send::SenderProfile incoming = profile;
    profile.imapServer.clear();
    send::saveProfile(profile, send::profilePath(work.path()));
    const auto ids = sendCampaign(work.path(), QStringLiteral("Herbst"), {"anna@example.net"});
    server.deliver(returning(failedDsn("anna@example.net", "5.1.1"), ids["anna@example.net"]));

    FakePrompts prompts;
    QString password = QString::fromLatin1(ImapTestServer::kPassword);
    QStringList asked;
    InboxPart part(nullptr, work.path(), prompts, [&](const send::SenderProfile& login) {
        asked << login.user + u'@' + login.server;
        return std::optional<QString>(password);
    });
    part.RuecklaeuferundAbmeldungenpruefen1Click();
    ASSERT_NE(part.serverDialog(), nullptr);  // no incoming server yet
    part.serverDialog()->ServerEdit->setText(incoming.imapServer);
    part.serverDialog()->PortSpinBox->setValue(incoming.imapPort);
    part.serverDialog()->UserEdit->setText(incoming.imapUser);
    QSignalSpy finished(&part, &InboxPart::checkFinished);
    part.serverDialog()->accept();  // saved; the check goes on by itself
    ASSERT_TRUE(finished.wait(30000));
    EXPECT_EQ(asked, QStringList({"versand@localhost"}));
    EXPECT_TRUE(prompts.errors.isEmpty()) << prompts.errors.join(u'\n').toStdString();
    ASSERT_NE(part.reviewDialog(), nullptr);
    EXPECT_EQ(part.reviewDialog()->Table->rowCount(), 1);
    EXPECT_EQ(part.reviewDialog()->Table->item(0, 0)->text(), QStringLiteral("anna@example.net"));
    part.reviewDialog()->close();

    password = QStringLiteral("falsch");
    part.RuecklaeuferundAbmeldungenpruefen1Click();
    ASSERT_TRUE(finished.wait(30000));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].contains(u"Anmeldung wurde abgelehnt")) << prompts.errors[0].toStdString();
}

}  // namespace
}  // namespace zw::inbox

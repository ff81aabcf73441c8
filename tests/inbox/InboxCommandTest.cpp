#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "inbox/InboxTestSupport.h"
#include "send/BlockList.h"
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

}  // namespace
}  // namespace zw::inbox

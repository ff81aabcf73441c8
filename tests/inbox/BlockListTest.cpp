#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "send/BlockList.h"
#include "send/CsvReader.h"

namespace zw::send {
namespace {

const QDateTime kWhen(QDate(2026, 12, 1), QTime(9, 30));

TEST(BlockList, WritesWhatASpreadsheetReadsAndReadsItBack) {
    BlockList list;
    EXPECT_TRUE(list.add(
        {"anna@example.net", "unzustellbar", kWhen, "Status 5.1.1: 550 User unknown", "Sommerfest"}));
    EXPECT_TRUE(list.add({"bernd@example.com", "Abmeldung", kWhen, "Re: \"Herbst\"; bitte\nabmelden", {}}));
    EXPECT_FALSE(list.add({"ANNA@example.net", "von Hand", kWhen, {}, {}}));  // the first reason stays

    const QByteArray csv = list.toCsv();
    EXPECT_EQ(csv,
              "\xEF\xBB\xBF"
              "Adresse;Grund;Datum;Nachweis;Versand\r\n"
              "anna@example.net;unzustellbar;2026-12-01 09:30;Status 5.1.1: 550 User unknown;Sommerfest\r\n"
              "bernd@example.com;Abmeldung;2026-12-01 09:30;\"Re: \"\"Herbst\"\"; bitte abmelden\";\r\n");
    // The project's own list reader takes it as a list of addresses, so it also works as --exclude.
    const RecipientList asList = readRecipientList(csv);
    ASSERT_EQ(asList.recipients.size(), 2);
    EXPECT_EQ(asList.recipients[1].address, QStringLiteral("bernd@example.com"));

    const BlockList back = BlockList::parse(csv);
    ASSERT_EQ(back.entries().size(), 2);
    EXPECT_EQ(back.entries()[1].evidence, QStringLiteral("Re: \"Herbst\"; bitte abmelden"));
    EXPECT_EQ(back.entries()[0].date, kWhen);
    EXPECT_EQ(back.toCsv(), csv);
}

TEST(BlockList, ReadsAFileEditedInASpreadsheet) {
    // Columns moved, another separator, Windows-1252, a row without address and one hand-typed.
    const QByteArray edited =
        "Grund,Adresse,Notiz\r\nunzustellbar,anna@example.net,x\r\n,,\r\n"
        "von Hand,J\xFCrgen@example.de,\r\n";
    const BlockList list = BlockList::parse(edited);
    ASSERT_EQ(list.entries().size(), 2);
    EXPECT_EQ(list.entries()[0].reason, QStringLiteral("unzustellbar"));
    EXPECT_NE(list.find(QStringLiteral("jürgen@EXAMPLE.de")), nullptr);
    EXPECT_EQ(BlockList::parse("carla@example.com\n").entries().value(0).address,
              QStringLiteral("carla@example.com"));
}

TEST(BlockList, LeavesBlockedRecipientsOutAndRemovesOnRequest) {
    BlockList blocks;
    blocks.add({"Anna@Example.net", "Abmeldung", kWhen, {}, {}});
    blocks.add({"dora@example.com", "unzustellbar", kWhen, {}, {}});
    RecipientList list = readRecipientList("anna@example.net\nbernd@example.com\ncarla@example.com\n");
    const QList<BlockedRecipient> blocked = leaveOutBlocked(list, blocks);
    ASSERT_EQ(blocked.size(), 1);
    EXPECT_EQ(blocked[0].recipient.line, 1);
    EXPECT_EQ(blocked[0].entry.reason, QStringLiteral("Abmeldung"));
    ASSERT_EQ(list.recipients.size(), 2);
    EXPECT_EQ(list.recipients[0].address, QStringLiteral("bernd@example.com"));
    EXPECT_EQ(blockedCountText(1), QStringLiteral("1 Adresse der Liste steht auf der Sperrliste"));
    EXPECT_EQ(blockedCountText(3), QStringLiteral("3 Adressen der Liste stehen auf der Sperrliste"));

    EXPECT_TRUE(blocks.remove(QStringLiteral("ANNA@example.net")));
    EXPECT_FALSE(blocks.remove(QStringLiteral("anna@example.net")));
    EXPECT_EQ(blocks.find(QStringLiteral("anna@example.net")), nullptr);
    EXPECT_NE(blocks.find(QStringLiteral("dora@example.com")), nullptr);
}

TEST(BlockList, ImportsAFileAndSavesPrivately) {
    QTemporaryDir dir;
    const QString listPath = dir.filePath(QStringLiteral("alt.txt"));
    QFile file(listPath);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("anna@example.net\nkeine adresse\ncarla@example.com\n");
    file.close();
    BlockList blocks;
    blocks.add({"carla@example.com", "Abmeldung", kWhen, {}, {}});
    QList<RejectedRow> rejected;
    EXPECT_EQ(importIntoBlockList(blocks, listPath, &rejected), 1);
    EXPECT_EQ(rejected.size(), 1);
    EXPECT_EQ(blocks.find(QStringLiteral("anna@example.net"))->reason, QStringLiteral("eingelesen"));

    const QString path = blockListPath(dir.path());
    EXPECT_TRUE(path.endsWith(QStringLiteral("/Sperrliste.csv")));
    EXPECT_TRUE(BlockList::load(path).entries().isEmpty());
    blocks.save(path);
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());
    EXPECT_EQ(BlockList::load(path).entries().size(), 2);
}

}  // namespace
}  // namespace zw::send

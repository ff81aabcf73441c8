#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "Samples.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "support/Files.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"
#include "template/NldFormat.h"

namespace zw {
namespace {

using test::blockLines;
using test::crlf;
using test::readAll;
using test::sampleSettings;
using test::sampleSettingsLines;
using test::TempFolder;
using test::writeAll;

TEST(WriteTemplate, WithoutBlocksIsTheSettingsSectionAndNothingMore) {
    const QByteArray bytes = writeTemplate(sampleSettings(), {});
    EXPECT_EQ(bytes, crlf(sampleSettingsLines()));

    const NewsletterTemplate back = parseTemplate(bytes);
    EXPECT_TRUE(back.blocks.isEmpty());
    EXPECT_EQ(back.settings, sampleSettings());
}

TEST(WriteTemplate, ThreeBlocksFollowTheDateOnLineEachAfterABlankLineAndItsHeader) {
    const QByteArray bytes = writeTemplate(sampleSettings(), {blockLines("A"), blockLines("B"), blockLines("C")});
    const QList<QByteArray> expected = sampleSettingsLines() + QList<QByteArray>{" ", "[BLOCK001]"} + blockLines("A") +
                                       QList<QByteArray>{" ", "[BLOCK002]"} + blockLines("B") +
                                       QList<QByteArray>{" ", "[BLOCK003]"} + blockLines("C");
    EXPECT_EQ(bytes, crlf(expected));
    EXPECT_TRUE(bytes.endsWith("</b><br>zweite Zeile\r\n"));
}

TEST(WriteTemplate, DateOnIsWrittenFromTheCheckBoxState) {
    TemplateSettings settings = sampleSettings();
    for (const QByteArray& held : {QByteArray("FALSE"), QByteArray("true"), QByteArray(), QByteArray("1")}) {
        settings.DateOn = held;
        EXPECT_TRUE(writeTemplate(settings, {}).endsWith("\r\nDateOn=FALSE\r\n")) << held.constData();
    }
    settings.DateOn = "TRUE";
    EXPECT_TRUE(writeTemplate(settings, {}).endsWith("\r\nDateOn=TRUE\r\n"));
}

TEST(WriteTemplate, HeaderNumbersHaveThreeDigitsUpToTheLimit) {
    QList<QList<QByteArray>> blocks(NewsletterTemplate::kMaxBlocks, test::emptyBlock());
    const QList<QByteArray> lines = splitLines(writeTemplate(sampleSettings(), blocks));
    ASSERT_EQ(lines.size(), 20 + 7 * NewsletterTemplate::kMaxBlocks);
    EXPECT_EQ(lines[21], QByteArray("[BLOCK001]"));
    EXPECT_EQ(lines[21 + 7 * 11], QByteArray("[BLOCK012]"));
    EXPECT_EQ(lines[21 + 7 * 998], QByteArray("[BLOCK999]"));
}

// No value may spill onto a line of its own: the reader would take it for the next field, or the
// next key, and every later field of the block would shift.
struct BreakRow {
    const char* name;
    QByteArray lineBreak;
};

class LineBreakInAValue : public ::testing::TestWithParam<BreakRow> {};

TEST_P(LineBreakInAValue, NeverReachesTheFile) {
    const QByteArray br = GetParam().lineBreak;
    TemplateSettings settings = sampleSettings();
    settings.Titel1 = "erste" + br + "zweite";
    settings.UnsubscribeText = "Ab" + br + "melden";
    QList<QByteArray> block = blockLines("A");
    block[0] = "\xDC" "ber" + br + "schrift";
    block[4] = "Absatz eins" + br + "Absatz zwei";

    const QByteArray bytes = writeTemplate(settings, {block, blockLines("B")});
    const QList<QByteArray> lines = splitLines(bytes);
    ASSERT_EQ(lines.size(), 20 + 2 * 7);

    const NewsletterTemplate back = parseTemplate(bytes);
    EXPECT_FALSE(back.settings.Titel1.contains('\r') || back.settings.Titel1.contains('\n'));
    EXPECT_TRUE(back.settings.Titel1.startsWith("erste") && back.settings.Titel1.endsWith("zweite"));
    EXPECT_EQ(back.settings.Titel2, sampleSettings().Titel2);
    EXPECT_EQ(back.settings.DateOn, QByteArray("TRUE"));
    ASSERT_EQ(back.blocks.size(), 2);
    EXPECT_TRUE(back.blocks[0].Headline.startsWith("\xDC" "ber") && back.blocks[0].Headline.endsWith("schrift"));
    EXPECT_EQ(back.blocks[0].Picture, block[1]);
    EXPECT_EQ(back.blocks[0].LinkUrl, block[3]);
    EXPECT_TRUE(back.blocks[0].Text.startsWith("Absatz eins") && back.blocks[0].Text.endsWith("Absatz zwei"));
    EXPECT_EQ(back.blocks[1], NewsBlock::fromLines(blockLines("B")));
}

INSTANTIATE_TEST_SUITE_P(Breaks, LineBreakInAValue,
                         ::testing::Values(BreakRow{"CrLf", "\r\n"}, BreakRow{"Lf", "\n"}, BreakRow{"Cr", "\r"}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Writing the template file from the block edit files ---

TEST(WriteTemplateFile, TakesTheBlockFilesInAscendingNameOrderAndNumbersThemAfresh) {
    TempFolder folder;
    const BlockFiles files(folder.subfolder(QStringLiteral("Programm")));
    // Created out of order and with a gap: the names decide the order, the position the number.
    files.write(7, blockLines("C"));
    files.write(1, blockLines("A"));
    files.write(3, blockLines("B"));
    const QString path = folder.file(QStringLiteral("Vorlage.nld"));

    const QByteArray written = writeTemplateFile(path, sampleSettings(), files);

    const QList<QByteArray> expected = sampleSettingsLines() + QList<QByteArray>{" ", "[BLOCK001]"} + blockLines("A") +
                                       QList<QByteArray>{" ", "[BLOCK002]"} + blockLines("B") +
                                       QList<QByteArray>{" ", "[BLOCK003]"} + blockLines("C");
    EXPECT_EQ(readAll(path), crlf(expected));
    EXPECT_EQ(written, crlf(expected));
}

TEST(WriteTemplateFile, CopiesTheBlockFileLinesVerbatim) {
    TempFolder folder;
    const BlockFiles files(folder.subfolder(QStringLiteral("Programm")));
    const QList<QByteArray> lines{"  \xDC" "berschrift mit Leerzeichen  ", "", "\tLink", "", "<i>kursiv</i>  "};
    files.write(1, lines);
    const QString path = folder.file(QStringLiteral("Vorlage.nld"));
    writeTemplateFile(path, sampleSettings(), files);
    EXPECT_TRUE(readAll(path).endsWith(crlf(QList<QByteArray>{" ", "[BLOCK001]"} + lines)));
}

TEST(WriteTemplateFile, AFailedWriteLeavesTheOldTemplateAndTheBlockFiles) {
    TempFolder folder;
    const BlockFiles files(folder.subfolder(QStringLiteral("Programm")));
    files.write(1, blockLines("A"));
    // A path below a file cannot be created, whoever runs the test.
    writeAll(folder.file(QStringLiteral("Vorlagen")), "keine Ordner");
    EXPECT_THROW(writeTemplateFile(folder.file(QStringLiteral("Vorlagen/x.nld")), sampleSettings(), files), Error);
    EXPECT_EQ(readAll(files.path(1)), crlf(blockLines("A")));
}

}  // namespace
}  // namespace zw

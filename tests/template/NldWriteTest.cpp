// Writing a template file, and reading back what was written.
#include <gtest/gtest.h>

#include "Samples.h"
#include "platform/FileIo.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

TEST(WriteTemplate, WithoutBlocksIsTheSettingsSectionAndNothingMore) {
    const QByteArray bytes = writeTemplate(sampleSettings(), {});
    EXPECT_EQ(bytes, crlf(sampleSettingsLines()));
    const NewsletterTemplate back = parseTemplate(bytes);
    EXPECT_TRUE(back.blocks.isEmpty());
    EXPECT_EQ(back.settings, sampleSettings());
}

TEST(WriteTemplate, BlocksFollowTheDateOnLineEachAfterABlankLineAndItsHeader) {
    QList<QByteArray> withText = blockLines("B");
    withText[0] = "[BLOCK] im Titel";
    withText[4] = "Verweis auf [BLOCK001] im Text";
    const QList<QList<QByteArray>> blocks{blockLines("A"), withText, emptyBlock()};
    const QByteArray bytes = writeTemplate(sampleSettings(), blocks);
    EXPECT_EQ(bytes, crlf(sampleSettingsLines() + QList<QByteArray>{" ", "[BLOCK001]"} + blockLines("A") +
                          QList<QByteArray>{" ", "[BLOCK002]"} + withText + QList<QByteArray>{" ", "[BLOCK003]"} +
                          emptyBlock()));
    const NewsletterTemplate back = parseTemplate(bytes);
    ASSERT_EQ(back.blocks.size(), 3);
    for (qsizetype k = 0; k < 3; ++k) EXPECT_EQ(back.blocks[k].lines(), blocks[k]) << "block " << k + 1;
}

TEST(WriteTemplate, DateOnIsTrueOnlyForExactlyTRUE) {
    TemplateSettings settings = sampleSettings();
    for (const QByteArray held : {"FALSE", "true", "", "1"}) {
        settings.DateOn = held;
        EXPECT_TRUE(writeTemplate(settings, {}).endsWith("\r\nDateOn=FALSE\r\n")) << held.constData();
    }
    settings.DateOn = "TRUE";
    EXPECT_TRUE(writeTemplate(settings, {}).endsWith("\r\nDateOn=TRUE\r\n"));
}

// The layout and the preview text follow DateOn only when set, and come back as written; a template
// without them is written as before, and a reader that knows them reads them from any place.
TEST(WriteTemplate, LayoutAndPreviewTextOnlyWhenSetAndBackAsWritten) {
    const struct {
        QByteArray layout, preview;
        QList<QByteArray> lines;
        bool mobile;
    } rows[] = {
        {"", "", {}, false},
        {"mobil", "", {"Layout=mobil"}, true},
        {"klassisch",
         "Herbst=20 % f\xFCr alle",
         {"Layout=klassisch", "Vorschautext=Herbst=20 % f\xFCr alle"},
         false},
        {"", "Nur Vorschau", {"Vorschautext=Nur Vorschau"}, false},
    };
    for (const auto& row : rows) {
        TemplateSettings settings = sampleSettings();
        settings.Layout = row.layout, settings.Vorschautext = row.preview;
        const QByteArray bytes = writeTemplate(settings, {blockLines("A")});
        EXPECT_EQ(bytes, crlf(sampleSettingsLines() + row.lines + section(1, blockLines("A"))))
            << row.layout.constData();
        const NewsletterTemplate back = parseTemplate(bytes);
        EXPECT_EQ(back.settings, settings);
        EXPECT_EQ(back.settings.mobileLayout(), row.mobile);
        ASSERT_EQ(back.blocks.size(), 1);
    }
    QList<QByteArray> moved = sampleSettingsLines();
    moved.insert(2, "layout = mobil");
    EXPECT_TRUE(parseTemplate(crlf(moved)).settings.mobileLayout());
}

TEST(WriteTemplate, HeaderNumbersHaveThreeDigitsUpToTheLimit) {
    const QList<QByteArray> lines =
        splitLines(writeTemplate(sampleSettings(), QList<QList<QByteArray>>(NewsletterTemplate::kMaxBlocks)));
    ASSERT_EQ(lines.size(), 20 + 7 * NewsletterTemplate::kMaxBlocks);
    EXPECT_EQ(lines[21], QByteArray("[BLOCK001]"));
    EXPECT_EQ(lines[21 + 7 * 11], QByteArray("[BLOCK012]"));
    EXPECT_EQ(lines[21 + 7 * 998], QByteArray("[BLOCK999]"));
}

// No value may spill onto a line of its own: the reader would take it for the next field, or the
// next key, and every later field of the block would shift.
TEST(WriteTemplate, ALineBreakInAValueNeverReachesTheFile) {
    for (const QByteArray br : {"\r\n", "\n", "\r"}) {
        SCOPED_TRACE(br.toHex().constData());
        TemplateSettings settings = sampleSettings();
        settings.Titel1 = "erste" + br + "zweite";
        QList<QByteArray> block = blockLines("A");
        block[0] = "\xDC" "ber" + br + "schrift";
        block[4] = "Absatz eins" + br + "Absatz zwei";

        const QByteArray bytes = writeTemplate(settings, {block, blockLines("B")});
        ASSERT_EQ(splitLines(bytes).size(), 20 + 2 * 7);
        const NewsletterTemplate back = parseTemplate(bytes);
        EXPECT_TRUE(back.settings.Titel1.startsWith("erste") && back.settings.Titel1.endsWith("zweite"));
        EXPECT_EQ(back.settings.Titel2, sampleSettings().Titel2);
        ASSERT_EQ(back.blocks.size(), 2);
        const NewsBlock& first = back.blocks[0];
        EXPECT_TRUE(first.Headline.startsWith("\xDC" "ber") && first.Headline.endsWith("schrift"));
        EXPECT_EQ(first.Picture, block[1]);
        EXPECT_TRUE(first.Text.startsWith("Absatz eins") && first.Text.endsWith("Absatz zwei"));
        EXPECT_EQ(back.blocks[1].lines(), blockLines("B"));
    }
}

}  // namespace
}  // namespace zw::test

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "Samples.h"
#include "support/Files.h"
#include "template/NldFormat.h"

namespace zw {
namespace {

using test::blockLines;
using test::crlf;
using test::emptyBlock;
using test::sampleSettingsLines;

struct HeaderRow {
    const char* name;
    QByteArray line;
    bool header;
};

class BlockHeaderLine : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(BlockHeaderLine, IsAWholeLineOfBlockDigitsAndBracket) { EXPECT_EQ(isBlockHeader(GetParam().line), GetParam().header); }

INSTANTIATE_TEST_SUITE_P(Rows, BlockHeaderLine,
                         ::testing::Values(HeaderRow{"ThreeDigits", "[BLOCK001]", true},
                                           HeaderRow{"BlanksAround", "  [BLOCK012]\t ", true},
                                           HeaderRow{"OneDigit", "[BLOCK7]", true},
                                           HeaderRow{"FourDigits", "[BLOCK1000]", true},
                                           HeaderRow{"NoDigits", "[BLOCK]", false},
                                           HeaderRow{"LetterAmongDigits", "[BLOCK00A]", false},
                                           HeaderRow{"LowerCase", "[block001]", false},
                                           HeaderRow{"NoClosingBracket", "[BLOCK001", false},
                                           HeaderRow{"TextAfterHeader", "[BLOCK001] Nachtrag", false},
                                           HeaderRow{"TextBeforeHeader", "siehe [BLOCK001]", false},
                                           HeaderRow{"MereMention", "Die [BLOCK-Party] kommt", false},
                                           HeaderRow{"SettingsSection", "[SETTINGS]", false},
                                           HeaderRow{"BlankSeparator", " ", false},
                                           HeaderRow{"Empty", "", false}),
                         [](const auto& info) { return std::string(info.param.name); });

// The block sections of a file (after its settings), and the five lines each block must get. Blocks
// are numbered by their position: the k-th header is block k.
struct SectionsRow {
    const char* name;
    QList<QByteArray> blockPart;
    QList<QList<QByteArray>> expected;
};

class BlockSections : public ::testing::TestWithParam<SectionsRow> {};

TEST_P(BlockSections, GiveFiveLinesPerHeaderInFileOrder) {
    const QList<BlockSection> sections = readBlockSections(crlf(sampleSettingsLines() + GetParam().blockPart));
    ASSERT_EQ(sections.size(), GetParam().expected.size());
    for (qsizetype k = 0; k < sections.size(); ++k) {
        EXPECT_EQ(sections[k].number, k + 1) << "section " << k;
        EXPECT_EQ(sections[k].lines, GetParam().expected[k]) << "section " << k;
    }
}

const QList<QByteArray> kSep{" "};
QList<QByteArray> head(const char* header) { return {QByteArray(header)}; }

INSTANTIATE_TEST_SUITE_P(
    Rows, BlockSections,
    ::testing::Values(
        SectionsRow{"NoBlocks", {}, {}},
        SectionsRow{"ThreeInOrder",
                    kSep + head("[BLOCK001]") + blockLines("A") + kSep + head("[BLOCK002]") + blockLines("B") + kSep +
                        head("[BLOCK003]") + blockLines("C"),
                    {blockLines("A"), blockLines("B"), blockLines("C")}},
        SectionsRow{"BlockTextInHeadlineAndBody",
                    kSep + head("[BLOCK001]") +
                        QList<QByteArray>{"Die [BLOCK-Party] kommt", "", "[BLOCK", "", "Siehe [BLOCK002] weiter unten"} +
                        kSep + head("[BLOCK002]") + blockLines("B"),
                    {{"Die [BLOCK-Party] kommt", "", "[BLOCK", "", "Siehe [BLOCK002] weiter unten"}, blockLines("B")}},
        SectionsRow{"OutOfOrderHeadersNumberedByPosition",
                    kSep + head("[BLOCK003]") + blockLines("C") + kSep + head("[BLOCK001]") + blockLines("A") + kSep +
                        head("[BLOCK002]") + blockLines("B"),
                    {blockLines("C"), blockLines("A"), blockLines("B")}},
        SectionsRow{"GappedNumbers",
                    kSep + head("[BLOCK005]") + blockLines("A") + kSep + head("[BLOCK042]") + blockLines("B"),
                    {blockLines("A"), blockLines("B")}},
        SectionsRow{"RepeatedHeaderBothTakeTheLaterLines",
                    kSep + head("[BLOCK001]") + blockLines("A") + kSep + head("[BLOCK001]") + blockLines("B"),
                    {blockLines("B"), blockLines("B")}},
        SectionsRow{"RepeatedHeaderAroundAnother",
                    kSep + head("[BLOCK001]") + blockLines("A") + kSep + head("[BLOCK002]") + blockLines("B") + kSep +
                        head("[BLOCK001]") + blockLines("C"),
                    {blockLines("C"), blockLines("B"), blockLines("C")}},
        SectionsRow{"HeaderWithBlanksAround", kSep + head("  [BLOCK001] ") + blockLines("A"), {blockLines("A")}},
        SectionsRow{"ShortLastBlock",
                    kSep + head("[BLOCK001]") + blockLines("A") + kSep + head("[BLOCK002]") +
                        QList<QByteArray>{"nur Kopf", "C:\\b.jpg"},
                    {blockLines("A"), {"nur Kopf", "C:\\b.jpg", "", "", ""}}},
        SectionsRow{"HeaderIsTheLastLine",
                    kSep + head("[BLOCK001]") + blockLines("A") + kSep + head("[BLOCK002]"),
                    {blockLines("A"), emptyBlock()}},
        SectionsRow{"NextHeaderComesEarly",
                    head("[BLOCK001]") + QList<QByteArray>{"kurz", "C:\\k.jpg"} + head("[BLOCK002]") + blockLines("B"),
                    {{"kurz", "C:\\k.jpg", "", "", ""}, blockLines("B")}},
        SectionsRow{"TwoHeadersInARow", head("[BLOCK001]") + head("[BLOCK002]") + blockLines("B"),
                    {emptyBlock(), blockLines("B")}},
        SectionsRow{"RepeatedShortHeaderAtTheEnd",
                    kSep + head("[BLOCK001]") + blockLines("A") + kSep + head("[BLOCK001]") + QList<QByteArray>{"x"},
                    {{"x", "", "", "", ""}, {"x", "", "", "", ""}}},
        SectionsRow{"LinesBeyondTheFifthIgnored",
                    kSep + head("[BLOCK001]") + blockLines("A") + QList<QByteArray>{"sechste Zeile"} + kSep +
                        head("[BLOCK002]") + blockLines("B"),
                    {blockLines("A"), blockLines("B")}},
        SectionsRow{"EmptyFieldsKeptInPlace",
                    kSep + head("[BLOCK001]") + QList<QByteArray>{"", "", "", "", "nur Text"},
                    {{"", "", "", "", "nur Text"}}},
        SectionsRow{"LinesTakenVerbatim",
                    kSep + head("[BLOCK001]") + QList<QByteArray>{"  Kopf  ", "\tC:\\a.jpg", " ", "x ", " <b>y</b> "},
                    {{"  Kopf  ", "\tC:\\a.jpg", " ", "x ", " <b>y</b> "}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BlockSections, AcceptEveryKindOfLineEnd) {
    const QList<QByteArray> lines = sampleSettingsLines() + kSep + head("[BLOCK001]") + blockLines("A") + kSep +
                                    head("[BLOCK002]") + blockLines("B");
    for (const QByteArray& br : {QByteArray("\n"), QByteArray("\r")}) {
        const QList<BlockSection> sections = readBlockSections(lines.join(br));
        ASSERT_EQ(sections.size(), 2);
        EXPECT_EQ(sections[0].lines, blockLines("A"));
        EXPECT_EQ(sections[1].lines, blockLines("B"));
    }
}

TEST(ParseTemplate, ReadsWhatWriteTemplateWrote) {
    QList<QByteArray> withText = blockLines("B");
    withText[0] = "[BLOCK] im Titel";
    withText[4] = "Verweis auf [BLOCK001] im Text";
    const QList<QList<QByteArray>> blocks{blockLines("A"), withText, emptyBlock()};
    const NewsletterTemplate back = parseTemplate(writeTemplate(test::sampleSettings(), blocks));
    ASSERT_EQ(back.blocks.size(), 3);
    for (qsizetype k = 0; k < 3; ++k) EXPECT_EQ(back.blocks[k].lines(), blocks[k]) << "block " << k + 1;
    EXPECT_EQ(back.settings, test::sampleSettings());
}

}  // namespace
}  // namespace zw

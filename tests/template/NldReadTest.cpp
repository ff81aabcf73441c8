// Reading a template file: the settings by the rules of the INI format, the block sections by line.
#include <gtest/gtest.h>

#include "Samples.h"
#include "platform/Text.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

TEST(ReadSettings, FollowsTheIniRules) {
    const QByteArray long2048(2048, 'x');
    const struct {
        const char* name;
        QList<QByteArray> lines;
        QByteArray TemplateSettings::*field;
        QByteArray expected;
    } rows[] = {
        {"key in other case", {"[SETTINGS]", "TITEL1=Hallo"}, &TemplateSettings::Titel1, "Hallo"},
        {"section in other case", {"[Settings]", "Titel1=Hallo"}, &TemplateSettings::Titel1, "Hallo"},
        {"first of two keys", {"[SETTINGS]", "Titel1=erster", "titel1=zweiter"}, &TemplateSettings::Titel1, "erster"},
        {"first of two sections", {"[SETTINGS]", "Titel1=erster", "[SETTINGS]", "Titel1=zweiter"},
         &TemplateSettings::Titel1, "erster"},
        {"key only in a second section", {"[SETTINGS]", "Titel1=a", "[SETTINGS]", "Titel2=b"},
         &TemplateSettings::Titel2, ""},
        {"blanks around key and value", {"[SETTINGS]", "  Berteff  =   Betreff mit  Luft \t "},
         &TemplateSettings::Berteff, "Betreff mit  Luft"},
        {"value after the first equals", {"[SETTINGS]", "UnsubscribeLink=http://x.de/?a=1&b=2"},
         &TemplateSettings::UnsubscribeLink, "http://x.de/?a=1&b=2"},
        {"double quotes, blanks inside kept", {"[SETTINGS]", "Titel1=  \"  Hallo  \"  "}, &TemplateSettings::Titel1,
         "  Hallo  "},
        {"single quotes", {"[SETTINGS]", "Titel1='Hallo Welt'"}, &TemplateSettings::Titel1, "Hallo Welt"},
        {"unmatched quotes", {"[SETTINGS]", "Titel1=\"Hallo'"}, &TemplateSettings::Titel1, "\"Hallo'"},
        {"quote not at the end", {"[SETTINGS]", "Titel1=\"Zitat\" sagt er"}, &TemplateSettings::Titel1,
         "\"Zitat\" sagt er"},
        {"cut to 2047", {"[SETTINGS]", "ImpressumText=" + long2048}, &TemplateSettings::ImpressumText,
         long2048.left(2047)},
        {"line without equals", {"[SETTINGS]", "Titel1", "Titel1 Hallo", "Titel1=Hallo"}, &TemplateSettings::Titel1,
         "Hallo"},
        {"empty value counts", {"[SETTINGS]", "Titel1=", "Titel1=zweiter"}, &TemplateSettings::Titel1, ""},
        {"section ends at a bracket line", {"[SETTINGS]", "[BLOCK001]", "Titel2=b"}, &TemplateSettings::Titel2, ""},
        {"even an unclosed one", {"[SETTINGS]", "[Notiz", "Titel2=b"}, &TemplateSettings::Titel2, ""},
        {"keys before the section", {"Titel1=davor", "[SETTINGS]"}, &TemplateSettings::Titel1, ""},
        {"other section first", {"[ANDERES]", "Titel1=fremd", "[SETTINGS]", "Titel1=eigen"},
         &TemplateSettings::Titel1, "eigen"},
        {"Windows-1252 bytes kept", {"[SETTINGS]", "Berteff=Gr\xFC\xDF" "e \x80"}, &TemplateSettings::Berteff,
         "Gr\xFC\xDF" "e \x80"},
        {"control bytes but tab dropped",
         {"[SETTINGS]", QByteArrayLiteral("KopfLogo=C:\\x\\kopf.jpg\0\0\0\x1d\x7f\tneu.jpg\x01")},
         &TemplateSettings::KopfLogo, "C:\\x\\kopf.jpg\tneu.jpg"},
        {"DateOn missing reads TRUE", {"[SETTINGS]", "Titel1=a"}, &TemplateSettings::DateOn, "TRUE"},
        {"DateOn only in a later section", {"[SETTINGS]", "[X]", "DateOn=FALSE"}, &TemplateSettings::DateOn, "TRUE"},
        {"DateOn present but empty", {"[SETTINGS]", "DateOn="}, &TemplateSettings::DateOn, ""},
        {"DateOn in lower case kept", {"[SETTINGS]", "DateOn=true"}, &TemplateSettings::DateOn, "true"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(readSettings(crlf(row.lines)).*row.field, row.expected) << row.name;
}

TEST(ReadSettings, AcceptsEveryKindOfLineEnd) {
    for (const QByteArray br : {"\r\n", "\n", "\r"})
        EXPECT_EQ(readSettings(sampleSettingsLines().join(br) + br), sampleSettings()) << br.toHex().constData();
}

TEST(ReadSettings, NothingToReadGivesAllEmptyWithTheDateOn) {
    TemplateSettings expected;
    expected.DateOn = "TRUE";
    EXPECT_EQ(readSettings(QByteArray()), expected);
}

TEST(SettingPictures, AMovedAwayFileIsLookedForInTheImagesFolder) {
    TempFolder root;
    const QString images = root.subfolder(u"Images"_qs);
    const QString elsewhere = root.subfolder(u"Eigene Bilder ä"_qs);
    writeAll(elsewhere + u"da.jpg"_qs, "jpeg");
    const struct {
        QString stored;
        QString expected;
    } rows[] = {{elsewhere + u"da.jpg"_qs, elsewhere + u"da.jpg"_qs},
                {u"C:\\Eigene Dateien\\Grüße.jpg"_qs, images + u"Grüße.jpg"_qs},
                {QString(), images},
                {elsewhere, images}};  // a folder is no picture
    for (const auto& row : rows) {
        TemplateSettings settings;
        settings.Titel1 = "C:\\nicht\\da.jpg";  // not a picture setting: never touched
        TemplateSettings expected = settings;
        settings.KopfLogo = settings.SeperatorNews = settings.SeperatorImpressum = toStored(row.stored);
        expected.KopfLogo = expected.SeperatorNews = expected.SeperatorImpressum = toStored(row.expected);
        resolveSettingPictures(settings, images);
        EXPECT_EQ(settings, expected) << row.stored.toStdString();
    }
}

TEST(BlockHeader, IsAWholeLineOfBlockDigitsAndBracket) {
    for (const char* line : {"[BLOCK001]", "  [BLOCK012]\t ", "[BLOCK1000]"})
        EXPECT_TRUE(isBlockHeader(line)) << line;
    for (const char* line : {"[BLOCK]", "[BLOCK00A]", "[block001]", "[BLOCK001", "[BLOCK001] Nachtrag",
                             "siehe [BLOCK001]"})
        EXPECT_FALSE(isBlockHeader(line)) << line;
}

// The block part of a file (after its settings), and the five lines each block must get. Blocks are
// numbered by their position: the k-th header is block k.
TEST(BlockSections, GiveFiveLinesPerHeaderInFileOrder) {
    using Lines = QList<QByteArray>;
    const Lines a = blockLines("A"), b = blockLines("B"), c = blockLines("C");
    const Lines mentions{"Die [BLOCK-Party] kommt", "", "[BLOCK", "", "Siehe [BLOCK002] weiter unten"};
    const Lines verbatim{"  Kopf  ", "", "\tLink", "", " <b>y</b> "};
    const struct {
        const char* name;
        Lines blockPart;
        QList<Lines> expected;
    } rows[] = {
        {"block text in the fields", section(1, mentions) + section(2, b), {mentions, b}},
        {"headers out of order", section(3, c) + section(1, a) + section(2, b), {c, a, b}},
        {"repeated header takes the later lines", section(1, a) + section(2, b) + section(1, c), {c, b, c}},
        {"short last block", section(1, a) + Lines{" ", "[BLOCK002]", "nur Kopf", "C:\\b.jpg"},
         {a, {"nur Kopf", "C:\\b.jpg", "", "", ""}}},
        {"next header comes early", Lines{"[BLOCK001]", "kurz", "[BLOCK002]"} + b, {{"kurz", "", "", "", ""}, b}},
        {"lines beyond the fifth ignored", section(1, a) + Lines{"sechste"} + section(2, b), {a, b}},
        {"lines verbatim, empty ones in place", section(1, verbatim), {verbatim}},
    };
    for (const auto& row : rows) {
        const QList<BlockSection> sections = readBlockSections(crlf(sampleSettingsLines() + row.blockPart));
        ASSERT_EQ(sections.size(), row.expected.size()) << row.name;
        for (qsizetype k = 0; k < sections.size(); ++k) {
            EXPECT_EQ(sections[k].number, k + 1) << row.name;
            EXPECT_EQ(sections[k].lines, row.expected[k]) << row.name << ", block " << k + 1;
        }
    }
}

TEST(BlockSections, AcceptEveryKindOfLineEnd) {
    for (const QByteArray br : {"\n", "\r"}) {
        const QList<BlockSection> sections =
            readBlockSections((section(1, blockLines("A")) + section(2, blockLines("B"))).join(br));
        ASSERT_EQ(sections.size(), 2);
        EXPECT_EQ(sections[1].lines, blockLines("B"));
    }
}

}  // namespace
}  // namespace zw::test

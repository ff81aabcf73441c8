#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "platform/Text.h"

namespace zw {
namespace {

// --- The crossing between the widgets' Unicode and the stored Windows-1252 bytes ---

struct StoredRow {
    const char* name;
    QString text;
    QByteArray stored;
};

class StoredText : public ::testing::TestWithParam<StoredRow> {};

TEST_P(StoredText, StoresAsWindows1252AndReadsBack) {
    const StoredRow& row = GetParam();
    EXPECT_EQ(toStored(row.text), row.stored);
    EXPECT_EQ(fromStored(row.stored), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, StoredText,
    ::testing::Values(
        StoredRow{"PlainAscii", u"Hallo Welt"_qs, "Hallo Welt"},
        StoredRow{"Empty", QString(), QByteArray()},
        StoredRow{"UmlautsAreSingleBytes", u"äöüÄÖÜß"_qs, "\xE4\xF6\xFC\xC4\xD6\xDC\xDF"},
        StoredRow{"EuroSignIs0x80", u"5 €"_qs, "5 \x80"},
        StoredRow{"GermanQuotesAndDash", u"„Zitat“ – Ende"_qs, "\x84Zitat\x93 \x96 Ende"},
        StoredRow{"SnowmanBecomesReference", u"☃"_qs, "&#9731;"},
        StoredRow{"CharacterOutsideBmpBecomesOneReference", QString::fromUtf8("\xF0\x9F\x98\x80"), "&#128512;"},
        StoredRow{"LatinExtendedBecomesReference", u"Łódź"_qs, "&#321;\xF3" "d&#378;"},
        StoredRow{"MixedTextKeepsItsBytesAroundReferences", u"Grüße ☃ für 5 €"_qs,
                  "Gr\xFC\xDF" "e &#9731; f\xFCr 5 \x80"}),
    [](const auto& info) { return std::string(info.param.name); });

// A text the user typed that happens to look like a reference must not change on its way through the
// file: only references to characters that Windows-1252 cannot hold are turned back.
struct LiteralRow {
    const char* name;
    QByteArray stored;
};

class LiteralReference : public ::testing::TestWithParam<LiteralRow> {};

TEST_P(LiteralReference, SurvivesARoundTripAsTheSameBytes) {
    const QByteArray& stored = GetParam().stored;
    EXPECT_EQ(fromStored(stored), QString::fromLatin1(stored));
    EXPECT_EQ(toStored(fromStored(stored)), stored);
}

INSTANTIATE_TEST_SUITE_P(Rows, LiteralReference,
                         ::testing::Values(LiteralRow{"ReferenceToUmlaut", "&#228;"},
                                           LiteralRow{"ReferenceToAscii", "A&#65;B"},
                                           LiteralRow{"ReferenceToEuroSign", "&#8364;"},
                                           LiteralRow{"HexadecimalReference", "&#x2603;"},
                                           LiteralRow{"WithoutSemicolon", "&#9731 Schnee"},
                                           LiteralRow{"NoDigits", "&#;"},
                                           LiteralRow{"BeyondUnicode", "&#1114112;"},
                                           LiteralRow{"Surrogate", "&#55296;"},
                                           LiteralRow{"AmpersandAtEnd", "Tom &#"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StoredText, EveryByteOfAStoredTextSurvivesReadingAndWriting) {
    // Block files and templates written by other tools may hold any byte; editing a field must not
    // change the bytes of the fields around it.
    QByteArray all;
    for (int b = 32; b < 256; ++b) all.append(char(b));
    EXPECT_EQ(toStored(fromStored(all)), all);
}

TEST(StoredText, NothingIsDroppedOrTurnedIntoAQuestionMark) {
    const QString text = u"☃☄ und ✓"_qs;
    const QByteArray stored = toStored(text);
    EXPECT_FALSE(stored.contains('?')) << stored.constData();
    EXPECT_EQ(fromStored(stored), text);
}

// --- Small text helpers ---

struct TrimRow {
    const char* name;
    QByteArray text;
    QByteArray trimmed;
};

class Trimmed8 : public ::testing::TestWithParam<TrimRow> {};

TEST_P(Trimmed8, RemovesCodes32AndBelowAtBothEnds) {
    EXPECT_EQ(trimmed8(GetParam().text), GetParam().trimmed);
    EXPECT_EQ(trimmedControl(QString::fromLatin1(GetParam().text)), QString::fromLatin1(GetParam().trimmed));
}

INSTANTIATE_TEST_SUITE_P(Rows, Trimmed8,
                         ::testing::Values(TrimRow{"BlanksAndTabs", " \tText\t ", "Text"},
                                           TrimRow{"LineBreaksAndControls", "\x01\r\nText\x1F\r", "Text"},
                                           TrimRow{"InnerBlanksStay", "  zwei  Worte  ", "zwei  Worte"},
                                           TrimRow{"OnlyBlanks", " \t ", ""},
                                           TrimRow{"NoBreakSpaceIsNotTrimmed", "\xA0Text\xA0", "\xA0Text\xA0"},
                                           TrimRow{"Empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

struct FileNameRow {
    const char* name;
    QByteArray path;
    QByteArray part;
};

class FileNamePart : public ::testing::TestWithParam<FileNameRow> {};

TEST_P(FileNamePart, IsTheTextAfterTheLastSeparator) {
    EXPECT_EQ(fileNamePart(GetParam().path), GetParam().part);
    EXPECT_EQ(fileNamePart(QString::fromLatin1(GetParam().path)), QString::fromLatin1(GetParam().part));
}

INSTANTIATE_TEST_SUITE_P(Rows, FileNamePart,
                         ::testing::Values(FileNameRow{"WindowsPath", "C:\\Bilder\\Logo.jpg", "Logo.jpg"},
                                           FileNameRow{"LinuxPath", "/home/anna/Bilder/Logo.jpg", "Logo.jpg"},
                                           FileNameRow{"DriveWithoutFolder", "C:Logo.jpg", "Logo.jpg"},
                                           FileNameRow{"MixedSeparators", "C:\\a/b\\c.jpg", "c.jpg"},
                                           FileNameRow{"BareName", "Logo.jpg", "Logo.jpg"},
                                           FileNameRow{"FolderOnly", "C:\\Bilder\\", ""},
                                           FileNameRow{"Empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OneLine, NoLineBreakOfAnyKindSurvives) {
    const QString text = u"a\r\nb\nc\rd\u2028e\u2029f"_qs;
    const QString line = oneLine(text);
    for (QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
        EXPECT_FALSE(line.contains(c)) << "U+" << std::hex << int(c.unicode());
    EXPECT_EQ(oneLine(u"zwei\nZeilen"_qs), u"zwei Zeilen"_qs);
}

TEST(AsciiCase, LeavesWindows1252LettersAlone) {
    // "ÄBC-äbc" in Windows-1252: only the ASCII letters change case.
    EXPECT_EQ(asciiLower("\xC4" "BC-\xE4" "bc"), QByteArray("\xC4" "bc-\xE4" "bc"));
    EXPECT_EQ(asciiUpper("\xC4" "BC-\xE4" "bc"), QByteArray("\xC4" "BC-\xE4" "BC"));
}

}  // namespace
}  // namespace zw

#include <gtest/gtest.h>

#include "platform/Text.h"
#include "support/Files.h"

namespace zw::test {
namespace {

// The crossing between the widgets' Unicode and the stored Windows-1252 bytes.
TEST(StoredText, IsWindows1252WithReferencesForTheRestAndReadsBack) {
    const struct {
        QString text;
        QByteArray stored;
    } rows[] = {
        {u"äöüÄÖÜß"_qs, "\xE4\xF6\xFC\xC4\xD6\xDC\xDF"},
        {u"5 €"_qs, "5 \x80"},
        {u"„Zitat“ – Ende"_qs, "\x84Zitat\x93 \x96 Ende"},
        {u"☃"_qs, "&#9731;"},
        {QString::fromUtf8("\xF0\x9F\x98\x80"), "&#128512;"},  // outside the BMP: one reference
        {u"Grüße ☃ für 5 €, Łódź"_qs, "Gr\xFC\xDF" "e &#9731; f\xFCr 5 \x80, &#321;\xF3" "d&#378;"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(toStored(row.text), row.stored);
        EXPECT_EQ(fromStored(row.stored), row.text);
    }
}

// A text the user typed that happens to look like a reference must not change on its way through the
// file: only references to characters that Windows-1252 cannot hold are turned back.
TEST(StoredText, LiteralReferencesSurviveARoundTripAsTheSameBytes) {
    for (const QByteArray stored : {"&#228;", "&#8364;", "&#x2603;", "&#9731 Schnee", "&#;", "&#1114112;",
                                    "&#55296;", "Tom &#"}) {
        EXPECT_EQ(fromStored(stored), QString::fromLatin1(stored));
        EXPECT_EQ(toStored(fromStored(stored)), stored);
    }
    // Block files and templates written by other tools may hold any byte; editing a field must not
    // change the bytes of the fields around it.
    QByteArray all;
    for (int b = 32; b < 256; ++b) all.append(char(b));
    EXPECT_EQ(toStored(fromStored(all)), all);
}

TEST(Trimmed, RemovesCodes32AndBelowAtBothEnds) {
    const struct {
        QByteArray text;
        QByteArray trimmed;
    } rows[] = {{"\x01\r\n \tzwei  Worte\t\x1F\r ", "zwei  Worte"}, {" \t ", ""}, {"\xA0Text\xA0", "\xA0Text\xA0"}};
    for (const auto& row : rows) {
        EXPECT_EQ(trimmed8(row.text), row.trimmed);
        EXPECT_EQ(trimmedControl(QString::fromLatin1(row.text)), QString::fromLatin1(row.trimmed));
    }
}

TEST(FileNamePart, IsTheTextAfterTheLastSeparator) {
    const struct {
        QByteArray path;
        QByteArray part;
    } rows[] = {{"C:\\Bilder\\Logo.jpg", "Logo.jpg"}, {"/home/anna/Bilder/Logo.jpg", "Logo.jpg"},
                {"C:Logo.jpg", "Logo.jpg"},          {"C:\\a/b\\c.jpg", "c.jpg"},
                {"Logo.jpg", "Logo.jpg"},            {"C:\\Bilder\\", ""}};
    for (const auto& row : rows) {
        EXPECT_EQ(fileNamePart(row.path), row.part);
        EXPECT_EQ(fileNamePart(QString::fromLatin1(row.path)), QString::fromLatin1(row.part));
    }
}

TEST(OneLine, NoLineBreakOfAnyKindSurvives) {
    EXPECT_EQ(oneLine(u"zwei\nZeilen"_qs), u"zwei Zeilen"_qs);
    const QString line = oneLine(u"a\r\nb\nc\rd\u2028e\u2029f"_qs);
    for (QChar c : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
        EXPECT_FALSE(line.contains(c)) << "U+" << std::hex << int(c.unicode());
}

TEST(AsciiCase, LeavesWindows1252LettersAlone) {
    EXPECT_EQ(asciiLower("\xC4" "BC-\xE4" "bc"), QByteArray("\xC4" "bc-\xE4" "bc"));
    EXPECT_EQ(asciiUpper("\xC4" "BC-\xE4" "bc"), QByteArray("\xC4" "BC-\xE4" "BC"));
}

}  // namespace
}  // namespace zw::test

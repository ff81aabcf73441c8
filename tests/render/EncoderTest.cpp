// Base64 file encoder, colour conversions and the escaping of link addresses.
#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "render/Base64.h"
#include "render/HTMLColor.h"
#include "render/TextConversion.h"
#include "support/FakePlatform.h"
#include "support/FakePrompts.h"
#include "support/Files.h"

namespace zw::test {
namespace {

// The encoding of a file, written over a longer output of an earlier picture.
QByteArray encodeFile(const QByteArray& input) {
    TempFolder folder;
    writeAll(folder.file("in.jpg"), input);
    writeAll(folder.file("temp.mim"), QByteArray(400000, 'x'));
    Base64EncodeFile(folder.file("in.jpg"), folder.file("temp.mim"));
    return readAll(folder.file("temp.mim"));
}

TEST(Base64, ShortTextsGetTheirPadding) {
    const char* rows[][2] = {{"abc", "YWJj"}, {"ab", "YWI="}, {"a", "YQ=="}, {"", ""}, {"abcd", "YWJjZA=="}};
    for (const auto& [input, encoded] : rows) EXPECT_EQ(encodeFile(input), QByteArray(encoded)) << input;
}

// Lines of 76 characters with CR LF between them, and none after the last line unless the input fills
// whole blocks of 2736 bytes.
TEST(Base64, LineLayoutBySize) {
    const struct {
        int size;
        int lines;     // counted by their CR LF separators
        int lastLine;  // characters of the last line
        bool endsWithCrLf;
        int total;
    } rows[] = {{0, 1, 0, false, 0},           {1, 1, 4, false, 4},          {2, 1, 4, false, 4},
                {3, 1, 4, false, 4},           {57, 1, 76, false, 76},       {58, 2, 4, false, 82},
                {2736, 48, 76, true, 3744},    {2737, 49, 4, false, 3748},   {249946, 4386, 4, false, 342034}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.size);
        QByteArray input(row.size, Qt::Uninitialized);
        for (int i = 0; i < row.size; ++i) input[i] = char(i * 37 + i / 256);
        const QByteArray out = encodeFile(input);
        EXPECT_EQ(out.size(), row.total);
        EXPECT_EQ(out.endsWith("\r\n"), row.endsWithCrLf);
        QList<QByteArray> lines = out.split('\n');
        if (row.endsWithCrLf) lines.removeLast();
        ASSERT_EQ(lines.size(), row.lines);
        for (qsizetype i = 0; i + 1 < lines.size(); ++i)
            EXPECT_EQ(lines[i], lines[i].left(76) + "\r") << "line " << i;
        EXPECT_EQ(lines.last().size(), row.lastLine + (row.endsWithCrLf ? 1 : 0));
        EXPECT_EQ(QByteArray::fromBase64(QByteArray(out).replace("\r\n", "")), input);
        EXPECT_EQ(Base64EncodedLength(row.size), row.total - (row.endsWithCrLf ? 2 : 0));
    }
}

// The text a message carries for a picture: the same lines, each ended by CR LF, whatever blocks
// the file is read in.
TEST(Base64, FileLinesOfAPicturePart) {
    TempFolder folder;
    for (int size : {0, 1, 57, 2736, 29183, 29184, 29185, 58368 + 2736, 100000}) {
        QByteArray input(size, Qt::Uninitialized);
        for (int i = 0; i < size; ++i) input[i] = char(i * 31 + i / 199);
        writeAll(folder.file("bild.jpg"), input);
        QByteArray expected = encodeFile(input);
        if (size > 0 && !expected.endsWith("\r\n")) expected += "\r\n";
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        Base64EncodeFileLines(folder.file("bild.jpg"), out);
        EXPECT_EQ(out.data(), expected) << size;
    }
}

TEST(Base64, FileErrorsNameTheFile) {
    TempFolder folder;
    writeAll(folder.file("in.jpg"), QByteArray(10000, 'b'));
    const struct {
        QString input, output, error;
    } rows[] = {
        {folder.file("fehlt.jpg"), folder.file("temp.mim"),
         u"Datei %1 kann nicht geöffnet werden. Das System kann die angegebene Datei nicht finden."_qs.arg(
             folder.file("fehlt.jpg"))},
        {folder.file("in.jpg"), folder.file("kein/temp.mim"),
         u"Datei \"%1\" kann nicht erstellt werden. "_qs.arg(folder.file("kein/temp.mim"))},
        {folder.file("in.jpg"), u"/dev/full"_qs,  // a full disk is reported, not ignored
         u"Datei \"/dev/full\" kann nicht erstellt werden. Auf dem Datenträger ist nicht genügend Speicherplatz "
         "vorhanden."_qs},
    };
    for (const auto& row : rows) {
        try {
            Base64EncodeFile(row.input, row.output);
            ADD_FAILURE() << "no error for " << row.output.toStdString();
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().startsWith(row.error)) << e.message().toStdString();
        }
    }
}

TEST(HtmlColor, ColourValueToText) {
    const struct {
        ColorValue value;
        const char* text;
    } rows[] = {{0x000080FF, "#FF8000"}, {0, "#000000"}, {0x00FFFFFF, "#FFFFFF"}, {0x00ABCDEF, "#EFCDAB"},
                {0x7F000001, "#010000"}};
    for (const auto& [value, text] : rows) {
        QByteArray out;
        EXPECT_TRUE(ColorToHtml(value, out));
        EXPECT_EQ(out, QByteArray(text));
    }
}

TEST(HtmlColor, TextToColourValue) {
    constexpr ColorValue kBefore = 0x00123456;  // unchanged, with a beep
    const struct {
        const char* text;
        ColorValue value;
    } rows[] = {{"#ff8000", 0x000080FF}, {"FF8000", 0x000080FF}, {"#FF8000xyz", 0x000080FF},
                {"#0000fF", 0x00FF0000}, {"#FFF", kBefore},       {"", kBefore},
                {"#", kBefore},          {"#GG0000", kBefore},    {"#12 456", kBefore},
                {"#FFFFF", 0x000FFFFF}};
    for (const auto& row : rows) {
        FakePlatform platform{QString(), QString()};
        ColorValue value = kBefore;
        EXPECT_TRUE(HtmlToColor(row.text, value, platform));
        EXPECT_EQ(value, row.value) << row.text;
        EXPECT_EQ(platform.beeps, row.value == kBefore ? 1 : 0) << row.text;
    }
}

TEST(TextConversion, NormalizeLink) {
    const struct {
        const char* name;
        QByteArray address;
        QByteArray link;
    } rows[] = {
        {"bare address gets http and escapes", "www.a.de/?x=1&y=2", "http://www.a.de/?x=3D1&y=3D2"},
        {"scheme in any case is kept", "Https://a.de/?x=1", "Https://a.de/?x=3D1"},
        {"http further on counts", "a.de/go?to=http://b.de", "a.de/go?to=3Dhttp://b.de"},
        {"mailto scheme without @", "MAILTO:liste", "MAILTO:liste"},
        {"@ gets mailto, no escaping", "http://a.de/?u=x@y.de", "mailto:http://a.de/?u=x@y.de"},
        {"@ with mailto in any case stays", "MailTo:a=b@c.de", "MailTo:a=b@c.de"},
        {"plain mail address", "info@a.de", "mailto:info@a.de"},
        {"empty", "", "http://"},
        {"backslash shows the message and stays", "www.a.de\\x", "http://www.a.de\\x"},
        {"8-bit text is kept", "www.m\xfcller.de", "http://www.m\xfcller.de"},
    };
    for (const auto& row : rows) {
        FakePrompts prompts;
        EXPECT_EQ(NormalizeLink(row.address, prompts), row.link) << row.name;
        const QStringList message{u"Ungültiges Zeichen \"\\\" in der URL "_qs + QString::fromLatin1(row.address)};
        EXPECT_EQ(prompts.informations, row.address.contains('\\') ? message : QStringList()) << row.name;
    }
}

}  // namespace
}  // namespace zw::test

// Base64 file encoder, colour conversions and the "=" escaping of link addresses.
#include <QFile>

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "render/Base64.h"
#include "render/HTMLColor.h"
#include "render/TextConversion.h"
#include "support/FakePlatform.h"
#include "support/FakePrompts.h"
#include "support/Files.h"

namespace zw {
namespace {

using test::readAll;
using test::TempFolder;
using test::writeAll;

QByteArray encodeFile(const QByteArray& input) {
    TempFolder folder;
    writeAll(folder.file("in.jpg"), input);
    Base64EncodeFile(folder.file("in.jpg"), folder.file("temp.mim"));
    return readAll(folder.file("temp.mim"));
}

QByteArray sampleBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i) bytes[i] = char(i * 37 + i / 256);
    return bytes;
}

TEST(Base64, ShortTextsGetTheirPadding) {
    const struct {
        const char* input;
        const char* encoded;
    } rows[] = {{"abc", "YWJj"}, {"ab", "YWI="}, {"a", "YQ=="}, {"", ""}, {"abcd", "YWJjZA=="}};
    for (const auto& row : rows) EXPECT_EQ(encodeFile(row.input), QByteArray(row.encoded)) << row.input;
}

struct LayoutRow {
    const char* name;
    int size;
    int lines;          // lines of output, counted by their CR LF separators
    int lastLine;       // characters of the last line
    bool endsWithCrLf;  // the line end after the last line
    int total;
};

class Base64Layout : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(Base64Layout, LinesOf76CharactersAndNoLineEndAfterTheLast) {
    const LayoutRow& row = GetParam();
    const QByteArray input = sampleBytes(row.size);
    const QByteArray out = encodeFile(input);
    EXPECT_EQ(out.size(), row.total);
    EXPECT_EQ(out.endsWith("\r\n"), row.endsWithCrLf);
    QList<QByteArray> lines = out.split('\n');
    if (row.endsWithCrLf) lines.removeLast();
    ASSERT_EQ(lines.size(), row.lines);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) EXPECT_EQ(lines[i], lines[i].left(76) + "\r") << "line " << i;
    EXPECT_EQ(lines.last().size(), row.lastLine + (row.endsWithCrLf ? 1 : 0));
    EXPECT_EQ(QByteArray::fromBase64(QByteArray(out).replace("\r\n", "")), input);
    EXPECT_EQ(Base64EncodedLength(row.size), row.total - (row.endsWithCrLf ? 2 : 0));
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, Base64Layout,
    ::testing::Values(LayoutRow{"empty", 0, 1, 0, false, 0}, LayoutRow{"one", 1, 1, 4, false, 4},
                      LayoutRow{"two", 2, 1, 4, false, 4}, LayoutRow{"three", 3, 1, 4, false, 4},
                      LayoutRow{"oneGroup", 57, 1, 76, false, 76}, LayoutRow{"groupAndOne", 58, 2, 4, false, 82},
                      LayoutRow{"oneBlock", 2736, 48, 76, true, 3744},
                      LayoutRow{"blockAndOne", 2737, 49, 4, false, 3748},
                      LayoutRow{"twoBlocks", 5472, 96, 76, true, 7488},
                      LayoutRow{"manyBlocks", 249946, 4386, 4, false, 342034}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Base64, LinesAndRestWriteOnlyWhatTheyAreFor) {
    const QByteArray input = sampleBytes(200);
    char out[kBase64OutputBlock];
    EXPECT_EQ(Base64EncodeLines(input.constData(), 56, out), 0);
    EXPECT_EQ(Base64EncodeLines(input.constData(), 170, out), 2 * 78);
    EXPECT_EQ(QByteArray(out + 76, 2), "\r\n");
    EXPECT_EQ(Base64EncodeRest(input.constData(), 0, out), 0);
    EXPECT_EQ(Base64EncodeRest(input.constData(), 56, out), 76);
}

TEST(Base64, FileErrorsNameTheFile) {
    TempFolder folder;
    writeAll(folder.file("in.jpg"), "abc");
    try {
        Base64EncodeFile(folder.file("fehlt.jpg"), folder.file("temp.mim"));
        FAIL() << "missing input accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Datei %1 kann nicht geöffnet werden. Das System kann die angegebene "
                                              "Datei nicht finden.")
                                   .arg(folder.file("fehlt.jpg")));
    }
    try {
        Base64EncodeFile(folder.file("in.jpg"), folder.file("kein/temp.mim"));
        FAIL() << "output in a missing folder accepted";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("Datei \"%1\" kann nicht erstellt werden. ")
                                               .arg(folder.file("kein/temp.mim"))))
            << e.message().toStdString();
    }
}

TEST(Base64, AFullDiskIsReportedNotIgnored) {
    if (!QFile::exists(QStringLiteral("/dev/full"))) GTEST_SKIP() << "no /dev/full here";
    TempFolder folder;
    writeAll(folder.file("in.jpg"), sampleBytes(10000));
    try {
        Base64EncodeFile(folder.file("in.jpg"), QStringLiteral("/dev/full"));
        FAIL() << "a write to a full disk passed";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Datei \"/dev/full\" kann nicht erstellt werden. Auf dem Datenträger ist "
                                              "nicht genügend Speicherplatz vorhanden."));
    }
}

TEST(Base64, ReplacesALongerOldOutput) {
    TempFolder folder;
    writeAll(folder.file("in.jpg"), "ab");
    writeAll(folder.file("temp.mim"), QByteArray(5000, 'x'));
    Base64EncodeFile(folder.file("in.jpg"), folder.file("temp.mim"));
    EXPECT_EQ(readAll(folder.file("temp.mim")), "YWI=");
}

TEST(HtmlColor, ColourValueToText) {
    const struct {
        ColorValue value;
        const char* text;
    } rows[] = {{0x000080FF, "#FF8000"}, {0, "#000000"}, {0x00FFFFFF, "#FFFFFF"},
                {0x00ABCDEF, "#EFCDAB"}, {0x7F000001, "#010000"}};
    for (const auto& row : rows) {
        QByteArray text;
        EXPECT_TRUE(ColorToHtml(row.value, text));
        EXPECT_EQ(text, QByteArray(row.text));
    }
}

TEST(HtmlColor, TextToColourValue) {
    constexpr ColorValue kBefore = 0x00123456;
    const struct {
        const char* text;
        ColorValue value;  // kBefore: unchanged, with a beep
    } rows[] = {{"#ff8000", 0x000080FF}, {"FF8000", 0x000080FF}, {"#FF8000xyz", 0x000080FF},
                {"#0000fF", 0x00FF0000}, {"#FFF", kBefore},       {"", kBefore},
                {"#", kBefore},          {"#GG0000", kBefore},    {"#12 456", kBefore},
                {"#FFFFF", 0x000FFFFF}};
    for (const auto& row : rows) {
        test::FakePlatform platform{QString(), QString()};
        ColorValue value = kBefore;
        EXPECT_TRUE(HtmlToColor(row.text, value, platform));
        EXPECT_EQ(value, row.value) << row.text;
        EXPECT_EQ(platform.beeps, row.value == kBefore ? 1 : 0) << row.text;
    }
}

TEST(TextConversion, Check3DEscapesEveryEqualsSign) {
    EXPECT_EQ(Check3D("a=b==c"), "a=3Db=3D=3Dc");
    EXPECT_EQ(Check3D("kein Zeichen"), "kein Zeichen");
    EXPECT_EQ(Check3D(""), "");
    EXPECT_EQ(Check3D("="), "=3D");
}

TEST(TextConversion, NormalizeLink) {
    const QString backslashMessage = QStringLiteral("Ungültiges Zeichen \"\\\" in der URL ");
    const struct {
        const char* name;
        QByteArray address;
        QByteArray link;
        bool message;
    } rows[] = {
        {"bare address gets http and escapes", "www.a.de/?x=1&y=2", "http://www.a.de/?x=3D1&y=3D2", false},
        {"scheme in any case is kept", "Https://a.de/?x=1", "Https://a.de/?x=3D1", false},
        {"http further on counts", "a.de/go?to=http://b.de", "a.de/go?to=3Dhttp://b.de", false},
        {"mailto scheme without @", "MAILTO:liste", "MAILTO:liste", false},
        {"@ gets mailto, no escaping", "http://a.de/?u=x@y.de", "mailto:http://a.de/?u=x@y.de", false},
        {"@ with mailto in any case stays", "MailTo:a=b@c.de", "MailTo:a=b@c.de", false},
        {"plain mail address", "info@a.de", "mailto:info@a.de", false},
        {"empty", "", "http://", false},
        {"blanks are kept", " a.de ", "http:// a.de ", false},
        {"backslash shows the message and stays", "www.a.de\\x", "http://www.a.de\\x", true},
        {"8-bit text is kept", "www.m\xfcller.de", "http://www.m\xfcller.de", false},
    };
    for (const auto& row : rows) {
        test::FakePrompts prompts;
        EXPECT_EQ(NormalizeLink(row.address, prompts), row.link) << row.name;
        if (row.message)
            EXPECT_EQ(prompts.informations, QStringList{backslashMessage + QString::fromLatin1(row.address)})
                << row.name;
        else
            EXPECT_TRUE(prompts.informations.isEmpty()) << row.name;
    }
}

}  // namespace
}  // namespace zw

// Templates that a user or a broken disk damaged, and values that look like the file's own structure.
#include <QDir>

#include <gtest/gtest.h>

#include "Samples.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"
#include "template/NldFormat.h"
#include "template/TemplateFiles.h"

namespace zw::test {
namespace {

TEST(BlockLineEscape, EveryValueReadsBackAsTypedAndOnlyHeaderLookalikesChange) {
    const struct {
        QByteArray typed;
        QByteArray stored;
    } rows[] = {
        {"[BLOCK005]", "\\[BLOCK005]"},
        {"  [BLOCK1]\t", "\\  [BLOCK1]\t"},
        {"\\[BLOCK005]", "\\\\[BLOCK005]"},
        {"\\\\[BLOCK005]", "\\\\\\[BLOCK005]"},
        {"[BLOCK005] und mehr", "[BLOCK005] und mehr"},
        {"[BLOCK", "[BLOCK"},
        {"[BLOCKabc]", "[BLOCKabc]"},
        {"\\\\server\\bild.jpg", "\\\\server\\bild.jpg"},
        {"\\ [BLOCK005]x", "\\ [BLOCK005]x"},
    };
    for (const auto& row : rows) {
        const QList<QByteArray> typed{row.typed, row.typed, "Link", row.typed, row.typed};
        const QByteArray file = writeTemplate(sampleSettings(), {typed, blockLines("B")});
        const QList<QByteArray> lines = splitLines(file);
        ASSERT_EQ(lines.size(), 20 + 2 * 7) << row.typed.constData();
        EXPECT_EQ(lines[22], row.stored) << row.typed.constData();
        const QList<BlockSection> back = readBlockSections(file);
        ASSERT_EQ(back.size(), 2) << row.typed.constData();
        EXPECT_EQ(back[0].lines, typed) << row.typed.constData();
        EXPECT_EQ(back[1].lines, blockLines("B")) << row.typed.constData();
    }
}

class DamagedTemplate : public ::testing::Test {
protected:
    DamagedTemplate() { QDir().mkpath(images_); }

    TempFolder root_;
    QString program_ = root_.subfolder(u"Programm"_qs);
    QString images_ = program_ + u"Images/"_qs;
    QString templatePath_ = root_.file(u"Vorlage.nld"_qs);
    BlockFiles files_{program_};
};

TEST_F(DamagedTemplate, AHeadlineTypedAsAHeaderStaysOneBlockThroughTheWriteBack) {
    QList<QByteArray> editor = blockLines("A");
    editor[0] = "[BLOCK005]";
    writeAll(templatePath_,
             crlf(sampleSettingsLines() + section(1, blockLines("A")) + section(2, blockLines("B"))));
    loadTemplate(templatePath_, images_, files_);
    RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 0, editor);
    result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), -1, {});
    EXPECT_EQ(result.items, QStringList({u"Meldung1:  [BLOCK005]"_qs, u"Meldung2:  Überschrift B"_qs}));
    EXPECT_EQ(readAll(files_.path(1)), crlf(editor));
    EXPECT_EQ(BlockFiles::readForRendering(files_.path(1)).Headline, "[BLOCK005]");
}

TEST_F(DamagedTemplate, OpensWithWhatCanBeReadAndNeverCrashes) {
    const QByteArray whole =
        crlf(sampleSettingsLines() + section(1, blockLines("A")) + section(2, blockLines("B")));
    QByteArray garbage(64 * 1024, '\0');
    quint32 seed = 12345;
    for (char& c : garbage) {
        seed = seed * 1103515245u + 12345u;
        c = char((seed >> 16) & 0xFF);
        if (c == '[')
            c = ']';
    }
    const QByteArray huge = "[SETTINGS]\r\nBerteff=" + QByteArray(50 * 1024 * 1024, 'x');
    QByteArray withNul = whole;
    withNul.replace("Liebe Mitglieder", QByteArray("Liebe\0Mitglieder", 16));
    QByteArray mixed = whole;
    mixed.replace("\r\n[BLOCK002]\r\n", "\r[BLOCK002]\n");
    const struct {
        const char* name;
        QByteArray bytes;
        QByteArray berteff;
        QByteArray titel1;
        int blocks;
        QByteArray lastHeadline;  // of the last block
    } rows[] = {
        {"truncated mid-line", whole.left(whole.indexOf("Mehr zu B") + 4), "Vereinsnachrichten M\xE4rz",
         "Liebe Mitglieder", 2,
         "\xDC"
         "berschrift B"},
        {"binary garbage", garbage, "", "", 0, ""},
        {"50 MB line", huge, QByteArray(2047, 'x'), "", 0, ""},
        {"no settings section", crlf(section(1, blockLines("A"))), "", "", 1,
         "\xDC"
         "berschrift A"},
        {"settings only, cut before DateOn", crlf(sampleSettingsLines().mid(0, 3)),
         "Vereinsnachrichten M\xE4rz", "", 0, ""},
        {"duplicate keys and headers",
         crlf(QList<QByteArray>{"[SETTINGS]", "Berteff=eins", "BERTEFF=zwei"} + section(1, blockLines("A")) +
              section(1, blockLines("B"))),
         "eins", "", 2,
         "\xDC"
         "berschrift B"},
        // Dropped from the settings: a path with a NUL would reach the file system cut short.
        {"NUL bytes", withNul, "Vereinsnachrichten M\xE4rz", "LiebeMitglieder", 2,
         "\xDC"
         "berschrift B"},
        {"CR only", QByteArray(whole).replace("\r\n", "\r"), "Vereinsnachrichten M\xE4rz", "Liebe Mitglieder",
         2,
         "\xDC"
         "berschrift B"},
        {"mixed line ends", mixed, "Vereinsnachrichten M\xE4rz", "Liebe Mitglieder", 2,
         "\xDC"
         "berschrift B"},
        {"empty file", QByteArray(), "", "", 0, ""},
    };
    for (const auto& row : rows) {
        writeAll(templatePath_, row.bytes);
        const RebuildResult result = loadTemplate(templatePath_, images_, files_);
        EXPECT_EQ(result.settings.Berteff, row.berteff) << row.name;
        EXPECT_EQ(result.settings.Titel1, row.titel1) << row.name;
        ASSERT_EQ(result.items.size(), row.blocks) << row.name;
        ASSERT_EQ(files_.list().size(), row.blocks) << row.name;
        if (row.blocks > 0) {
            EXPECT_EQ(files_.readForEditor(row.blocks)[0], row.lastHeadline) << row.name;
        }
        // Every template that opens can be written back and opens again the same.
        const RebuildResult again =
            writeBackAndRebuild(templatePath_, images_, files_, result.settings, -1, QList<QByteArray>());
        EXPECT_EQ(again.items, result.items) << row.name;
    }
}

TEST_F(DamagedTemplate, MoreThan999BlocksAreRefusedAndLeftAlone) {
    for (const int blocks : {999, 1000}) {
        QList<QByteArray> lines = sampleSettingsLines();
        for (int k = 1; k <= blocks; ++k) lines += section(k, blockLines(QByteArray::number(k)));
        const QByteArray bytes = crlf(lines);
        writeAll(templatePath_, bytes);
        files_.clear();
        writeAll(files_.path(1), crlf(blockLines("vorher")));
        if (blocks == 999) {
            EXPECT_EQ(loadTemplate(templatePath_, images_, files_).items.size(), 999);
            continue;
        }
        try {
            loadTemplate(templatePath_, images_, files_);
            ADD_FAILURE() << "1000 blocks opened";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(),
                      u"Die Vorlage \"%1\" enthält mehr als 999 Meldungen und kann nicht geöffnet "
                      u"werden."_qs.arg(QDir::toNativeSeparators(templatePath_)));
        }
        EXPECT_EQ(readAll(templatePath_), bytes);
        EXPECT_EQ(files_.list().size(), 1);
        // Named as the last template, it is left for the default one, with the reason.
        const Folders folders = Folders::derive(program_, QString());
        writeAll(folders.program + kLastFile, crlf({QFile::encodeName(templatePath_)}));
        const StartTemplate start = resolveStartTemplate(folders);
        EXPECT_EQ(start.currentPath, folders.program + kDefaultTemplate);
        EXPECT_TRUE(start.refusal.contains(u"mehr als 999 Meldungen"_qs)) << start.refusal.toStdString();
        EXPECT_EQ(readAll(files_.path(1)), crlf(blockLines("vorher")));
    }
}

}  // namespace
}  // namespace zw::test

// The write-back cycle on the files it leaves: what the window's flows cannot show (hand-edited or
// truncated templates, block edit files in odd states, settings that do not read back as written).
#include <QDir>
#include <QPair>

#include <gtest/gtest.h>

#include "Samples.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace zw::test {
namespace {

using Blocks = QList<QList<QByteArray>>;

// A program folder with its images folder and a template file, as the window works on them.
class BlockCycle : public ::testing::Test {
protected:
    BlockCycle() { QDir().mkpath(images_); }

    RebuildResult load(const QList<QByteArray>& lines) {
        writeAll(templatePath_, crlf(lines));
        return loadTemplate(templatePath_, images_, files_);
    }
    RebuildResult writeBack(int selected, const QList<QByteArray>& editor,
                            const TemplateSettings& settings = sampleSettings()) {
        return writeBackAndRebuild(templatePath_, images_, files_, settings, selected, editor);
    }
    QList<QByteArray> fileLines() const { return splitLines(readAll(templatePath_)); }

    // Exactly one edit file per block, "Temp001.edt" upwards, each holding its lines with CR LF.
    void expectEditFiles(const Blocks& blocks) const {
        QStringList names;
        for (int k = 1; k <= blocks.size(); ++k) {
            names.append(u"Temp%1.edt"_qs.arg(k, 3, 10, QChar(u'0')));
            EXPECT_EQ(readAll(program_ + names.last()), crlf(blocks[k - 1])) << "block " << k;
        }
        EXPECT_EQ(QDir(program_).entryList(QDir::Files, QDir::Name), names);
    }
    // The template file: the sample settings, then the blocks numbered afresh.
    void expectTemplate(const Blocks& blocks) const {
        QList<QByteArray> lines = sampleSettingsLines();
        for (int k = 1; k <= blocks.size(); ++k) lines += section(k, blocks[k - 1]);
        EXPECT_EQ(fileLines(), lines);
    }

    TempFolder root_;
    QString program_ = root_.subfolder(u"Programm"_qs);
    QString images_ = program_ + u"Images/"_qs;
    QString templatePath_ = root_.file(u"Vorlage.nld"_qs);
    BlockFiles files_{program_};
};

TEST_F(BlockCycle, LoadingNumbersByPositionAndTheNextWriteBackMakesAWholeTemplate) {
    writeAll(files_.path(9), crlf(blockLines("alt")));  // left over from another template
    QList<QByteArray> noHeadline = blockLines("B");
    noHeadline[0] = "";
    // Hand-edited headers 3, 1, 1 (a repeated header takes the later lines), and a file that ends two
    // lines after its last header.
    const RebuildResult loaded = load(sampleSettingsLines() + section(3, blockLines("A")) +
                                      section(1, blockLines("C")) + section(1, noHeadline) +
                                      QList<QByteArray>{" ", "[BLOCK004]", "Kopf", "C:\\x.jpg"});
    const Blocks blocks{blockLines("A"), noHeadline, noHeadline, {"Kopf", "C:\\x.jpg", "", "", ""}};
    expectEditFiles(blocks);
    EXPECT_EQ(loaded.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  "_qs, u"Meldung3:  "_qs,
                                         u"Meldung4:  Kopf"_qs}));

    writeBack(-1, {});
    expectTemplate(blocks);
    expectEditFiles(blocks);
}

TEST(BlockListItem, IsMeldungNumberColonTwoBlanksAndTheTrimmedHeadline) {
    const struct {
        int number;
        QByteArray headline;
        QString item;
    } rows[] = {{2, "", u"Meldung2:  "_qs},
                {4, " \tNeu im Verein \r", u"Meldung4:  Neu im Verein"_qs},
                {12, "Gr\xFC\xDF" "e &#9731;", u"Meldung12:  Grüße ☃"_qs},
                {999, "Ende", u"Meldung999:  Ende"_qs}};
    for (const auto& row : rows) EXPECT_EQ(blockListItem(row.number, row.headline), row.item);
}

// From a template of blocks A and B, a write back with the editor holding these lines.
TEST_F(BlockCycle, WriteBackStoresTheEditorAsTheSelectedBlockOnly) {
    const QString itemA = u"Meldung1:  Überschrift A"_qs, itemB = u"Meldung2:  Überschrift B"_qs;
    const QList<QByteArray> a = blockLines("A"), b = blockLines("B");
    const QList<QByteArray> editor{"Neu", "C:\\n.jpg", "Mehr", "n.de", "T"};
    const struct {
        const char* name;
        int selected;
        QList<QByteArray> editor;
        Blocks blocks;  // afterwards
        QStringList items;
    } rows[] = {
        {"selected", 1, editor, {a, editor}, {itemA, u"Meldung2:  Neu"_qs}},
        {"no selection keeps nothing of the editor", -1, editor, {a, b}, {itemA, itemB}},
        {"headline keeps trailing blanks in the files", 0, {"Kopf   ", "", "", "", ""},
         {{"Kopf   ", "", "", "", ""}, b}, {u"Meldung1:  Kopf"_qs, itemB}},
        {"line breaks never shift the fields", 0, {"Zeile1\nZeile2", "", "Link\rtext", "a.de", "Absatz\nzwei"},
         {{"Zeile1 Zeile2", "", "Link text", "a.de", "Absatz zwei"}, b},
         {u"Meldung1:  Zeile1 Zeile2"_qs, itemB}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        load(sampleSettingsLines() + section(1, a) + section(2, b));
        const RebuildResult result = writeBack(row.selected, row.editor);
        expectTemplate(row.blocks);
        expectEditFiles(row.blocks);
        EXPECT_EQ(result.items, row.items);
    }
}

TEST_F(BlockCycle, SettingsAreWrittenAsHeldAndReadBackByTheFileRules) {
    QList<QByteArray> lines = sampleSettingsLines();
    lines[3] = "LogoAlign=Left";  // no button's word: kept as it is
    lines[19] = "DateOn=true";    // only exactly TRUE is on
    const RebuildResult loaded = load(lines);
    const QByteArray moved = toStored(images_);  // "C:\Bilder\kopf.jpg" and the others do not exist here
    EXPECT_EQ(loaded.settings.KopfLogo, moved + "kopf.jpg");
    EXPECT_FALSE(loaded.settings.dateOn());

    TemplateSettings settings = loaded.settings;
    settings.Berteff = "Betreff mit Leerzeichen   ";
    const RebuildResult back = writeBack(-1, {}, settings);
    lines[1] = "Berteff=Betreff mit Leerzeichen   ";
    lines[2] = "KopfLogo=" + moved + "kopf.jpg";
    lines[7] = "SeperatorNews=" + moved + "trenner.jpg";
    lines[9] = "SeperatorImpressum=" + moved + "fuss.jpg";
    lines[19] = "DateOn=FALSE";
    EXPECT_EQ(fileLines(), lines);
    EXPECT_EQ(back.settings.Berteff, QByteArray("Betreff mit Leerzeichen"));
    EXPECT_EQ(back.settings.LogoAlign, QByteArray("Left"));
}

// Whatever the block edit files held before a write back, afterwards there is exactly one per block.
TEST_F(BlockCycle, WriteBackFromFilesInAnyStateLeavesOneWholeEditFilePerBlock) {
    const QList<QByteArray> a = blockLines("A"), b = blockLines("B"), c = blockLines("C");
    const QByteArray crlfA = crlf(a), crlfB = crlf(b);
    const struct {
        const char* name;
        QList<QPair<QString, QByteArray>> before;  // file name and bytes
        Blocks blocks;                              // afterwards, in block order
        Blocks written = {};                        // in the template, where it differs: lines verbatim
    } rows[] = {
        {"already in shape", {{u"Temp001.edt"_qs, crlfA}, {u"Temp002.edt"_qs, crlfB}}, {a, b}},
        {"LF line ends", {{u"Temp001.edt"_qs, a.join('\n') + '\n'}}, {a}},
        {"six lines", {{u"Temp001.edt"_qs, crlfA + "sechste\r\n"}}, {a}, {a + QList<QByteArray>{"sechste"}}},
        {"three lines", {{u"Temp001.edt"_qs, crlf(a.mid(0, 3))}}, {a.mid(0, 3) + QList<QByteArray>{"", ""}}},
        {"empty file of a new block", {{u"Temp001.edt"_qs, crlfA}, {u"Temp002.edt"_qs, ""}}, {a, emptyBlock()}},
        {"gap in the numbers", {{u"Temp001.edt"_qs, crlfA}, {u"Temp005.edt"_qs, crlfB}}, {a, b}},
        {"first file missing", {{u"Temp002.edt"_qs, crlfA}, {u"Temp003.edt"_qs, crlfB}}, {a, b}},
        {"any .edt file is a block", {{u"Notiz.edt"_qs, crlfA}, {u"Temp001.edt"_qs, crlfB}}, {a, b}},
        {"upper-case name sorts among the others",
         {{u"Temp001.edt"_qs, crlfA}, {u"TEMP002.EDT"_qs, crlfB}, {u"Temp003.edt"_qs, crlf(c)}}, {a, b, c}},
        {"no files", {}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        files_.clear();
        for (const auto& [name, bytes] : row.before) writeAll(program_ + name, bytes);
        EXPECT_EQ(writeBack(-1, {}).items.size(), row.blocks.size());
        expectTemplate(row.written.isEmpty() ? row.blocks : row.written);
        expectEditFiles(row.blocks);
    }
}

// A move stores the editor as the selected block first, then puts it in its new place; the template
// and the edit files number the blocks afresh in the new order.
TEST_F(BlockCycle, MovingABlockStoresTheEditorAndRenumbersInTheNewOrder) {
    const QList<QByteArray> a = blockLines("A"), b = blockLines("B"), c = blockLines("C"),
                            d = blockLines("D");
    const QList<QByteArray> edited{"C neu", "", "", "", "ge\xE4ndert"};
    const struct {
        const char* name;
        int selected, to;
        Blocks blocks;  // afterwards
    } rows[] = {
        {"third to the top", 2, 0, {edited, a, b, d}},
        {"first to the bottom", 0, 3, {b, c, d, edited}},
        {"one down", 1, 2, {a, c, edited, d}},
        {"one up", 3, 2, {a, b, edited, c}},
        {"nowhere above the top", 0, -1, {edited, b, c, d}},
        {"nowhere below the bottom", 3, 4, {a, b, c, edited}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        load(sampleSettingsLines() + section(1, a) + section(2, b) + section(3, c) + section(4, d));
        const RebuildResult result = moveBlockAndRebuild(templatePath_, images_, files_, sampleSettings(),
                                                         row.selected, edited, row.to);
        expectTemplate(row.blocks);
        expectEditFiles(row.blocks);
        ASSERT_EQ(result.items.size(), 4);
        EXPECT_EQ(result.items[0], blockListItem(1, row.blocks[0][0]));
    }
}

// The renderer's reading of a block edit file: five lines, trimmed; the list index in the message is
// the first line that is missing, counted from 0.
TEST(ReadForRendering, NeedsFiveLinesAndTrimsThem) {
    const struct {
        QList<QByteArray> lines;
        QList<QByteArray> block;  // empty: the error
        QString error;
    } rows[] = {
        {{}, {}, u"Listenindex überschreitet das Maximum (0)"_qs},
        {{"Kopf", "", "Link", "www"}, {}, u"Listenindex überschreitet das Maximum (4)"_qs},
        {{"  Kopf\t", " C:\\a.jpg ", "\tLink", "www ", " <b>Text</b>  ", "mehr"},
         {"Kopf", "C:\\a.jpg", "Link", "www", "<b>Text</b>"}, {}},
    };
    TempFolder folder;
    const QString path = folder.file(u"Temp001.edt"_qs);
    for (const auto& row : rows) {
        writeAll(path, crlf(row.lines));
        try {
            EXPECT_EQ(BlockFiles::readForRendering(path).lines(), row.block);
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), row.error);
        }
    }
}

}  // namespace
}  // namespace zw::test

#include <QDir>
#include <QPair>

#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "Samples.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "support/Files.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"
#include "template/NldFormat.h"

namespace zw {
namespace {

using test::blockLines;
using test::crlf;
using test::emptyBlock;
using test::readAll;
using test::sampleSettings;
using test::sampleSettingsLines;
using test::TempFolder;
using test::writeAll;

QList<QByteArray> section(int number, const QList<QByteArray>& lines) {
    return QList<QByteArray>{" ", blockHeader(number)} + lines;
}

// A program folder with its images folder and a template file, as the window works on them.
class BlockCycle : public ::testing::Test {
protected:
    BlockCycle()
        : program_(root_.subfolder(QStringLiteral("Programm"))),
          images_(program_ + QStringLiteral("Images/")),
          templatePath_(root_.file(QStringLiteral("Vorlage.nld"))),
          files_(program_) {
        QDir().mkpath(images_);
    }

    // Writes a template file with the sample settings and the given block sections, and loads it.
    RebuildResult load(const QList<QByteArray>& blockPart) {
        writeAll(templatePath_, crlf(sampleSettingsLines() + blockPart));
        return loadTemplate(templatePath_, images_, files_);
    }
    RebuildResult loadBlocks(const QList<QList<QByteArray>>& blocks) {
        QList<QByteArray> part;
        for (qsizetype k = 0; k < blocks.size(); ++k) part += section(int(k + 1), blocks[k]);
        return load(part);
    }

    // The names of the block edit files in the program folder.
    QStringList editFileNames() const { return QDir(program_).entryList({QStringLiteral("*.edt")}, QDir::Files, QDir::Name); }
    QList<QByteArray> fileLines() const { return splitLines(readAll(templatePath_)); }

    TempFolder root_;
    QString program_;
    QString images_;
    QString templatePath_;
    BlockFiles files_;
};

// --- Rebuilding the block edit files and the list ---

TEST_F(BlockCycle, LoadingGivesOneEditFilePerBlockAndTheListItems) {
    writeAll(files_.path(9), crlf(blockLines("alt")));  // left over from another template
    QList<QByteArray> second = blockLines("B");
    second[0] = "";
    const RebuildResult result = loadBlocks({blockLines("A"), second, blockLines("C")});

    EXPECT_EQ(editFileNames(), (QStringList{u"Temp001.edt"_qs, u"Temp002.edt"_qs, u"Temp003.edt"_qs}));
    EXPECT_EQ(readAll(program_ + u"Temp001.edt"_qs), crlf(blockLines("A")));
    EXPECT_EQ(readAll(program_ + u"Temp002.edt"_qs), crlf(second));
    EXPECT_EQ(readAll(program_ + u"Temp003.edt"_qs), crlf(blockLines("C")));
    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  "_qs, u"Meldung3:  Überschrift C"_qs}));
}

TEST_F(BlockCycle, HandEditedHeadersAreRenumberedByPositionAtOnce) {
    const RebuildResult result =
        load(section(3, blockLines("C")) + section(1, blockLines("A")) + section(1, blockLines("B")));

    EXPECT_EQ(editFileNames(), (QStringList{u"Temp001.edt"_qs, u"Temp002.edt"_qs, u"Temp003.edt"_qs}));
    EXPECT_EQ(readAll(files_.path(1)), crlf(blockLines("C")));
    EXPECT_EQ(readAll(files_.path(2)), crlf(blockLines("B")));  // the repeated header takes the later lines
    EXPECT_EQ(readAll(files_.path(3)), crlf(blockLines("B")));
    EXPECT_EQ(result.items,
              (QStringList{u"Meldung1:  Überschrift C"_qs, u"Meldung2:  Überschrift B"_qs, u"Meldung3:  Überschrift B"_qs}));
}

TEST_F(BlockCycle, ATruncatedTemplateLosesNothingElse) {
    // The file ends two lines after the last header.
    const RebuildResult result = load(section(1, blockLines("A")) + QList<QByteArray>{" ", "[BLOCK002]", "Kopf", "C:\\x.jpg"});
    ASSERT_EQ(result.items.size(), 2);
    EXPECT_EQ(readAll(files_.path(1)), crlf(blockLines("A")));
    EXPECT_EQ(readAll(files_.path(2)), crlf({"Kopf", "C:\\x.jpg", "", "", ""}));
    EXPECT_EQ(result.settings.Titel2, sampleSettings().Titel2);

    // The next write back makes a whole template of it.
    writeBackAndRebuild(templatePath_, images_, files_, result.settings, -1, {});
    EXPECT_EQ(fileLines().mid(20), section(1, blockLines("A")) + section(2, {"Kopf", "C:\\x.jpg", "", "", ""}));
}

TEST_F(BlockCycle, BlockTextInAFieldSurvivesTheCycle) {
    const QList<QByteArray> tricky{"[BLOCK] und [BLOCK002]", "", "Zu [BLOCK001]", "", "<b>[BLOCK003]</b> ist kein Kopf"};
    loadBlocks({blockLines("A"), blockLines("B")});

    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 0, tricky);

    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  [BLOCK] und [BLOCK002]"_qs, u"Meldung2:  Überschrift B"_qs}));
    EXPECT_EQ(readAll(files_.path(1)), crlf(tricky));
    EXPECT_EQ(readAll(files_.path(2)), crlf(blockLines("B")));
    EXPECT_EQ(fileLines().mid(20), section(1, tricky) + section(2, blockLines("B")));
}

// --- The list items ---

struct ItemRow {
    const char* name;
    int number;
    QByteArray headline;
    QString item;
};

class ListItem : public ::testing::TestWithParam<ItemRow> {};

TEST_P(ListItem, IsMeldungNumberColonTwoBlanksAndTheTrimmedHeadline) {
    EXPECT_EQ(blockListItem(GetParam().number, GetParam().headline), GetParam().item);
}

INSTANTIATE_TEST_SUITE_P(Rows, ListItem,
                         ::testing::Values(ItemRow{"Plain", 1, "Hallo", u"Meldung1:  Hallo"_qs},
                                           ItemRow{"EmptyHeadlineEndsInTwoBlanks", 2, "", u"Meldung2:  "_qs},
                                           ItemRow{"BlanksOnlyHeadline", 3, "  \t ", u"Meldung3:  "_qs},
                                           ItemRow{"HeadlineTrimmedAtBothEnds", 4, " \tNeu im Verein \r", u"Meldung4:  Neu im Verein"_qs},
                                           ItemRow{"Umlauts", 12, "Gr\xFC\xDF" "e", u"Meldung12:  Grüße"_qs},
                                           ItemRow{"StoredReference", 5, "Schnee &#9731;", u"Meldung5:  Schnee ☃"_qs},
                                           ItemRow{"LastPossibleBlock", 999, "Ende", u"Meldung999:  Ende"_qs}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Write back ---

TEST_F(BlockCycle, WriteBackStoresTheEditorAsTheSelectedBlock) {
    loadBlocks({blockLines("A"), blockLines("B"), blockLines("C")});
    // The body text editor held "Zeile eins" and "Zeile zwei"; the window joins them with nothing between.
    const QList<QByteArray> editor{"Neue \xDC" "berschrift", "C:\\Bilder\\neu.jpg", "Mehr", "www.example.org/neu",
                                   "Zeile einsZeile zwei"};

    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 1, editor);

    EXPECT_EQ(fileLines(), sampleSettingsLines() + section(1, blockLines("A")) + section(2, editor) +
                               section(3, blockLines("C")));
    EXPECT_EQ(readAll(files_.path(2)), crlf(editor));
    EXPECT_EQ(result.items,
              (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  Neue Überschrift"_qs, u"Meldung3:  Überschrift C"_qs}));
}

TEST_F(BlockCycle, WriteBackWithoutSelectionKeepsNothingOfTheEditor) {
    loadBlocks({blockLines("A"), blockLines("B")});
    const RebuildResult result =
        writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), -1, {"verworfen", "", "", "", ""});
    EXPECT_EQ(fileLines(), sampleSettingsLines() + section(1, blockLines("A")) + section(2, blockLines("B")));
    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  Überschrift B"_qs}));
}

TEST_F(BlockCycle, WriteBackTakesTheWindowsSettingsAndReadsThemBack) {
    loadBlocks({blockLines("A")});
    TemplateSettings settings = sampleSettings();
    settings.Berteff = "Betreff mit Leerzeichen   ";
    settings.LogoAlign = "Left";  // no button's word: kept as it is
    settings.DateOn = "FALSE";

    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, settings, -1, {});

    const QList<QByteArray> lines = fileLines();
    EXPECT_EQ(lines[1], QByteArray("Berteff=Betreff mit Leerzeichen   "));
    EXPECT_EQ(lines[3], QByteArray("LogoAlign=Left"));
    EXPECT_EQ(lines[19], QByteArray("DateOn=FALSE"));
    EXPECT_EQ(result.settings.Berteff, QByteArray("Betreff mit Leerzeichen"));
    EXPECT_EQ(result.settings.LogoAlign, QByteArray("Left"));
    EXPECT_FALSE(result.settings.dateOn());
}

TEST_F(BlockCycle, HeadlineKeepsTrailingBlanksInTheFileAndTheEditFile) {
    loadBlocks({blockLines("A")});
    QList<QByteArray> editor = blockLines("A");
    editor[0] = "Kopf mit Leerzeichen   ";
    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 0, editor);
    EXPECT_EQ(fileLines()[22], QByteArray("Kopf mit Leerzeichen   "));
    EXPECT_EQ(files_.readForEditor(1).value(0), QByteArray("Kopf mit Leerzeichen   "));
    EXPECT_EQ(result.items, QStringList{u"Meldung1:  Kopf mit Leerzeichen"_qs});
}

TEST_F(BlockCycle, ALineBreakInAnEditorValueNeverShiftsTheFields) {
    loadBlocks({blockLines("A"), blockLines("B")});
    const QList<QByteArray> editor{"Zeile1\nZeile2", "C:\\Bilder\\a.jpg", "Link\r\ntext", "www.example.org", "Absatz\rzwei"};

    writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 0, editor);

    const QList<QByteArray> lines = fileLines();
    ASSERT_EQ(lines.size(), 20 + 2 * 7);
    const NewsletterTemplate back = parseTemplate(readAll(templatePath_));
    ASSERT_EQ(back.blocks.size(), 2);
    for (const QByteArray& field : back.blocks[0].lines()) EXPECT_FALSE(field.contains('\r') || field.contains('\n'));
    EXPECT_TRUE(back.blocks[0].Headline.startsWith("Zeile1") && back.blocks[0].Headline.endsWith("Zeile2"));
    EXPECT_EQ(back.blocks[0].Picture, QByteArray("C:\\Bilder\\a.jpg"));
    EXPECT_EQ(back.blocks[0].LinkUrl, QByteArray("www.example.org"));
    EXPECT_TRUE(back.blocks[0].Text.startsWith("Absatz") && back.blocks[0].Text.endsWith("zwei"));
    EXPECT_EQ(back.blocks[1].lines(), blockLines("B"));
    EXPECT_EQ(files_.readForEditor(1).mid(0, 5), back.blocks[0].lines());
}

TEST_F(BlockCycle, CharactersOutsideWindows1252AreStoredAsReferences) {
    loadBlocks({blockLines("A")});
    QList<QByteArray> editor = blockLines("A");
    editor[0] = toStored(u"Schneemann ☃ für 5 €"_qs);

    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 0, editor);

    EXPECT_EQ(fileLines()[22], QByteArray("Schneemann &#9731; f\xFCr 5 \x80"));
    EXPECT_EQ(fromStored(files_.readForEditor(1).value(0)), u"Schneemann ☃ für 5 €"_qs);
    EXPECT_EQ(result.items, QStringList{u"Meldung1:  Schneemann ☃ für 5 €"_qs});
}

TEST_F(BlockCycle, AMovedAwaySettingPictureIsStoredWithTheImagesFolderPath) {
    const RebuildResult loaded = loadBlocks({blockLines("A")});
    const QByteArray resolved = toStored(images_) + "kopf.jpg";
    EXPECT_EQ(loaded.settings.KopfLogo, resolved);  // "C:\Bilder\kopf.jpg" does not exist here

    writeBackAndRebuild(templatePath_, images_, files_, loaded.settings, -1, {});
    EXPECT_EQ(fileLines()[2], "KopfLogo=" + resolved);
}

TEST_F(BlockCycle, LowerCaseTrueReadsAsOffAndIsWrittenAsFalse) {
    QList<QByteArray> lines = sampleSettingsLines();
    lines[19] = "DateOn=true";
    writeAll(templatePath_, crlf(lines));
    const RebuildResult loaded = loadTemplate(templatePath_, images_, files_);
    EXPECT_FALSE(loaded.settings.dateOn());
    writeBackAndRebuild(templatePath_, images_, files_, loaded.settings, -1, {});
    EXPECT_EQ(fileLines()[19], QByteArray("DateOn=FALSE"));
}

TEST_F(BlockCycle, MissingTemplateGivesTheOpenError) {
    try {
        loadTemplate(root_.file(u"fehlt.nld"_qs), images_, files_);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().startsWith(u"Datei %1 kann nicht geöffnet werden. "_qs.arg(root_.file(u"fehlt.nld"_qs))))
            << e.message().toStdString();
    }
}

// Whatever the block edit files held before a write back, afterwards there is exactly one per block,
// "Temp001.edt" upwards, holding its five lines with CR LF.
struct OnDiskRow {
    const char* name;
    QList<QPair<QString, QByteArray>> before;  // file name and bytes
    QList<QList<QByteArray>> blocks;           // what the files must hold afterwards, in block order
};

class WriteBackFromFiles : public ::testing::TestWithParam<OnDiskRow> {};

TEST_P(WriteBackFromFiles, LeavesOneWholeEditFilePerBlock) {
    TempFolder root;
    const QString program = root.subfolder(u"Programm"_qs);
    const BlockFiles files(program);
    for (const auto& [name, bytes] : GetParam().before) writeAll(program + name, bytes);

    const RebuildResult result =
        writeBackAndRebuild(root.file(u"Vorlage.nld"_qs), program + u"Images/"_qs, files, sampleSettings(), -1, {});

    QStringList expectedNames;
    for (qsizetype k = 1; k <= GetParam().blocks.size(); ++k) expectedNames.append(BlockFiles::fileName(int(k)));
    EXPECT_EQ(QDir(program).entryList(QDir::Files, QDir::Name), expectedNames);
    for (qsizetype k = 1; k <= GetParam().blocks.size(); ++k)
        EXPECT_EQ(readAll(files.path(int(k))), crlf(GetParam().blocks[k - 1])) << "block " << k;
    EXPECT_EQ(result.items.size(), GetParam().blocks.size());
}

QByteArray lfOnly(const QList<QByteArray>& lines) { return lines.join('\n') + '\n'; }

INSTANTIATE_TEST_SUITE_P(
    Rows, WriteBackFromFiles,
    ::testing::Values(
        OnDiskRow{"AlreadyInShape", {{u"Temp001.edt"_qs, crlf(blockLines("A"))}, {u"Temp002.edt"_qs, crlf(blockLines("B"))}},
                  {blockLines("A"), blockLines("B")}},
        OnDiskRow{"LfLineEnds", {{u"Temp001.edt"_qs, lfOnly(blockLines("A"))}}, {blockLines("A")}},
        OnDiskRow{"SixLines", {{u"Temp001.edt"_qs, crlf(blockLines("A") + QList<QByteArray>{"sechste"})}}, {blockLines("A")}},
        OnDiskRow{"ThreeLines", {{u"Temp001.edt"_qs, crlf(blockLines("A").mid(0, 3))}},
                  {blockLines("A").mid(0, 3) + QList<QByteArray>{"", ""}}},
        OnDiskRow{"GapInTheNumbers", {{u"Temp001.edt"_qs, crlf(blockLines("A"))}, {u"Temp005.edt"_qs, crlf(blockLines("B"))}},
                  {blockLines("A"), blockLines("B")}},
        OnDiskRow{"FirstFileMissing", {{u"Temp002.edt"_qs, crlf(blockLines("B"))}, {u"Temp003.edt"_qs, crlf(blockLines("C"))}},
                  {blockLines("B"), blockLines("C")}},
        OnDiskRow{"AnyEdtFileIsABlock", {{u"Notiz.edt"_qs, crlf(blockLines("N"))}, {u"Temp001.edt"_qs, crlf(blockLines("A"))}},
                  {blockLines("N"), blockLines("A")}},
        OnDiskRow{"UpperCaseNameSortsAmongTheOthers",
                  {{u"Temp001.edt"_qs, crlf(blockLines("A"))}, {u"TEMP002.EDT"_qs, crlf(blockLines("B"))},
                   {u"Temp003.edt"_qs, crlf(blockLines("C"))}},
                  {blockLines("A"), blockLines("B"), blockLines("C")}},
        OnDiskRow{"NoFiles", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Delete and new block, the way the window runs them ---

TEST_F(BlockCycle, DeletingItemTwoOfThreeRenumbersTheThirdBlock) {
    loadBlocks({blockLines("A"), blockLines("B"), blockLines("C")});

    // "Meldung löschen" with item 2 selected: its file goes, then the template is written and rebuilt
    // without storing the editor.
    files_.remove(2);
    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), -1, {});

    EXPECT_EQ(fileLines(), sampleSettingsLines() + section(1, blockLines("A")) + section(2, blockLines("C")));
    EXPECT_EQ(editFileNames(), (QStringList{u"Temp001.edt"_qs, u"Temp002.edt"_qs}));
    EXPECT_EQ(readAll(files_.path(2)), crlf(blockLines("C")));
    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  Überschrift C"_qs}));
}

TEST_F(BlockCycle, DeletingTheOnlyBlockLeavesATemplateWithoutBlocks) {
    loadBlocks({blockLines("A")});
    files_.remove(1);
    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), -1, {});
    EXPECT_EQ(readAll(templatePath_), crlf(sampleSettingsLines()));
    EXPECT_TRUE(editFileNames().isEmpty());
    EXPECT_TRUE(result.items.isEmpty());
}

TEST_F(BlockCycle, NewBlockPressedTwiceStoresTheFirstWithEmptyFields) {
    loadBlocks({blockLines("A")});
    const QList<QByteArray> blank = emptyBlock();

    // "Neue Meldung" with block 1 selected: write back, an empty edit file for block 2, which is selected.
    RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 0, blockLines("A"));
    files_.write(result.items.size() + 1, {});
    EXPECT_EQ(files_.readForEditor(2), blank);  // the editor reads the momentary empty file as empty fields

    // Pressed again: the emptied editor is stored as block 2, and block 3 begins.
    result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 1, blank);
    files_.write(result.items.size() + 1, {});
    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  "_qs}));

    // The list gains the focus with the third block selected and typed into.
    result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 2, blockLines("C"));
    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  "_qs, u"Meldung3:  Überschrift C"_qs}));
    EXPECT_EQ(fileLines().mid(20), section(1, blockLines("A")) + section(2, blank) + section(3, blockLines("C")));
}

TEST_F(BlockCycle, AMomentaryEmptyBlockFileStillWritesAWholeTemplate) {
    // An empty edit file that is written into the template before the editor was stored in it.
    loadBlocks({blockLines("A")});
    files_.write(2, {});
    files_.write(3, blockLines("C"));
    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), -1, {});
    EXPECT_EQ(result.items, (QStringList{u"Meldung1:  Überschrift A"_qs, u"Meldung2:  "_qs, u"Meldung3:  Überschrift C"_qs}));
    EXPECT_EQ(files_.readForEditor(2), emptyBlock());
    EXPECT_EQ(files_.readForEditor(3).mid(0, 5), blockLines("C"));
}

TEST_F(BlockCycle, NineHundredNinetyNineBlocksKeepTheirOrder) {
    QList<QList<QByteArray>> blocks;
    for (int k = 1; k <= NewsletterTemplate::kMaxBlocks; ++k) blocks.append(blockLines(QByteArray::number(k)));
    loadBlocks(blocks);
    const RebuildResult result = writeBackAndRebuild(templatePath_, images_, files_, sampleSettings(), 99, blockLines("neu"));
    ASSERT_EQ(result.items.size(), NewsletterTemplate::kMaxBlocks);
    EXPECT_EQ(result.items[98], u"Meldung99:  Überschrift 99"_qs);
    EXPECT_EQ(result.items[99], u"Meldung100:  Überschrift neu"_qs);
    EXPECT_EQ(result.items[998], u"Meldung999:  Überschrift 999"_qs);
    EXPECT_EQ(readAll(files_.path(999)), crlf(blockLines("999")));
    const QList<QByteArray> lines = fileLines();
    EXPECT_EQ(lines.mid(20 + 7 * 998), section(999, blockLines("999")));
}

// --- Reading the block files ---

struct RenderReadRow {
    const char* name;
    QList<QByteArray> lines;
    QString error;  // empty: the block reads
};

class ReadForRendering : public ::testing::TestWithParam<RenderReadRow> {};

TEST_P(ReadForRendering, NeedsFiveLines) {
    TempFolder folder;
    const QString path = folder.file(u"Temp001.edt"_qs);
    writeAll(path, crlf(GetParam().lines));
    if (GetParam().error.isEmpty()) {
        const NewsBlock block = BlockFiles::readForRendering(path);
        EXPECT_EQ(block.lines(), GetParam().lines.mid(0, 5));
        return;
    }
    try {
        BlockFiles::readForRendering(path);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), GetParam().error);
    }
}

// The list index in the message is the first line that is missing, counted from 0.
INSTANTIATE_TEST_SUITE_P(
    Rows, ReadForRendering,
    ::testing::Values(RenderReadRow{"EmptyFile", {}, u"Listenindex überschreitet das Maximum (0)"_qs},
                      RenderReadRow{"OneLine", {"Kopf"}, u"Listenindex überschreitet das Maximum (1)"_qs},
                      RenderReadRow{"FourLines", {"Kopf", "", "Link", "www"}, u"Listenindex überschreitet das Maximum (4)"_qs},
                      RenderReadRow{"FiveLines", {"Kopf", "C:\\a.jpg", "Link", "www", "Text"}, QString()},
                      RenderReadRow{"SixLines", {"Kopf", "C:\\a.jpg", "Link", "www", "Text", "mehr"}, QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadForRendering, TrimsEveryFieldAtBothEnds) {
    TempFolder folder;
    const QString path = folder.file(u"Temp001.edt"_qs);
    writeAll(path, crlf({"  Kopf\t", " C:\\a.jpg ", "\tLink", "www ", " <b>Text</b>  "}));
    const NewsBlock block = BlockFiles::readForRendering(path);
    EXPECT_EQ(block.lines(), (QList<QByteArray>{"Kopf", "C:\\a.jpg", "Link", "www", "<b>Text</b>"}));
}

TEST(ReadAllForRendering, TakesTheFilesInNameOrder) {
    TempFolder folder;
    const BlockFiles files(folder.path());
    files.write(2, blockLines("B"));
    files.write(1, blockLines("A"));
    const QList<NewsBlock> blocks = files.readAllForRendering();
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0].lines(), blockLines("A"));
    EXPECT_EQ(blocks[1].lines(), blockLines("B"));
}

}  // namespace
}  // namespace zw

// The block list and the block editor as the user drives them.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "AppFixture.h"
#include "platform/FileIo.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"

namespace zw::test {
namespace {

using BlockListTest = AppTest;

// Presses the control that a screen reader names name, as a screen reader does; null when none has it.
QAccessibleInterface* pressNamed(QWidget* window, const QString& name) {
    QList<QAccessibleInterface*> open{QAccessible::queryAccessibleInterface(window)};
    while (!open.isEmpty()) {
        QAccessibleInterface* iface = open.takeFirst();
        if (iface->text(QAccessible::Name) == name && iface->actionInterface()) {
            iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            return iface;
        }
        for (int i = 0; i < iface->childCount(); ++i) open.append(iface->child(i));
    }
    return nullptr;
}

// The headlines of the template file's blocks, in file order, and where each stands in a message.
QList<QByteArray> headlines(const QList<BlockSection>& blocks) {
    QList<QByteArray> lines;
    for (const BlockSection& block : blocks) lines.append(block.lines.value(0));
    return lines;
}

TEST_F(BlockListTest, ClickingAnotherBlockStoresTheEditedOneFirst) {
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    f.HeadLineEdit->setFocus();
    f.HeadLineEdit->setText(u"Erste, geändert"_qs);
    EXPECT_FALSE(f.session().Saved);

    // A real click from the edit field into the list: focus first (write back), then the choice.
    const QRect second = f.ListBox1->visualItemRect(f.ListBox1->item(1));
    QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {}, second.center());

    EXPECT_EQ(listItems().first(), u"Meldung1:  Erste, geändert"_qs);
    EXPECT_EQ(f.ListBox1->selectedRow(), 1);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Zweite"_qs);
    const QList<BlockSection> blocks = sections();
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(blocks[0].lines[0], QByteArray("Erste, ge\xe4ndert"));

    // Ctrl held on the selected block keeps it selected: the block in the editor stays the one stored.
    QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, Qt::ControlModifier, second.center());
    EXPECT_EQ(f.ListBox1->selectedRow(), 1);
    EXPECT_EQ(prompts.informations, QStringList());
}

// The same by keyboard: Tab into the list stores the block, the arrow key chooses the next one.
TEST_F(BlockListTest, TabbingIntoTheListStoresTheBlockAndArrowsChooseAnother) {
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    f.HeadLineEdit->setFocus();
    f.HeadLineEdit->setText(u"Erste, per Tastatur"_qs);
    f.ListBox1->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(listItems().first(), u"Meldung1:  Erste, per Tastatur"_qs);
    QTest::keyClick(f.ListBox1, Qt::Key_Down);
    EXPECT_EQ(f.ListBox1->selectedRow(), 1);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Zweite"_qs);
}

// Block 3 goes to the top in two steps with "Nach oben"; the template file, the edit files and the
// rendered message follow the list, and the editor keeps the moved block with what was typed into it.
TEST_F(BlockListTest, MovingTheThirdBlockToTheTopAndBackByKeysAndDrop) {
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    const QRect third = f.ListBox1->visualItemRect(f.ListBox1->item(2));
    QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {}, third.center());
    ASSERT_EQ(f.HeadLineEdit->text(), u"Dritte"_qs);
    f.session().Saved = true;  // as after saving: the move alone marks the change

    ASSERT_TRUE(pressNamed(&f, u"Nach oben"_qs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.ListBox1->selectedRow() == 1; }, 2000));
    EXPECT_FALSE(f.session().Saved);
    EXPECT_EQ(listItems(),
              QStringList({u"Meldung1:  Erste"_qs, u"Meldung2:  Dritte"_qs, u"Meldung3:  Zweite"_qs}));

    // What is typed before the next move is stored with the block, not left behind in its old place.
    f.HeadLineEdit->setFocus();
    QTest::keyClick(f.HeadLineEdit, Qt::Key_End);
    QTest::keyClicks(f.HeadLineEdit, u" neu"_qs);
    ASSERT_TRUE(pressNamed(&f, u"Nach oben"_qs));
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.ListBox1->selectedRow() == 0; }, 2000));
    EXPECT_EQ(headlines(sections()), (QList<QByteArray>{"Dritte neu", "Erste", "Zweite"}));
    EXPECT_EQ(blockFiles(), QStringList({u"Temp001.edt"_qs, u"Temp002.edt"_qs, u"Temp003.edt"_qs}));
    EXPECT_EQ(readAll(program(u"Temp001.edt"_qs)).left(12), QByteArray("Dritte neu\r\n"));
    EXPECT_EQ(f.HeadLineEdit->text(), u"Dritte neu"_qs);
    EXPECT_FALSE(f.UpBitBtn->isEnabled());  // nowhere further up

    f.PageControl1->setCurrentIndex(kPreviewPage);
    const QByteArray message = readAll(program(u"preview1.eml"_qs));
    const qsizetype first = message.indexOf("Dritte neu"), second = message.indexOf("Erste"),
                    third_ = message.indexOf("Zweite");
    EXPECT_TRUE(first >= 0 && first < second && second < third_) << first << " " << second << " " << third_;
    f.PageControl1->setCurrentIndex(kNewsPage);

    // Alt+arrow in the list moves the selected block; the list keeps the keyboard.
    f.ListBox1->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(f.ListBox1, Qt::Key_Down, Qt::AltModifier);
    EXPECT_EQ(headlines(sections()), (QList<QByteArray>{"Erste", "Dritte neu", "Zweite"}));
    EXPECT_EQ(f.ListBox1->selectedRow(), 1);
    QTest::keyClick(f.ListBox1, Qt::Key_Up, Qt::AltModifier);
    QTest::keyClick(f.ListBox1, Qt::Key_Up, Qt::AltModifier);  // already at the top: nothing happens
    EXPECT_EQ(headlines(sections()), (QList<QByteArray>{"Dritte neu", "Erste", "Zweite"}));
    EXPECT_EQ(f.ListBox1->selectedRow(), 0);

    // Dropped below the last item, the dragged block goes to the end.
    QMimeData data;
    data.setData(QLatin1String(kBlockDragType),
                 QByteArray::number(QCoreApplication::applicationPid()) + ":0");
    const QRect last = f.ListBox1->visualItemRect(f.ListBox1->item(2));
    const QPoint below(last.center().x(), last.bottom() - 1);
    QDragEnterEvent enter(below, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(f.ListBox1->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(below, Qt::MoveAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(f.ListBox1->viewport(), &drop);
    EXPECT_EQ(headlines(sections()), (QList<QByteArray>{"Erste", "Zweite", "Dritte neu"}));
    EXPECT_EQ(f.ListBox1->selectedRow(), 2);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Dritte neu"_qs);
    EXPECT_EQ(prompts.informations, QStringList());
}

TEST_F(BlockListTest, DeletingItemTwoOfThreeRenumbers) {
    TMainForm& f = start();
    f.show();
    f.ListBox1->selectRow(1);
    f.blockList().ListBox1Click();
    f.blockList().DeleteBitBtnClick();

    // The deleted block's fields stay on show, but take nothing until a block is selected.
    EXPECT_EQ(f.HeadLineEdit->text(), u"Zweite"_qs);
    for (QWidget* field : {(QWidget*)f.HeadLineEdit, (QWidget*)f.Memo1, (QWidget*)f.LinkTextEdit,
                           (QWidget*)f.URLEdit, (QWidget*)f.BitBtn2, (QWidget*)f.BitBtn5})
        EXPECT_FALSE(field->isEnabled()) << field->objectName().toStdString();
    QTest::keyClicks(f.HeadLineEdit, u"verloren"_qs);
    EXPECT_EQ(f.HeadLineEdit->text(), u"Zweite"_qs);

    EXPECT_EQ(listItems(), QStringList({u"Meldung1:  Erste"_qs, u"Meldung2:  Dritte"_qs}));
    EXPECT_EQ(f.ListBox1->selectedRow(), -1);
    const QList<BlockSection> blocks = sections();
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[1].header, QByteArray("[BLOCK002]"));
    EXPECT_EQ(blocks[1].lines[0], QByteArray("Dritte"));
    EXPECT_EQ(blockFiles().size(), 2);
    EXPECT_FALSE(f.session().Saved);

    f.ListBox1->selectRow(1);
    f.blockList().ListBox1Click();
    EXPECT_TRUE(f.HeadLineEdit->isEnabled() && f.Memo1->isEnabled() && f.BitBtn5->isEnabled());
    EXPECT_EQ(f.HeadLineEdit->text(), u"Dritte"_qs);
}

TEST_F(BlockListTest, DeletingWithoutSelectionOnlyTellsAndMarksChanged) {
    TMainForm& f = start();
    f.ListBox1->selectRow(-1);
    const QByteArray before = readAll(f.session().CurrentTemplatePath);
    f.session().Saved = true;
    f.blockList().DeleteBitBtnClick();
    EXPECT_EQ(prompts.informations, QStringList({u"Bitte zuerst einen Block zum löschen auswählen!"_qs}));
    EXPECT_EQ(readAll(f.session().CurrentTemplatePath), before);
    EXPECT_FALSE(f.session().Saved);
}

TEST_F(BlockListTest, DeletingTheOnlyBlockHidesTheEditorAndLoadingShowsItAgain) {
    writeAll(program(u"Zettelwerk_Vorlage.nld"_qs), templateFile("Eins", {blockSection(1, "Allein")}));
    TMainForm& f = start();
    f.show();
    f.blockList().DeleteBitBtnClick();
    EXPECT_FALSE(f.EditorPanel->isVisible());
    EXPECT_EQ(splitLines(readAll(f.session().CurrentTemplatePath)).size(), 20);  // settings only

    f.session().CurrentTemplatePath = program(u"Zettelwerk_Vorlage.nld"_qs);
    writeAll(f.session().CurrentTemplatePath, defaultTemplate);
    f.blockList().loadCurrentTemplate();
    EXPECT_TRUE(f.EditorPanel->isVisible());

    // A template without blocks has nothing to edit: no stale fields of the previous one stay on show.
    f.session().CurrentTemplatePath = program(u"NEW.nld"_qs);
    f.blockList().loadCurrentTemplate();
    EXPECT_FALSE(f.EditorPanel->isVisible());
    f.blockList().NewBitBtnClick();
    EXPECT_TRUE(f.EditorPanel->isVisible());
    EXPECT_TRUE(f.HeadLineEdit->text().isEmpty());
}

TEST_F(BlockListTest, NewBlockTwiceStoresTheFirstWithEmptyFields) {
    TMainForm& f = start();
    f.blockList().NewBitBtnClick();
    EXPECT_EQ(listItems().last(), u"Neue  Meldung:"_qs);
    EXPECT_EQ(f.ListBox1->selectedRow(), 3);
    EXPECT_TRUE(f.HeadLineEdit->text().isEmpty());

    f.blockList().NewBitBtnClick();
    QStringList items = listItems();
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[3], u"Meldung4:  "_qs);
    EXPECT_EQ(items[4], u"Neue  Meldung:"_qs);

    // The second new block enters the template with what the editor holds at the next write back.
    f.HeadLineEdit->setText(u"Fünfte"_qs);
    f.blockList().ListBox1Enter();
    EXPECT_EQ(listItems().last(), u"Meldung5:  Fünfte"_qs);
    const QList<BlockSection> blocks = sections();
    ASSERT_EQ(blocks.size(), 5);
    EXPECT_EQ(blocks[3].lines, QList<QByteArray>({"", "", "", "", ""}));
}

TEST_F(BlockListTest, NewBlockWithoutSelectionLeavesNoEmptyFile) {
    TMainForm& f = start();
    f.ListBox1->selectRow(-1);
    f.blockList().NewBitBtnClick();
    EXPECT_EQ(blockFiles().size(), 3);
    f.HeadLineEdit->setText(u"Neu"_qs);
    f.blockList().ListBox1Enter();
    EXPECT_EQ(listItems().last(), u"Meldung4:  Neu"_qs);
}

TEST_F(BlockListTest, EditorTextIsStoredAsOneLineAndPastedBreaksBecomeBlanks) {
    TMainForm& f = start();
    f.Memo1->setPlainText(u"Zeile eins\nZeile zwei<br>\nDrei"_qs);
    f.HeadLineEdit->setText(u"Kopf\nmit Umbruch"_qs);
    f.URLEdit->setText(u"www.example.org/☃"_qs);
    f.blockList().ListBox1Enter();

    const QList<BlockSection> blocks = sections();
    ASSERT_EQ(blocks.size(), 3);
    EXPECT_EQ(blocks[0].lines[4], QByteArray("Zeile einsZeile zwei<br>Drei"));
    EXPECT_EQ(blocks[0].lines[0], QByteArray("Kopf mit Umbruch"));
    EXPECT_EQ(blocks[0].lines[3], QByteArray("www.example.org/&#9731;"));
    // Read back into the editor, the character is the character again.
    f.blockList().ListBox1Click();
    EXPECT_EQ(f.URLEdit->text(), u"www.example.org/☃"_qs);
}

// A paste brings its line breaks into the newsletter as the Enter key does.
TEST_F(BlockListTest, PastedLineBreaksAreStoredAsTags) {
    TMainForm& f = start();
    f.Memo1->setPlainText(u"Anfang: "_qs);
    f.Memo1->moveCursor(QTextCursor::End);
    QApplication::clipboard()->setText(u"Zeile eins\r\nZeile zwei"_qs);
    f.Memo1->paste();
    EXPECT_EQ(f.Memo1->toPlainText(), u"Anfang: Zeile eins<br>\nZeile zwei"_qs);
    f.blockList().ListBox1Enter();
    EXPECT_EQ(sections()[0].lines[4], QByteArray("Anfang: Zeile eins<br>Zeile zwei"));
}

TEST_F(BlockListTest, TheThousandthBlockIsRefused) {
    QList<QList<QByteArray>> blocks;
    for (int k = 1; k <= 999; ++k) blocks.append(blockSection(k, "M" + QByteArray::number(k)));
    writeAll(program(u"Zettelwerk_Vorlage.nld"_qs), templateFile("Viele", blocks));
    TMainForm& f = start();
    ASSERT_EQ(f.ListBox1->count(), 999);
    const QByteArray before = readAll(f.session().CurrentTemplatePath);
    f.blockList().NewBitBtnClick();
    EXPECT_EQ(f.ListBox1->count(), 999);
    ASSERT_EQ(prompts.informations.size(), 1);
    EXPECT_TRUE(prompts.informations.first().contains(u"999"_qs));
    EXPECT_EQ(readAll(f.session().CurrentTemplatePath), before);
}

TEST_F(BlockListTest, RemovingThePictureClearsEditorPicture) {
    TMainForm& f = start();
    ASSERT_EQ(f.session().EditorPicture, QByteArray("pic.jpg"));
    f.session().Saved = true;
    f.blockList().BitBtn5Click();
    f.blockList().ListBox1Enter();
    EXPECT_FALSE(f.session().Saved);
    EXPECT_EQ(sections()[0].lines[1], QByteArray());
}

}  // namespace
}  // namespace zw::test

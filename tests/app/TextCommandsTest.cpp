// The news text's commands as the user drives them: tool bar, size box, keys, undo, hyperlink dialog.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>

#include <random>

#include "AppFixture.h"
#include "editing/ui/LinkForm.h"
#include "editing/ui/TextCommandsPart.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw::test {
namespace {

class TextCommandsTest : public AppTest {
public:
    // The window on the screen and active, the news text holding text and the input focus.
    TMainForm& startWith(const QString& text) {
        TMainForm& f = start();
        f.show();
        QApplication::setActiveWindow(&f);
        f.Memo1->setFocus();
        f.Memo1->selectAll();
        f.Memo1->insertPlainText(text);  // as pasted: one change
        return f;
    }
    TextCommandsPart& part() { return *form->textCommands; }
    QPlainTextEdit* memo() { return form->Memo1; }
    QString text() const { return editorText(form->Memo1); }
    void select(qsizetype start, qsizetype length) {
        QTextCursor cursor = form->Memo1->textCursor();
        cursor.setPosition(int(start));
        cursor.setPosition(int(start + length), QTextCursor::KeepAnchor);
        form->Memo1->setTextCursor(cursor);
    }
    QString selected() const { return form->Memo1->textCursor().selectedText(); }
    int counter() { return part().history().UndoCounter; }
    void chooseSize(int index) {
        form->ComboBox1->setFocus();
        form->ComboBox1->setCurrentIndex(index);
        Q_EMIT form->ComboBox1->activated(index);
    }
};

TEST_F(TextCommandsTest, TheToolBarKeepsTheEditorActiveAndNamesItsButtons) {
    TMainForm& f = startWith(u"x"_qs);
    prompts.linkAnswers = {{false, {}}};
    TextCommandsPart& p = part();
    const std::pair<QToolButton*, QString> hints[] = {
        {p.ToolButton1, u"Fett (Strg+B)"_qs},
        {p.ToolButton2, u"Kursiv (Strg+I)"_qs},
        {p.ToolButton3, u"Unterstrichen (Strg+U)"_qs},
        {p.ToolButton4,
         u"Aufzählung. Bitte markieren Sie jede Zeile einzeln, die einen Aufzählungspunkt erhalten soll! "
         u"(Strg+Umschalt+L)"_qs},
        {p.ToolButton5, u"Hyperlink einfügen (Strg+K)"_qs},
        {p.BackToolButton, u"Rückgänig [Strg +Z]"_qs},
    };
    for (const auto& [button, hint] : hints) {
        EXPECT_EQ(button->toolTip(), hint);
        EXPECT_EQ(button->parentWidget(), p.ToolBar1);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(QApplication::focusWidget(), f.Memo1) << hint.toStdString();
        // Not by a click, but the keyboard reaches every button.
        EXPECT_EQ(button->focusPolicy(), Qt::TabFocus) << hint.toStdString();
    }
    EXPECT_TRUE(f.ComboBox1->isEnabled());
    EXPECT_FALSE(f.Memo1->isUndoRedoEnabled());
}

TEST_F(TextCommandsTest, WrapsFromButtonsKeysAndSizeBox) {
    const struct {
        const char* name;
        std::function<void(TextCommandsTest&)> command;
        QString after;
    } rows[] = {
        {"bold button", [](auto& t) { QTest::mouseClick(t.part().ToolButton1, Qt::LeftButton); },
         u"Hallo <b>Welt</b>\n"_qs},
        {"bullet button", [](auto& t) { QTest::mouseClick(t.part().ToolButton4, Qt::LeftButton); },
         u"Hallo <li>Welt</li>\n"_qs},
        {"Ctrl+I", [](auto& t) { QTest::keyClick(t.memo(), Qt::Key_I, Qt::ControlModifier); },
         u"Hallo <i>Welt</i>\n"_qs},
        {"Ctrl+U", [](auto& t) { QTest::keyClick(t.memo(), Qt::Key_U, Qt::ControlModifier); },
         u"Hallo <u>Welt</u>\n"_qs},
        {"size +3", [](auto& t) { t.chooseSize(3); }, u"Hallo <font size=\"+3\">Welt</font>\n"_qs},
    };
    for (const auto& row : rows) {
        TMainForm& f = startWith(u"Hallo Welt"_qs);
        const int before = counter();
        select(6, 4);
        row.command(*this);
        EXPECT_EQ(text(), row.after) << row.name;
        EXPECT_EQ(selected(), u"Welt"_qs) << row.name;
        EXPECT_EQ(counter(), before + 1) << row.name << ": one change";
        EXPECT_EQ(f.ComboBox1->currentIndex(), 0) << row.name;
        EXPECT_EQ(prompts.informations, QStringList()) << row.name;
    }
    // The size box acts on every choice, the same item twice included.
    chooseSize(3);
    EXPECT_EQ(text(), u"Hallo <font size=\"+3\"><font size=\"+3\">Welt</font></font>\n\n"_qs);
}

TEST_F(TextCommandsTest, WithoutSelectionOrFocusNothingChangesButTheUserIsTold) {
    TMainForm& f = startWith(u"Hallo Welt"_qs);
    select(3, 0);
    QTest::mouseClick(part().ToolButton1, Qt::LeftButton);
    chooseSize(2);
    EXPECT_EQ(f.ComboBox1->currentIndex(), 0);
    chooseSize(0);  // the caption wraps nothing and says nothing
    select(0, 5);
    f.HeadLineEdit->setFocus();
    QTest::mouseClick(part().ToolButton2, Qt::LeftButton);
    const QString message =
        u"Markieren Sie bitte zuerst mit der Maus den Text der formatiert werden soll!"_qs;
    EXPECT_EQ(prompts.informations, QStringList({message, message, message}));
    EXPECT_EQ(text(), u"Hallo Welt"_qs);

    // Only a choice from the open list acts: arrow keys, letters and the wheel on the closed box do not.
    select(0, 5);
    f.ComboBox1->setFocus();
    QTest::keyClick(f.ComboBox1, Qt::Key_Down);
    QTest::keyClick(f.ComboBox1, Qt::Key_Plus);
    QWheelEvent wheel(QPointF(5, 5), f.ComboBox1->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(f.ComboBox1, &wheel);
    EXPECT_EQ(text(), u"Hallo Welt"_qs);
    EXPECT_EQ(f.ComboBox1->currentIndex(), 0);
}

TEST_F(TextCommandsTest, EnterWritesTheTagThenTheLineBreakWhateverTheModifiers) {
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
        {Qt::Key_Return, Qt::NoModifier},
        {Qt::Key_Return, Qt::ShiftModifier},
        {Qt::Key_Return, Qt::ControlModifier},
        {Qt::Key_Enter, Qt::KeypadModifier},
    };
    for (const auto& [key, modifiers] : keys) {
        startWith(u"Hallo   Welt  "_qs);
        const int before = counter();
        select(5, 0);
        QTest::keyClick(form->Memo1, key, modifiers);
        EXPECT_EQ(text(), u"Hallo<br>\nWelt\n"_qs) << int(modifiers);
        EXPECT_EQ(form->Memo1->textCursor().position(), 10);
        EXPECT_EQ(counter(), before + 2) << "two changes";
    }
}

TEST_F(TextCommandsTest, UndoStepsBackToTheBlockAsLoadedAndTheNextKeyIsRecordedAgain) {
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    QTest::mouseClick(f.ListBox1->viewport(), Qt::LeftButton, {},
                      f.ListBox1->visualItemRect(f.ListBox1->item(1)).center());
    ASSERT_EQ(text(), u"Text"_qs);
    EXPECT_EQ(counter(), 1);  // the block as loaded
    f.Memo1->setFocus();
    f.Memo1->moveCursor(QTextCursor::End);
    QTest::keyClicks(f.Memo1, u"ab"_qs);
    EXPECT_EQ(counter(), 3);

    // Near misses of Ctrl+Z and the editor's own redo keys do nothing.
    const std::pair<Qt::Key, Qt::KeyboardModifiers> misses[] = {
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier},
        {Qt::Key_Z, Qt::AltModifier},
        {Qt::Key_Y, Qt::ControlModifier},
    };
    for (const auto& [key, modifiers] : misses) QTest::keyClick(f.Memo1, key, modifiers);
    EXPECT_EQ(text(), u"Textab"_qs);

    const struct {
        Qt::KeyboardModifiers keys;
        QString text;
        int counter;
        bool enabled;
    } steps[] = {{Qt::ControlModifier, u"Texta"_qs, 2, true},
                 {Qt::ControlModifier | Qt::MetaModifier, u"Text"_qs, 1, true},
                 {Qt::ControlModifier, u"Text"_qs, 1, false},
                 {Qt::ControlModifier, u"Text"_qs, 1, false}};
    for (const auto& step : steps) {
        QTest::keyClick(f.Memo1, Qt::Key_Z, step.keys);
        EXPECT_EQ(text(), step.text);
        EXPECT_EQ(counter(), step.counter);
        EXPECT_EQ(part().BackToolButton->isEnabled(), step.enabled);
    }
    QTest::keyClick(f.Memo1, Qt::Key_X);
    EXPECT_EQ(counter(), 2);
    EXPECT_TRUE(part().BackToolButton->isEnabled());
    QTest::mouseClick(part().BackToolButton, Qt::LeftButton);
    EXPECT_EQ(text(), u"Text"_qs);
}

TEST_F(TextCommandsTest, TheHistoryIsResetWhereverTheBlockInTheEditorChanges) {
    writeAll(program(u"BKG0001.bkg"_qs), "left over");
    TMainForm& f = startWith(u"ab"_qs);
    EXPECT_FALSE(QFile::exists(program(u"BKG0001.bkg"_qs)));
    EXPECT_GT(counter(), 0);

    f.blockList().NewBitBtnClick();
    EXPECT_EQ(counter(), 0);  // emptying the editor is no change
    EXPECT_FALSE(part().BackToolButton->isEnabled());
    QTest::keyClick(f.Memo1, Qt::Key_A);
    EXPECT_EQ(part().history().store().read(1), u"a"_qs);

    f.blockList().DeleteBitBtnClick();
    EXPECT_EQ(counter(), 0);

    QTest::keyClick(f.Memo1, Qt::Key_A);
    ASSERT_LT(f.ListBox1->selectedRow(), 0);
    f.blockList().DeleteBitBtnClick();  // nothing to delete: the user is told, the history goes all the same
    EXPECT_EQ(prompts.informations.size(), 1);
    EXPECT_EQ(counter(), 0);

    QTest::keyClick(f.Memo1, Qt::Key_A);
    writeAll(program(u"BKG0002.bkg"_qs), "left over");
    f.session().Saved = true;
    EXPECT_TRUE(f.templateFiles().FormCloseQuery());
    EXPECT_EQ(counter(), 0);
    EXPECT_FALSE(QFile::exists(program(u"BKG0002.bkg"_qs)));
}

// Typing, deleting, pasting over a selection and the commands, in a random mix: every snapshot must
// read back as the text the editor showed after that change.
TEST_F(TextCommandsTest, EverySnapshotReadsBackAsTheEditorShowedIt) {
    TMainForm& f = startWith(u"Anfang 😀 und Ende"_qs);
    std::vector<std::optional<QString>> shown;  // by snapshot number, as far as seen here
    const auto see = [&] {
        shown.resize(size_t(counter() + 1));
        shown[size_t(counter())] = text();
    };
    see();
    QObject::connect(f.Memo1, &QPlainTextEdit::textChanged, see);
    std::mt19937 random(3);
    for (int i = 0; i < 400; ++i) {
        const qsizetype size = text().size();
        const qsizetype at = qsizetype(random() % quint32(size + 1));
        select(at, std::min<qsizetype>(random() % 3, size - at));
        switch (random() % 7) {
            case 0:
                QTest::keyClick(f.Memo1, Qt::Key_Backspace);
                break;
            case 1:
                QTest::keyClick(f.Memo1, Qt::Key_Delete);
                break;
            case 2:
                QApplication::clipboard()->setText(u"Ein\nFü 中😁"_qs);
                f.Memo1->paste();
                break;
            case 3:
                QTest::keyClick(f.Memo1, Qt::Key_Return);
                break;
            case 4:
                QTest::keyClick(f.Memo1, Qt::Key_B, Qt::ControlModifier);
                break;
            case 5:
                QTest::keyClick(f.Memo1, Qt::Key_Z, Qt::ControlModifier);
                break;
            default:
                QTest::keyClicks(f.Memo1, u"xy"_qs);
                break;
        }
    }
    prompts.informations.clear();  // the wraps without a selection
    ASSERT_GT(counter(), 300);
    for (int k = counter(); k >= 1; --k) {
        if (shown[size_t(k)]) {
            ASSERT_EQ(part().history().store().read(k), *shown[size_t(k)]) << k;
        }
    }
}

TEST_F(TextCommandsTest, CharactersOutsideTheCodePageStayThemselvesAndAreStoredAsReferences) {
    TMainForm& f = startWith(u"Gut 😀 中"_qs);
    select(4, 2);
    QTest::keyClick(f.Memo1, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(selected(), u"😀"_qs);
    EXPECT_EQ(f.blockList().editorLines()[4], QByteArray("Gut <b>&#128512;</b> &#20013;"));
}

TEST_F(TextCommandsTest, TheContextMenuHasNoUndoOrRedo) {
    TMainForm& f = startWith(u"x"_qs);
    Q_EMIT f.Memo1->customContextMenuRequested(QPoint(5, 5));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QStringList names;
    for (QAction* action : menu->actions()) names.append(action->objectName());
    EXPECT_TRUE(names.contains(u"edit-copy"_qs));
    EXPECT_FALSE(names.contains(u"edit-undo"_qs));
    EXPECT_FALSE(names.contains(u"edit-redo"_qs));
    menu->close();
}

TEST_F(TextCommandsTest, HyperlinkDialogFlows) {
    const struct {
        const char* name;
        Prompts::LinkAnswer answer;
        QString after;
        QStringList informations;
    } rows[] = {
        {"web address",
         {true, u"www.example.org/?a=b"_qs},
         u"Hier <a href=3D\"http://www.example.org/?a=3Db\">klicken</a>\n"_qs,
         {}},
        {"mail address",
         {true, u"info@example.org"_qs},
         u"Hier <a href=3D\"mailto:info@example.org\">klicken</a>\n"_qs,
         {}},
        {"backslash",
         {true, u"www.example.org\\x"_qs},
         u"Hier <a href=3D\"http://www.example.org\\x\">klicken</a>\n"_qs,
         {u"Ungültiges Zeichen \"\\\" in der URL www.example.org\\x"_qs}},
        {"cancelled", {false, u"www.example.org"_qs}, u"Hier klicken"_qs, {}},
        {"blank", {true, u" \t "_qs}, u"Hier klicken"_qs, {}},
    };
    for (const auto& row : rows) {
        startWith(u"Hier klicken"_qs);
        prompts.informations.clear();
        part().linkAddress = u"vorher"_qs;
        prompts.linkShown.clear();
        prompts.linkAnswers = {row.answer};
        select(5, 7);
        QTest::mouseClick(part().ToolButton5, Qt::LeftButton);
        EXPECT_EQ(prompts.linkShown, QStringList{u"vorher"_qs}) << row.name;
        EXPECT_EQ(text(), row.after) << row.name;
        EXPECT_EQ(prompts.informations, row.informations) << row.name;
        EXPECT_EQ(part().linkAddress, row.answer.address) << row.name << ": shown next time";
    }
    // Without a selection the message comes after the dialog.
    select(0, 0);
    prompts.linkAnswers = {{true, u"www.example.org"_qs}};
    QTest::mouseClick(part().ToolButton5, Qt::LeftButton);
    EXPECT_EQ(prompts.linkShown.size(), 2);
    EXPECT_EQ(prompts.informations.size(), 1);
}

TEST(LinkForm, ShowsItsTextsWithOkAsTheDefault) {
    TLinkForm form;
    EXPECT_EQ(form.windowTitle(), u"Hyperlink in Text einfügen"_qs);
    QStringList labels;
    for (QLabel* label : form.findChildren<QLabel*>()) labels.append(label->text());
    labels.sort();
    EXPECT_EQ(labels, QStringList({u"- Benutzen Sie mailto:info@example.org für eine Emailadresse"_qs,
                                   u"- Benutzen Sie www.example.org für einen Link auf Ihre Seite"_qs,
                                   u"Hyperlink in Text einfügen"_qs, u"Link"_qs}));
    const QList<QPushButton*> buttons = form.findChildren<QPushButton*>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->text(), u"OK"_qs);
    EXPECT_TRUE(buttons[0]->isDefault());
    EXPECT_EQ(buttons[1]->text(), u"Abbrechen"_qs);
    EXPECT_EQ(form.minimumSize(), form.maximumSize());
}

}  // namespace
}  // namespace zw::test

// The formatted view of the news text as the user drives it: keys, tool bar, paste, undo, the choice of
// view, and texts only the source view can hold.
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextLayout>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include "AppFixture.h"
#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/NewsViewsPart.h"
#include "editing/ui/SpellCheck.h"
#include "editing/ui/TextCommandsPart.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"

namespace zw::test {
namespace {

class FormattedEditorTest : public AppTest {
public:
    // The window with the first block's text in the editor, the formatted view chosen.
    TMainForm& startWith(const QByteArray& firstText, bool formatted = true) {
        QList<QByteArray> first = blockSection(1, "Erste");
        first[6] = firstText;
        writeAll(program(u"Zettelwerk_Vorlage.nld"_qs),
                 templateFile("Herbst", {first, blockSection(2, "Zweite", "")}));
        if (formatted)
            QFile::remove(program(u"HTMLAnsicht.ini"_qs));
        TMainForm& f = start();
        f.show();
        QApplication::setActiveWindow(&f);
        f.ListBox1->selectRow(0);
        f.blockList().ListBox1Click();
        f.FormattedMemo->setFocus();
        return f;
    }
    FormattedNewsEdit* view() { return form->FormattedMemo; }
    QByteArray stored() { return form->blockList().editorLines()[4]; }
    bool formattedShown() { return form->NewsTextStack->currentWidget() == view(); }
    void selectWords(const QString& words) {
        const int at = int(view()->document()->toRawText().indexOf(words));
        ASSERT_GE(at, 0);
        QTextCursor c = view()->textCursor();
        c.setPosition(at);
        c.setPosition(at + int(words.size()), QTextCursor::KeepAnchor);
        view()->setTextCursor(c);
    }
    void key(int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(view(), Qt::Key(k), modifiers);
    }
};

TEST_F(FormattedEditorTest, BoldByKeyUndoAndRedoChangeTheStoredTextOnlyThere) {
    TMainForm& f = startWith("Am Samstag ab 14 Uhr, Preis &lt; 5");
    ASSERT_TRUE(formattedShown());
    EXPECT_EQ(view()->toPlainText(), u"Am Samstag ab 14 Uhr, Preis < 5"_qs);
    EXPECT_FALSE(f.textCommands->BackToolButton->isEnabled());

    selectWords(u"Samstag"_qs);
    key(Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(stored(), QByteArray("Am <b>Samstag</b> ab 14 Uhr, Preis &lt; 5"));
    EXPECT_TRUE(f.textCommands->BackToolButton->isEnabled());

    // The back button undoes in the view shown; Ctrl+Y brings it back.
    f.textCommands->BackToolButton->click();
    EXPECT_EQ(stored(), QByteArray("Am Samstag ab 14 Uhr, Preis &lt; 5"));
    key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(stored(), QByteArray("Am <b>Samstag</b> ab 14 Uhr, Preis &lt; 5"));

    // With nothing selected, bold applies to what is typed next, with no message.
    QTextCursor c = view()->textCursor();
    c.movePosition(QTextCursor::End);
    view()->setTextCursor(c);
    f.textCommands->ToolButton2->click();
    QTest::keyClicks(view(), u" <i>&"_qs);
    EXPECT_EQ(stored(), QByteArray("Am <b>Samstag</b> ab 14 Uhr, Preis &lt; 5<i> &lt;i&gt;&amp;</i>"));
    EXPECT_EQ(prompts.informations, QStringList());

    // The write-back cycle stores what the view shows.
    f.blockList().ListBox1Enter();
    EXPECT_EQ(sections()[0].lines[4], QByteArray("Am <b>Samstag</b> ab 14 Uhr, Preis &lt; 5<i> &lt;i&gt;&amp;</i>"));
}

TEST_F(FormattedEditorTest, ThreeTypedLinesBecomeAListAndALinkGoesOnAWord) {
    TMainForm& f = startWith("");
    QTest::keyClicks(view(), u"Mitbringen:"_qs);
    key(Qt::Key_Return);
    QTest::keyClicks(view(), u"Kuchen"_qs);
    key(Qt::Key_Return);
    QTest::keyClicks(view(), u"Kaffee"_qs);
    key(Qt::Key_Return);
    QTest::keyClicks(view(), u"Sahne"_qs);
    EXPECT_EQ(stored(), QByteArray("Mitbringen:<br>Kuchen<br>Kaffee<br>Sahne"));
    selectWords(u"Kuchen\u2028Kaffee\u2028Sahne"_qs);
    key(Qt::Key_L, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(stored(), QByteArray("Mitbringen:<li>Kuchen</li><li>Kaffee</li><li>Sahne</li>"));
    // Enter in an item starts the next one; Enter on the empty one ends the list.
    QTextCursor c = view()->textCursor();
    c.movePosition(QTextCursor::End);
    view()->setTextCursor(c);
    key(Qt::Key_Return);
    QTest::keyClicks(view(), u"Milch"_qs);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    QTest::keyClicks(view(), u"Liste hier"_qs);
    EXPECT_EQ(stored(), QByteArray("Mitbringen:<li>Kuchen</li><li>Kaffee</li><li>Sahne</li><li>Milch</li>Liste hier"));

    selectWords(u"hier"_qs);
    prompts.linkAnswers = {{true, u"www.example.org/liste?jahr=2026"_qs}};
    key(Qt::Key_K, Qt::ControlModifier);
    const QByteArray linked = "<a href=3D\"http://www.example.org/liste?jahr=3D2026\">hier</a>";
    EXPECT_TRUE(stored().endsWith("Liste " + linked)) << stored().constData();
    EXPECT_EQ(view()->document()->toPlainText().count(u"=3D"_qs), 0);
    // Typing at the link's end writes plain text; typing inside it extends the link.
    c = view()->textCursor();
    c.movePosition(QTextCursor::End);
    view()->setTextCursor(c);
    QTest::keyClicks(view(), u"!"_qs);
    c.setPosition(c.position() - 3);
    view()->setTextCursor(c);
    QTest::keyClicks(view(), u"x"_qs);
    EXPECT_TRUE(stored().endsWith("Liste <a href=3D\"http://www.example.org/liste?jahr=3D2026\">hixer</a>!"))
        << stored().constData();
    c.setPosition(c.position() - 1);
    c.setPosition(c.position() + 1, QTextCursor::KeepAnchor);
    view()->setTextCursor(c);
    key(Qt::Key_Delete);

    // In the link, the dialog edits that link and opens with its address.
    c = view()->textCursor();
    c.setPosition(c.selectionStart() + 2);
    view()->setTextCursor(c);
    prompts.linkAnswers = {{true, u"vorstand@example.org"_qs}};
    f.textCommands->ToolButton5->click();
    EXPECT_TRUE(stored().endsWith("Liste <a href=3D\"mailto:vorstand@example.org\">hier</a>!")) << stored().constData();
    EXPECT_EQ(prompts.linkShown.value(1), u"http://www.example.org/liste?jahr=2026"_qs);
}

TEST_F(FormattedEditorTest, RichPasteKeepsOnlyWhatTheNewsTextCanHold) {
    startWith("Vorher ");
    QTextCursor c = view()->textCursor();
    c.movePosition(QTextCursor::End);
    view()->setTextCursor(c);
    auto* data = new QMimeData;
    data->setHtml(uR"(<p style="font-family:Times;color:red"><strong>Fett</strong> und
        <a href="https://example.org/?a=b">Link</a><img src="x.png"></p><ul><li>eins</li></ul>)"_qs);
    data->setText(u"Fett und Link\neins"_qs);
    QApplication::clipboard()->setMimeData(data);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(stored(), QByteArray("Vorher <b>Fett</b> und <a href=3D\"https://example.org/?a=3Db\">Link</a><li>eins</li>"));

    // Plain text keeps its line breaks.
    QApplication::clipboard()->setText(u"zwei\r\ndrei"_qs);
    c.movePosition(QTextCursor::End);
    view()->setTextCursor(c);
    key(Qt::Key_Return);
    key(Qt::Key_Return);
    key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(stored().endsWith("<li>eins</li>zwei<br>drei")) << stored().constData();
}

TEST_F(FormattedEditorTest, ATextWithForeignMarkupStaysInTheSourceViewUnchanged) {
    const QByteArray text = "<p style=\"x\">Absatz</p> und <b>fett</b>";
    TMainForm& f = startWith(text);
    EXPECT_FALSE(formattedShown());
    EXPECT_TRUE(f.newsViews->HtmlOnlyNote->isVisibleTo(&f));
    EXPECT_EQ(f.newsViews->HtmlOnlyNote->text(),
              u"Dieser Text enthält HTML, das nur in der HTML-Ansicht bearbeitet werden kann."_qs);
    f.blockList().ListBox1Enter();
    EXPECT_EQ(sections()[0].lines[4], text);
    // The next block, in plain markup, opens formatted again.
    f.ListBox1->selectRow(1);
    f.blockList().ListBox1Click();
    EXPECT_TRUE(formattedShown());
    EXPECT_FALSE(f.newsViews->HtmlOnlyNote->isVisibleTo(&f));
}

TEST_F(FormattedEditorTest, TheChoiceOfViewIsRememberedAndAnUnchangedTextStaysByteForByte) {
    const QByteArray text = "<i><b>Welt</b></i> &amp; Kaffee & Kuchen, 1+1=2 <font size=\"+2\">gro\xDF</font>";
    TMainForm& f = startWith(text);
    ASSERT_TRUE(formattedShown());
    f.newsViews->HtmlButton->click();
    EXPECT_FALSE(formattedShown());
    EXPECT_TRUE(QFile::exists(program(u"HTMLAnsicht.ini"_qs)));
    f.newsViews->FormattedButton->click();
    EXPECT_TRUE(formattedShown());
    f.blockList().ListBox1Enter();
    EXPECT_EQ(sections()[0].lines[4], text);
    f.newsViews->HtmlButton->click();
    form.reset();
    startWith(text, false);
    EXPECT_FALSE(formattedShown());
    EXPECT_TRUE(form->newsViews->HtmlButton->isChecked());
}

TEST_F(FormattedEditorTest, ACorrectionFromTheSpellingMenuKeepsTheWordsFormat) {
    TMainForm& f = startWith("Das <b>Somerfest</b> beginnt");
    ASSERT_TRUE(QTest::qWaitFor([&] { return view()->document()->findChild<QSyntaxHighlighter*>(); }, 10000));
    const auto underlined = [this] {
        const QTextBlock text = view()->document()->firstBlock();
        QStringList words;
        for (const QTextLayout::FormatRange& r : text.layout()->formats())
            if (r.format.underlineStyle() == QTextCharFormat::WaveUnderline)
                words << text.text().mid(r.start, r.length);
        return words;
    };
    // The check that follows fails with what was underlined when the wait ran out.
    [[maybe_unused]] const bool checked = QTest::qWaitFor([&] { return !underlined().isEmpty(); }, 5000);
    EXPECT_EQ(underlined(), QStringList({u"Somerfest"_qs}));
    QTextCursor atWord(view()->document());
    atWord.setPosition(6);
    std::unique_ptr<QMenu> menu(createSpellingMenu(view(), view()->cursorRect(atWord).center()));
    ASSERT_TRUE(menu && !menu->actions().isEmpty());
    EXPECT_EQ(menu->actions().first()->text(), u"Sommerfest"_qs);
    menu->actions().first()->trigger();
    EXPECT_EQ(stored(), QByteArray("Das <b>Sommerfest</b> beginnt"));
    f.blockList().ListBox1Enter();
    EXPECT_EQ(sections()[0].lines[4], QByteArray("Das <b>Sommerfest</b> beginnt"));
}

TEST_F(FormattedEditorTest, TabWalksTheRowAboveTheTextLeftToRight) {
    TMainForm& f = startWith("Text");
    QStringList order;
    for (QWidget* w = f.HeadLineEdit->nextInFocusChain(); w != f.LinkTextEdit && order.size() < 20;
         w = w->nextInFocusChain()) {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(&f) && w->isEnabled())
            order << w->accessibleName();
    }
    EXPECT_EQ(order, QStringList({u"Formatierte Ansicht"_qs, u"HTML-Ansicht"_qs, u"Fett"_qs, u"Kursiv"_qs,
                                  u"Unterstrichen"_qs, u"Aufzählung"_qs, u"Hyperlink einfügen"_qs,
                                  u"Schriftgröße"_qs, u"Feld einfügen"_qs, u"Text für die Newsmeldung"_qs}));
}

// A screen reader's way: the controls found by their names in the window's accessible tree, the text
// selected and the button pressed through the accessibility interface.
QAccessibleInterface* findByName(QAccessibleInterface* root, const QString& name, QAccessible::Role role) {
    if (root->text(QAccessible::Name) == name && (role == QAccessible::NoRole || root->role() == role) &&
        !root->state().invisible)
        return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = findByName(root->child(i), name, role))
            return found;
    }
    return nullptr;
}

TEST_F(FormattedEditorTest, AScreenReaderFindsTheViewsAndMakesAWordBold) {
    TMainForm& f = startWith("Am Samstag");
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&f);
    QAccessibleInterface* html = findByName(window, u"HTML-Ansicht"_qs, QAccessible::NoRole);
    QAccessibleInterface* formatted = findByName(window, u"Formatierte Ansicht"_qs, QAccessible::NoRole);
    ASSERT_TRUE(html && formatted && html->actionInterface());
    html->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_FALSE(formattedShown());
    formatted->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_TRUE(formattedShown());

    QAccessibleInterface* text = findByName(window, u"Text für die Newsmeldung"_qs, QAccessible::EditableText);
    ASSERT_TRUE(text && text->textInterface());
    EXPECT_EQ(text->textInterface()->text(0, text->textInterface()->characterCount()), u"Am Samstag"_qs);
    text->textInterface()->setSelection(0, 3, 10);
    findByName(window, u"Fett"_qs, QAccessible::NoRole)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    EXPECT_EQ(stored(), QByteArray("Am <b>Samstag</b>"));
}

}  // namespace
}  // namespace zw::test

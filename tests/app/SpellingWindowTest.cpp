// Spell checking in the window: the news text of a block is underlined where a word is misspelt, and a
// correction from the word's context menu goes into the block.
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include "AppFixture.h"
#include "editing/ui/SpellCheck.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"

namespace zw::test {
namespace {

class SpellingWindowTest : public AppTest {};

TEST_F(SpellingWindowTest, AMisspeltWordInTheNewsTextIsUnderlinedAndItsCorrectionGoesIntoTheBlock) {
    TMainForm& f = start();
    f.show();
    // The dictionary is read once the window has shown itself.
    ASSERT_TRUE(QTest::qWaitFor([&] { return f.Memo1->document()->findChild<QSyntaxHighlighter*>(); }, 10000));
    f.ListBox1->selectRow(0);
    f.blockList().ListBox1Click();
    f.Memo1->setPlainText(u"Das <b>Somerfest</b> beginnt um {Uhrzeit}."_qs);
    const auto underlined = [&f] {
        const QTextBlock text = f.Memo1->document()->firstBlock();
        QStringList words;
        for (const QTextLayout::FormatRange& r : text.layout()->formats())
            if (r.format.underlineStyle() == QTextCharFormat::WaveUnderline)
                words << text.text().mid(r.start, r.length);
        return words;
    };
    // The first check of a document that had its text already comes from the event loop.
    QTest::qWaitFor([&] { return !underlined().isEmpty(); }, 5000);
    EXPECT_EQ(underlined(), QStringList({u"Somerfest"_qs}));

    QTextCursor atWord(f.Memo1->document());
    atWord.setPosition(9);
    std::unique_ptr<QMenu> menu(createSpellingMenu(f.Memo1, f.Memo1->cursorRect(atWord).center()));
    ASSERT_TRUE(menu);
    QAction* correction = menu->actions().value(0);
    ASSERT_TRUE(correction);
    EXPECT_EQ(correction->text(), u"Sommerfest"_qs);
    correction->trigger();
    EXPECT_EQ(f.Memo1->toPlainText(), u"Das <b>Sommerfest</b> beginnt um {Uhrzeit}."_qs);
    EXPECT_FALSE(f.session().Saved);
    f.blockList().ListBox1Enter();
    EXPECT_EQ(sections().value(0).lines.value(4), "Das <b>Sommerfest</b> beginnt um {Uhrzeit}.");
    menu.reset();
}

}  // namespace
}  // namespace zw::test

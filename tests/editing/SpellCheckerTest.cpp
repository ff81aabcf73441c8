// German spell checking: what counts as a misspelt word, the user's own words, and the underline and
// context menu in the fields.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextLayout>

#include "editing/SpellChecker.h"
#include "editing/ui/SpellCheck.h"
#include "support/Files.h"

namespace zw::test {
namespace {

QStringList misspeltWords(const SpellChecker& checker, const QString& text, bool skipTags = false) {
    QStringList words;
    for (const SpellChecker::Range& r : checker.misspelt(text, skipTags)) words << text.mid(r.start, r.length);
    return words;
}

class SpellCheckerTest : public ::testing::Test {
protected:
    TempFolder folder;
    QString userWords = folder.file(QLatin1String(SpellChecker::kUserWordsFile));
    SpellChecker checker{userWords};
};

TEST_F(SpellCheckerTest, GermanProseIsCheckedAndWhatIsNoProseIsLeftAlone) {
    ASSERT_TRUE(checker.available()) << "the German dictionary (hunspell-de-de) is missing";
    const struct {
        const char* name;
        const char* text;
        QStringList wrong;
        bool skipTags = false;
    } rows[] = {
        {"umlauts and ß", "Grüße aus München: Die Straße wird schöner.", {}},
        {"compounds the dictionary knows", "Die Mitgliederversammlung beschließt den Vereinsbeitrag.", {}},
        {"capitalised nouns, a verb at the start", "Fahrrad und Haus. Gehen wir!", {}},
        {"a noun written small", "Das fahrrad steht im haus.", {"fahrrad", "haus"}},
        {"typing errors", "Wir treffn uns im Vereinheim zum Grilen.", {"treffn", "Vereinheim", "Grilen"}},
        {"a field", "Hallo {Vorname}, liebe {Mitgliedsnumer}!", {}},
        {"an address", "Schreiben Sie an vorstnd@verein-beispiel.de oder info@tsv.de.", {}},
        {"links", "Mehr unter https://www.verein.de/termne und www.beispielvrein.de.", {}},
        {"words with digits", "Am 3ten Mai um 19Uhr in Halle B2.", {}},
        {"words in capitals", "Der ADFC und die GEMA grüßen.", {}},
        {"tags of the source view", "<b>Fett</b> und <a href=\"https://x.de\">hiir</a> &amp; mehr", {"hiir"}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(misspeltWords(checker, QString::fromUtf8(row.text), row.skipTags), row.wrong);
    }
    const QStringList suggestions = checker.suggest(u"treffn"_qs);
    EXPECT_TRUE(suggestions.contains(u"treffen"_qs)) << suggestions.join(u',').toStdString();
    EXPECT_LE(checker.suggest(u"Vereinheim"_qs).size(), 5);
}

TEST_F(SpellCheckerTest, AddedWordsAreKeptInTheUsersListAndIgnoredOnesForThisRun) {
    const QString sentence = u"Die Zettelwörkgruppe und der Tüdelkram."_qs;
    ASSERT_EQ(misspeltWords(checker, sentence), QStringList({u"Zettelwörkgruppe"_qs, u"Tüdelkram"_qs}));
    checker.addToUserWords(u"Zettelwörkgruppe"_qs);
    checker.ignore(u"Tüdelkram"_qs);
    EXPECT_EQ(misspeltWords(checker, sentence), QStringList());
    EXPECT_EQ(readAll(userWords), QByteArray("Zettelwörkgruppe\n"));

    const SpellChecker nextRun(userWords);
    EXPECT_EQ(misspeltWords(nextRun, sentence), QStringList({u"Tüdelkram"_qs}));
    const SpellChecker noDictionary(userWords, {folder.subfolder(u"leer"_qs)});
    EXPECT_FALSE(noDictionary.available());
    EXPECT_EQ(misspeltWords(noDictionary, sentence), QStringList());
}

// The underline in a document: the format QSyntaxHighlighter gave the range.
bool underlined(const QTextBlock& block, int start, int length) {
    for (const QTextLayout::FormatRange& f : block.layout()->formats())
        if (f.start == start && f.length == length &&
            f.format.underlineStyle() == QTextCharFormat::WaveUnderline)
            return true;
    return false;
}

TEST_F(SpellCheckerTest, AMisspeltWordIsUnderlinedAndASuggestionFromItsMenuReplacesIt) {
    QPlainTextEdit news;
    news.resize(500, 200);
    attachSpellChecking(&news, checker, true);
    news.setPlainText(u"Der <b>Vereinn</b> trifft sich.\nZweiter Absatz ohne Fehler."_qs);
    news.show();
    const QTextBlock first = news.document()->firstBlock();
    EXPECT_TRUE(underlined(first, 7, 7));
    EXPECT_TRUE(first.next().layout()->formats().isEmpty());

    QTextCursor atWord(news.document());
    atWord.setPosition(9);
    std::unique_ptr<QMenu> menu(createSpellingMenu(&news, news.cursorRect(atWord).center()));
    ASSERT_TRUE(menu);
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 4);
    const QString suggestion = actions[0]->text();
    EXPECT_TRUE(suggestion.startsWith(u"Verein"_qs)) << suggestion.toStdString();
    actions[0]->trigger();
    EXPECT_EQ(news.toPlainText(), u"Der <b>%1</b> trifft sich.\nZweiter Absatz ohne Fehler."_qs.arg(suggestion));
    EXPECT_FALSE(underlined(news.document()->firstBlock(), 7, int(suggestion.size())));
    news.undo();
    EXPECT_TRUE(news.toPlainText().startsWith(u"Der <b>Vereinn</b>"_qs)) << "one step of the undo history";

    // The same on a rich text editor, as the formatted view of the news text is.
    QTextEdit formatted;
    formatted.resize(500, 200);
    attachSpellChecking(&formatted, checker);
    formatted.setPlainText(u"Ein Vereinn trifft sich."_qs);
    formatted.show();
    EXPECT_TRUE(underlined(formatted.document()->firstBlock(), 4, 7));
    QTextCursor inFormatted(formatted.document());
    inFormatted.setPosition(6);
    menu.reset(createSpellingMenu(&formatted, formatted.cursorRect(inFormatted).center()));
    ASSERT_TRUE(menu);
    menu->actions().value(0)->trigger();
    EXPECT_EQ(formatted.toPlainText(), u"Ein %1 trifft sich."_qs.arg(suggestion));
    menu.reset();

    QLineEdit headline;
    headline.resize(400, 30);
    attachSpellChecking(&headline, checker);
    headline.setText(u"Ein Vereinn"_qs);
    EXPECT_FALSE(createSpellingMenu(&headline, QPoint(2, 15))) << "no misspelt word at \"Ein\"";
    menu.reset(createSpellingMenu(&headline, QPoint(390, 15)));
    ASSERT_TRUE(menu);
    const QList<QAction*> lineActions = menu->actions();
    auto ignore = std::find_if(lineActions.begin(), lineActions.end(),
                               [](QAction* a) { return a->text() == u"Ignorieren"_qs; });
    ASSERT_NE(ignore, lineActions.end());
    (*ignore)->trigger();
    EXPECT_FALSE(createSpellingMenu(&headline, QPoint(390, 15))) << "ignored";
    EXPECT_FALSE(underlined(news.document()->firstBlock(), 7, 7)) << "ignored in every field";
    menu.reset();  // a child of the field
}

TEST_F(SpellCheckerTest, UnderliningIsNoEditOfTheText) {
    QPlainTextEdit news;
    news.setPlainText(u"Ein Vereinn und ein Fest."_qs);
    QSignalSpy edited(&news, &QPlainTextEdit::textChanged);
    attachSpellChecking(&news, checker);
    QCoreApplication::processEvents();  // the first check of a text that was there comes queued
    EXPECT_TRUE(underlined(news.document()->firstBlock(), 4, 7));
    checker.addToUserWords(u"Vereinn"_qs);
    QLineEdit other;
    attachSpellChecking(&other, checker);
    other.setText(u"Ein Feest"_qs);
    std::unique_ptr<QMenu> menu(createSpellingMenu(&other, QPoint(200, 10)));
    ASSERT_TRUE(menu);
    for (QAction* a : menu->actions())
        if (a->text() == u"Ignorieren"_qs)
            a->trigger();  // every field is checked again
    EXPECT_FALSE(underlined(news.document()->firstBlock(), 4, 7));
    EXPECT_EQ(edited.count(), 0) << "the news text would count as edited";
    menu.reset();
}

}  // namespace
}  // namespace zw::test

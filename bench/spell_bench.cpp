// German spell checking of a news text of 2,000 words, as the highlighter checks it when the text is
// loaded into the editor (paragraph by paragraph, tags skipped): at most 50 ms. Measured the first time
// (a checker that knows no word yet) and again (the answers kept); beside it the floor, Hunspell asked
// once for every word, and the dictionary's load, which happens once after start-up. A keystroke in a
// text of 20 KB checks its paragraph again, not the text: the last two compare the two.
#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

#include <hunspell/hunspell.hxx>

#include "editing/SpellChecker.h"

namespace zw {
namespace {

// Paragraphs of a club's news text with markup, some typos among them, about 2,000 words in all.
QStringList newsParagraphs(qsizetype words) {
    const QStringList sentences = {
        u"Am <b>Samstag</b> treffen wir uns zum Frühjahrsputz am Vereinsheim, danach gibt es Kuchen."_qs,
        u"Die Mitgliederversammlung beschließt den neuen Beitrag für Jugendliche und Familien."_qs,
        u"Anmeldungen bitte bis zum 15. März an {Vorname} oder vorstand@tsv-beispiel.de schicken."_qs,
        u"Unsere Fußballmannschaft hat das Spiel gegen den Nachbarverein knapp gewonnen."_qs,
        u"Weitere Bilder vom Sommerfest finden Sie unter <a href=\"https://www.tsv-beispiel.de\">hier</a>."_qs,
        u"Der Kassenwart bittet alle Mitgleider, die Lastschrift rechtzeitig zu prüfen."_qs,
        u"Beim Training am Dienstag fällt die Halle wegen einer Veranstaltung der Schule aus."_qs,
        u"Wir gratulieren unseren Jubilaren herzlich und danken für die langjährige Treue."_qs,
        u"Die Radtour führt in diesem Jahr entlang des Flusses bis zur alten Mühle und zurück."_qs,
        u"Helfer für den Kuchenverkauf werden noch gesucht; bitte meldet euch beim Vorstnad."_qs,
    };
    QStringList paragraphs;
    QString paragraph;
    qsizetype count = 0;
    for (int i = 0; count < words; ++i) {
        const QString& s = sentences[i % sentences.size()];
        paragraph += s + u' ';
        count += s.count(u' ') + 1;
        if (i % 4 == 3) {
            paragraphs << paragraph;
            paragraph.clear();
        }
    }
    if (!paragraph.isEmpty())
        paragraphs << paragraph;
    return paragraphs;
}

void checkAll(const SpellChecker& checker, const QStringList& paragraphs) {
    for (const QString& p : paragraphs) benchmark::DoNotOptimize(checker.misspelt(p, true));
}

void BM_Spell_NewsText2000Words_First(benchmark::State& state) {
    const QStringList paragraphs = newsParagraphs(2000);
    for (auto _ : state) {
        state.PauseTiming();
        SpellChecker checker({});
        state.ResumeTiming();
        checkAll(checker, paragraphs);
    }
}

void BM_Spell_NewsText2000Words_Again(benchmark::State& state) {
    const QStringList paragraphs = newsParagraphs(2000);
    const SpellChecker checker({});
    checkAll(checker, paragraphs);
    for (auto _ : state) checkAll(checker, paragraphs);
}

// The floor: Hunspell asked once for each of the 2,000 words, without fields, tags or links taken out.
void BM_Spell_Floor_HunspellEveryWord(benchmark::State& state) {
    std::vector<std::string> words;
    for (const QString& p : newsParagraphs(2000))
        for (const QString& w : p.split(u' ', Qt::SkipEmptyParts)) words.push_back(w.toStdString());
    Hunspell hunspell("/usr/share/hunspell/de_DE.aff", "/usr/share/hunspell/de_DE.dic");
    for (auto _ : state)
        for (const std::string& w : words) benchmark::DoNotOptimize(hunspell.spell(w));
}

void BM_Spell_LoadDictionary(benchmark::State& state) {
    for (auto _ : state) {
        const SpellChecker checker({});
        benchmark::DoNotOptimize(checker.available());
    }
}

// A keystroke in a 20 KB text: its paragraph is checked (new words among it), or the whole text.
void BM_Spell_Keystroke20KB_Paragraph(benchmark::State& state) {
    const QStringList paragraphs = newsParagraphs(2700);  // about 20 KB
    const SpellChecker checker({});
    checkAll(checker, paragraphs);
    QString typed = paragraphs[paragraphs.size() / 2];
    int n = 0;
    for (auto _ : state) {
        typed.insert(40, QChar(u'a' + n++ % 26));
        benchmark::DoNotOptimize(checker.misspelt(typed, true));
    }
    state.counters["text_KB"] = double(paragraphs.join(u'\n').toUtf8().size()) / 1024;
}

void BM_Spell_Keystroke20KB_WholeText(benchmark::State& state) {
    const QStringList paragraphs = newsParagraphs(2700);
    const SpellChecker checker({});
    checkAll(checker, paragraphs);
    QStringList typed = paragraphs;
    int n = 0;
    for (auto _ : state) {
        typed[typed.size() / 2].insert(40, QChar(u'a' + n++ % 26));
        checkAll(checker, typed);
    }
}

BENCHMARK(BM_Spell_NewsText2000Words_First)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Spell_NewsText2000Words_Again)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Spell_Floor_HunspellEveryWord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Spell_LoadDictionary)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_Spell_Keystroke20KB_Paragraph)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Spell_Keystroke20KB_WholeText)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zw

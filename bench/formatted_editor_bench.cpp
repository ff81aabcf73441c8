// The formatted news editor at a long text (20 KB of the editor's markup): loading it into the view,
// one keystroke in it (with the write-back into the source view that every change makes), and storing
// it, beside the floor of each: the same text as plain text in the view, a keystroke in a bare text
// edit, and copying the text. Goals: load and keystroke well under a frame (16 ms), storing under 5 ms.
#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include "editing/FormattedText.h"
#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/NewsViewsPart.h"

namespace zw {
namespace {

constexpr qsizetype kTextSize = 20 * 1000;

QString longNewsText() {
    const QString paragraph = QStringLiteral(
        "Am <b>Samstag</b> treffen wir uns zum Frühjahrsputz am Vereinsheim, <i>danach</i> gibt es Kuchen "
        "&amp; Kaffee.<br>Bitte tragt euch in die <a href=3D\"http://www.example.org/liste?jahr=3D2026\">"
        "Kuchenliste</a> ein, {Vorname|liebe Mitglieder}!<li>Eimer</li><li>Besen</li><li><u>Handschuhe</u>"
        "</li><font size=\"+1\">Wir freuen uns.</font><br>");
    QString text;
    while (text.size() < kTextSize) text += paragraph;
    return text;
}

void needApplication() {
    if (QApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "zettelwerk-bench";
    static char* argv[] = {name, nullptr};
    // Never destroyed: the benchmark library's own statics outlive main().
    new QApplication(argc, argv);
}

void sizeOf(FormattedNewsEdit& view) {
    // The layout a shown view makes before it paints.
    benchmark::DoNotOptimize(view.document()->size());
}

void BM_FormattedLoad(benchmark::State& state) {
    needApplication();
    const QString text = longNewsText();
    FormattedNewsEdit view;
    view.resize(600, 400);
    for (auto _ : state) {
        if (!view.load(text))
            state.SkipWithError("the text was refused");
        sizeOf(view);
    }
}
BENCHMARK(BM_FormattedLoad)->Unit(benchmark::kMillisecond);

void BM_FormattedLoadFloor_PlainText(benchmark::State& state) {
    needApplication();
    const QString text = longNewsText();
    FormattedNewsEdit view;
    view.resize(600, 400);
    for (auto _ : state) {
        view.setPlainText(text);
        sizeOf(view);
    }
}
BENCHMARK(BM_FormattedLoadFloor_PlainText)->Unit(benchmark::kMillisecond);

void typeOneKey(QWidget* target) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(target, &press);
}

void BM_FormattedKeystroke(benchmark::State& state) {
    needApplication();
    QTemporaryDir folder;
    QWidget window;
    auto* memo = new QPlainTextEdit(&window);
    auto* formatted = new FormattedNewsEdit(&window);
    auto* stack = new QStackedWidget(&window);
    stack->addWidget(memo);
    stack->addWidget(formatted);
    NewsViewsPart views(memo, formatted, stack, folder.path() + QLatin1Char('/'), &window);
    memo->setPlainText(longNewsText());
    formatted->resize(600, 400);
    QTextCursor middle = formatted->textCursor();
    middle.setPosition(formatted->document()->characterCount() / 2);
    formatted->setTextCursor(middle);
    for (auto _ : state) {
        typeOneKey(formatted);
        sizeOf(*formatted);
    }
    state.counters["stored_chars"] = double(memo->document()->characterCount());
}
BENCHMARK(BM_FormattedKeystroke)->Unit(benchmark::kMillisecond);

void BM_FormattedKeystrokeFloor_BareEdit(benchmark::State& state) {
    needApplication();
    FormattedNewsEdit view;
    view.resize(600, 400);
    view.load(longNewsText());
    QTextCursor middle = view.textCursor();
    middle.setPosition(view.document()->characterCount() / 2);
    view.setTextCursor(middle);
    for (auto _ : state) {
        typeOneKey(&view);
        sizeOf(view);
    }
}
BENCHMARK(BM_FormattedKeystrokeFloor_BareEdit)->Unit(benchmark::kMillisecond);

void BM_FormattedStore(benchmark::State& state) {
    needApplication();
    QTextDocument doc;
    readFormattedText(longNewsText(), doc, {});
    for (auto _ : state) benchmark::DoNotOptimize(writeFormattedText(doc));
}
BENCHMARK(BM_FormattedStore)->Unit(benchmark::kMillisecond);

void BM_FormattedStoreFloor_Copy(benchmark::State& state) {
    const QString text = longNewsText();
    for (auto _ : state) {
        QString copy(text.constData(), text.size());
        benchmark::DoNotOptimize(copy);
    }
}
BENCHMARK(BM_FormattedStoreFloor_Copy)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zw

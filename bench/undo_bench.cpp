// The news editor's undo history at its limit: ten thousand keystrokes in a news text of 100 KB, each
// taken through the change handler (a snapshot of the whole text), beside the floor: the same
// keystrokes applied to the text alone. store_MB is what the history holds after them.
#include <QString>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "editing/UndoHistory.h"

namespace zw {
namespace {

constexpr int kEdits = 10000;
constexpr qsizetype kTextSize = 100 * 1000;

QString newsText() {
    const QString sentence = QStringLiteral(
        "Am Samstag treffen wir uns zum Frühjahrsputz am Vereinsheim, danach gibt es <b>Kuchen</b>.<br>\n");
    QString text;
    text.reserve(kTextSize + sentence.size());
    while (text.size() < kTextSize) text += sentence;
    text.truncate(kTextSize);
    return text;
}

// One keystroke: a character typed at a position, or the character before it deleted.
struct Keystroke {
    qsizetype at;
    QChar typed;  // null for a deletion
};

// Typing runs of a few dozen keystrokes at one place, the caret moving on as it goes, with a
// correction now and then, and a jump to another place of the text between runs.
std::vector<Keystroke> keystrokes() {
    std::mt19937 random(7);
    std::vector<Keystroke> out;
    out.reserve(kEdits);
    qsizetype size = kTextSize;
    qsizetype caret = 0;
    while (int(out.size()) < kEdits) {
        if (out.size() % 40 == 0)
            caret = qsizetype(random() % quint32(size));
        if (random() % 8 == 0 && caret > 0) {
            out.push_back({--caret, QChar()});
            --size;
        } else {
            out.push_back({caret++, QChar(u'a' + char16_t(random() % 26))});
            ++size;
        }
    }
    return out;
}

// Applies a keystroke and says where the text changed, as the editor's change report does.
TextChange apply(QString& text, const Keystroke& k) {
    if (k.typed.isNull()) {
        text.remove(k.at, 1);
        return {k.at, 1, 0};
    }
    text.insert(k.at, k.typed);
    return {k.at, 0, 1};
}

void BM_KeystrokesAlone(benchmark::State& state) {
    const QString start = newsText();
    const std::vector<Keystroke> edits = keystrokes();
    for (auto _ : state) {
        QString text = start;
        text.detach();
        for (const Keystroke& k : edits) apply(text, k);
        benchmark::DoNotOptimize(text.constData());
    }
    state.counters["edits"] = kEdits;
}

// reported: whether the handler is told where the text changed, as the editor tells it; without, the
// store compares the whole texts (what happens after a change the editor did not report singly).
void keystrokesWithUndoHistory(benchmark::State& state, bool reported) {
    const QString start = newsText();
    const std::vector<Keystroke> edits = keystrokes();
    qsizetype memory = 0;
    for (auto _ : state) {
        QString text = start;
        text.detach();
        UndoHistory history;
        bool saved = true;
        for (const Keystroke& k : edits) {
            const TextChange where = apply(text, k);
            // What the change handler does with the editor's text.
            saved = false;
            history.change(text, reported ? std::optional(where) : std::nullopt);
        }
        benchmark::DoNotOptimize(saved);
        memory = history.store().memoryUsage();
    }
    state.counters["edits"] = kEdits;
    state.counters["store_MB"] = double(memory) / (1024.0 * 1024.0);
}

void BM_KeystrokesWithUndoHistory(benchmark::State& state) {
    keystrokesWithUndoHistory(state, true);
}
void BM_KeystrokesWithUndoHistoryComparing(benchmark::State& state) {
    keystrokesWithUndoHistory(state, false);
}

// Stepping back through all ten thousand snapshots, one undo at a time.
void BM_UndoAllKeystrokes(benchmark::State& state) {
    QString text = newsText();
    UndoHistory history;
    history.change(text);
    for (const Keystroke& k : keystrokes()) history.change(text, apply(text, k));
    for (auto _ : state) {
        state.PauseTiming();
        UndoHistory copy = history;
        state.ResumeTiming();
        while (copy.backEnabled) {
            const std::optional<QString> restored = copy.stepBack();
            copy.change(*restored);
        }
        benchmark::DoNotOptimize(copy.UndoCounter);
    }
    state.counters["undos"] = kEdits;
}

BENCHMARK(BM_KeystrokesAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokesWithUndoHistory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokesWithUndoHistoryComparing)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UndoAllKeystrokes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zw

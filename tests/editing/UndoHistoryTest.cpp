// The undo history: snapshots per change, stepping back, the oldest state, no redo.
#include <gtest/gtest.h>

#include <random>

#include "editing/UndoHistory.h"
#include "support/QtPrinters.h"

namespace zw::test {
namespace {

// A script of the editor's life: "=text" is a change to that text (a restore is also a change, as the
// editor reports it), "<" the undo command, "0" a reset. After every step the history must show the
// editor text, the counter and the state of the button given in the row.
struct Step {
    const char* action;
    const char* editorAfter;  // the text the editor shows afterwards
    int counter;
    bool backEnabled;
};

void play(const std::vector<Step>& script, const char* name) {
    UndoHistory history;
    QString editor;
    int n = 0;
    for (const Step& step : script) {
        ++n;
        const QString action = QString::fromUtf8(step.action);
        if (action == u"<") {
            if (const std::optional<QString> text = history.stepBack()) {
                editor = *text;
                history.change(editor);  // the restore's own change
            }
        } else if (action == u"0") {
            history.reset();
        } else {
            editor = action.mid(1);
            history.change(editor);
        }
        EXPECT_EQ(editor, QString::fromUtf8(step.editorAfter)) << name << " step " << n;
        EXPECT_EQ(history.UndoCounter, step.counter) << name << " step " << n;
        EXPECT_EQ(history.backEnabled, step.backEnabled) << name << " step " << n;
        EXPECT_TRUE(history.UndoRecording) << name << " step " << n;
    }
}

TEST(UndoHistory, Sequences) {
    play({{"=Text", "Text", 1, true},  // the block as loaded
          {"=TextA", "TextA", 2, true},
          {"=TextAB", "TextAB", 3, true},
          {"<", "TextA", 2, true},
          {"<", "Text", 1, true},
          {"<", "Text", 1, false},   // the oldest once more, and the button goes off
          {"<", "Text", 1, false}},  // Ctrl+Z still works while the counter is 1
         "two keystrokes undone");
    play({{"=a", "a", 1, true},
          {"=ab", "ab", 2, true},
          {"=abc", "abc", 3, true},
          {"<", "ab", 2, true},
          {"=abX", "abX", 3, true},  // no redo: the change takes the place of "abc"
          {"<", "ab", 2, true},
          {"<", "a", 1, true}},
         "change after undo");
    play({{"<", "", 0, false},  // nothing recorded: nothing happens
          {"=x", "x", 1, true},
          {"0", "x", 0, false},
          {"<", "x", 0, false},
          {"=xy", "xy", 1, true},  // the first change after a reset is snapshot 1
          {"<", "xy", 1, false}},
         "reset");
    play({{"=same", "same", 1, true},
          {"=same", "same", 2, true},
          {"<", "same", 1, true},
          {"=other", "other", 2, true}},
         "equal texts are changes too");
}

// Random changes, some reported with where they took place, some not, some reported wrongly, with
// undos in between: every snapshot read back must be the text stored under its number.
TEST(UndoStore, ReadsBackEveryTextUnderAnyMixOfChangesAndUndos) {
    std::mt19937 random(11);
    UndoStore store;
    std::vector<QString> expected;  // expected[k - 1] is snapshot k
    QString text = u"Am Samstag treffen wir uns 😀 am Vereinsheim.\n"_qs.repeated(40);
    int counter = 0;
    for (int round = 0; round < 3000; ++round) {
        if (random() % 5 == 0 && counter > 1) {
            counter -= int(random() % 3 + 1);
            counter = std::max(counter, 1);
            ASSERT_EQ(store.read(counter), expected[size_t(counter - 1)]) << "round " << round;
            text = expected[size_t(counter - 1)];
            continue;
        }
        const qsizetype at = qsizetype(random() % quint32(text.size() + 1));
        const qsizetype removed = std::min<qsizetype>(random() % 4, text.size() - at);
        const QString added = QString(qsizetype(random() % 3), QChar(u'a' + char16_t(round % 26)));
        text.replace(at, removed, added);
        std::optional<TextChange> where;
        switch (random() % 5) {
            case 0:
                break;
            case 1:
                where = TextChange{at, removed, added.size()};
                break;
            case 2:
                where = TextChange{0, text.size() - added.size() + removed, text.size()};
                break;
            case 3:
                where = TextChange{at, removed + 1, added.size()};
                break;  // does not fit the sizes
            case 4:
                where = TextChange{at + 3, removed, added.size()};
                break;  // neighbours differ, mostly
        }
        ++counter;
        store.write(counter, text, where);
        expected.resize(size_t(counter));
        expected[size_t(counter - 1)] = text;
    }
    ASSERT_EQ(store.count(), counter);
    for (int k = counter; k >= 1; k -= 97) ASSERT_EQ(store.read(k), expected[size_t(k - 1)]) << k;
    EXPECT_EQ(store.read(1), expected[0]);
    store.clear();
    EXPECT_EQ(store.count(), 0);
}

}  // namespace
}  // namespace zw::test

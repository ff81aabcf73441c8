// The markup commands and the Enter key as functions of the editor's text and selection.
#include <gtest/gtest.h>

#include "editing/TextCommands.h"
#include "support/QtPrinters.h"

namespace zw {
void PrintTo(const EditorState& state, std::ostream* os) {
    *os << '"' << state.text.toStdString() << "\" selection " << state.selection.start << '+'
        << state.selection.length;
}
}  // namespace zw

namespace zw::test {
namespace {

// "[" and "]" mark the selection in the texts of the tables, "|" a bare caret.
EditorState parse(QString marked) {
    qsizetype start = marked.indexOf(u'|');
    if (start >= 0) {
        marked.remove(start, 1);
        return {marked, {start, 0}};
    }
    start = marked.indexOf(u'[');
    marked.remove(start, 1);
    const qsizetype end = marked.indexOf(u']');
    marked.remove(end, 1);
    return {marked, {start, end - start}};
}

TEST(WrapSelection, PutsTheTagsAroundTheSelectionAndKeepsItOnTheSameWords) {
    const struct {
        const char* name;
        TagPair tags;
        QString before, after;
    } rows[] = {
        {"bold word", kBoldTags, u"Hallo [Welt]"_qs, u"Hallo <b>[Welt]</b>\n"_qs},
        {"whole text", kItalicTags, u"[Hallo Welt]"_qs, u"<i>[Hallo Welt]</i>\n"_qs},
        {"inside earlier tags", kBoldTags, u"<i>[Welt]</i>\n"_qs, u"<i><b>[Welt]</b></i>\n\n"_qs},
        {"one line of several", kBulletTags, u"eins\n[zwei]\ndrei"_qs, u"eins\n<li>[zwei]</li>\ndrei\n"_qs},
        {"font size", fontSizeTags(u"+3"_qs), u"Hallo [Welt]!"_qs,
         u"Hallo <font size=\"+3\">[Welt]</font>!\n"_qs},
        {"link", linkTags(u"http://www.example.org/?a=3Db"_qs), u"[hier]"_qs,
         u"<a href=3D\"http://www.example.org/?a=3Db\">[hier]</a>\n"_qs},
        // An emoji is two UTF-16 units in the editor; the selection keeps both.
        {"emoji", kUnderlineTags, u"Gut [😀] so"_qs, u"Gut <u>[😀]</u> so\n"_qs},
        {"umlauts", kBoldTags, u"[Größe]"_qs, u"<b>[Größe]</b>\n"_qs},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WrapSelection(parse(row.before), row.tags), parse(row.after)) << row.name;
}

TEST(BreakLine, BreaksAtTheCaretAndTrimsTheRest) {
    const struct {
        const char* name;
        QString before, after;
    } rows[] = {
        {"between words", u"Hallo|   Welt"_qs, u"Hallo<br>|Welt\n"_qs},
        {"end of text", u"Hallo Welt|  \n\n"_qs, u"Hallo Welt<br>|\n"_qs},
        {"start of text", u"|\tHallo"_qs, u"<br>|Hallo\n"_qs},
        {"rest on later lines", u"eins|\n zwei\ndrei \n"_qs, u"eins<br>|zwei\ndrei\n"_qs},
        // A selection is part of the rest: nothing of it goes.
        {"selection kept", u"Hallo [schöne] Welt"_qs, u"Hallo <br>|schöne Welt\n"_qs},
        {"empty text", u"|"_qs, u"<br>|\n"_qs},
    };
    for (const auto& row : rows) EXPECT_EQ(BreakLine(parse(row.before)), parse(row.after)) << row.name;
}

TEST(PastedText, EveryLineBreakGetsItsTag) {
    const struct {
        const char* name;
        QString pasted, taken;
    } rows[] = {
        {"two lines", u"Zeile eins\nZeile zwei"_qs, u"Zeile eins<br>\nZeile zwei"_qs},
        {"Windows and old Mac breaks", u"a\r\nb\rc"_qs, u"a<br>\nb<br>\nc"_qs},
        {"empty line between", u"a\n\nb\n"_qs, u"a<br>\n<br>\nb<br>\n"_qs},
        {"line and paragraph separators", u"a\u2028b\u2029c"_qs, u"a<br>\nb<br>\nc"_qs},
        // Text moved inside the editor carries its own tags.
        {"tag already there", u"a<br>\nb<BR>\r\nc"_qs, u"a<br>\nb<BR>\nc"_qs},
        {"one line", u"nur eine Zeile"_qs, u"nur eine Zeile"_qs},
    };
    for (const auto& row : rows) EXPECT_EQ(PastedText(row.pasted), row.taken) << row.name;
}

}  // namespace
}  // namespace zw::test

// The news text between its stored markup and the formatted view's document: what is read comes back
// byte for byte, an edit changes the stored text only where it happened, and markup the view cannot
// show is refused.
#include <gtest/gtest.h>

#include <QDir>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include "editing/FormattedText.h"
#include "platform/Text.h"
#include "support/Files.h"
#include "support/QtPrinters.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

QString roundTrip(const QString& stored, bool* read = nullptr) {
    QTextDocument doc;
    const bool ok = readFormattedText(stored, doc, {});
    if (read)
        *read = ok;
    return writeFormattedText(doc);
}

// Selects the first occurrence of words in the document's plain text (line breaks count as one).
QTextCursor select(QTextDocument& doc, const QString& words) {
    const int at = int(doc.toRawText().indexOf(words));
    EXPECT_GE(at, 0) << words.toStdString();
    QTextCursor c(&doc);
    c.setPosition(at);
    c.setPosition(at + int(words.size()), QTextCursor::KeepAnchor);
    return c;
}

TEST(FormattedText, TextsInTheEditorsMarkupComeBackByteForByte) {
    const QString rows[] = {
        u""_qs,
        u"Hallo <b>Welt</b>"_qs,
        u"<i><b>Welt</b></i> und <b><i>Welt</i></b>"_qs,
        u"Am <b>Samstag</b> ab 14 Uhr<br>Kuchen: <a href=3D\"http://example.org/liste?id=3D5&amp;x=3D1\">Kuchenliste</a>"_qs,
        u"Intro:<br><li>eins</li><li>zwei</li><li><b>drei</b></li>Danach<li>vier</li>"_qs,
        u"<li>allein</li>"_qs,
        u"<li></li><li>nach leerem Punkt</li>"_qs,
        u"<font size=\"+3\">Groß</font> und <u>unter <font size=\"+1\">klein</font></u>"_qs,
        u"Hallo {Vorname|liebe Mitglieder}, {{nicht}} ersetzt"_qs,
        u"Preis &lt; 5 &amp; mehr &gt; 3 &quot;zitiert&quot; &nbsp;&euro;&#8211;&#x2013;"_qs,
        u"Kaffee & Kuchen < 5 > 3, 1+1=2, a==b"_qs,
        u"Äpfel, Öl, Übermut, Straße; „Anführung“ – €"_qs,
        u"Zeile<br><br>Leerzeile<br>"_qs,
        u"<b>fett<br>über zwei Zeilen</b>"_qs,
        u"<a href=3D\"mailto:vorstand@example.org\">Mail</a> <a href=3D\"http://x.example/?n={Vorname}\">mit Feld</a>"_qs,
        u"<b><a href=3D\"http://a.example\">A</a></b><a href=3D\"http://b.example\">B</a>"_qs,
        u"Gleich=3Dzeichen, a=20b, x=3"_qs,
    };
    for (const QString& stored : rows) {
        bool read = false;
        EXPECT_EQ(roundTrip(stored, &read), stored);
        EXPECT_TRUE(read) << stored.toStdString();
    }
}

TEST(FormattedText, EveryNewsTextOfTheShippedTemplatesComesBackByteForByte) {
    const QDir data(shippedDataFolder());
    QStringList files;
    for (const QString& folder : {u""_qs, u"Vorlagen/"_qs}) {
        for (const QString& name : QDir(data.filePath(folder)).entryList({u"*.nld"_qs}, QDir::Files))
            files << data.filePath(folder + name);
    }
    int texts = 0;
    for (const QString& file : files) {
        for (const BlockSection& block : readBlockSections(readAll(file))) {
            const QString stored = fromStored(block.lines[4]);
            bool read = false;
            EXPECT_EQ(roundTrip(stored, &read), stored) << file.toStdString();
            EXPECT_TRUE(read) << file.toStdString() << ": " << stored.toStdString();
            ++texts;
        }
    }
    EXPECT_GT(texts, 10);
}

TEST(FormattedText, RefusesMarkupItCannotShowAndLeavesTheDocumentEmpty) {
    const QString rows[] = {
        u"<p>Absatz</p>"_qs,
        u"<b>offen"_qs,
        u"zu</b>"_qs,
        u"<b><i>verschränkt</b></i>"_qs,
        u"<b><b>doppelt</b></b>"_qs,
        u"<!-- Kommentar -->"_qs,
        u"<span style=\"color:red\">rot</span>"_qs,
        u"<a href=\"http://example.org\">ohne 3D</a>"_qs,
        u"<B>groß geschrieben</B>"_qs,
        u"<font size=\"+3\" color=\"red\">Attribut</font>"_qs,
        u"&unbekannt; Entität"_qs,
        u"<b><li>über den Punkt hinaus</li></b>"_qs,
        u"<li>offener Punkt"_qs,
    };
    for (const QString& stored : rows) {
        QTextDocument doc;
        EXPECT_FALSE(readFormattedText(stored, doc, {})) << stored.toStdString();
        EXPECT_TRUE(doc.isEmpty()) << stored.toStdString();
    }
}

TEST(FormattedText, AnEditChangesTheStoredTextOnlyWhereItHappened) {
    const struct {
        const char* name;
        QString stored;
        QString words;
        std::function<void(QTextCursor&)> edit;
        QString expected;
    } rows[] = {
        {"bold word", u"Am Samstag ab 14 Uhr"_qs, u"Samstag"_qs,
         [](QTextCursor& c) { changeSelectedFormat(c, [](QTextCharFormat& f) { setInlineFormat(f, InlineFormat::Bold, true); }); },
         u"Am <b>Samstag</b> ab 14 Uhr"_qs},
        {"bold beside kept nesting", u"<i><b>Welt</b></i> und mehr"_qs, u"mehr"_qs,
         [](QTextCursor& c) { changeSelectedFormat(c, [](QTextCharFormat& f) { setInlineFormat(f, InlineFormat::Bold, true); }); },
         u"<i><b>Welt</b></i> und <b>mehr</b>"_qs},
        {"italic taken off inside", u"<i>ganz kursiv</i>"_qs, u"kursiv"_qs,
         [](QTextCursor& c) { changeSelectedFormat(c, [](QTextCharFormat& f) { setInlineFormat(f, InlineFormat::Italic, false); }); },
         u"<i>ganz </i>kursiv"_qs},
        {"typed markup stays text", u"a &amp; b"_qs, u"b"_qs,
         [](QTextCursor& c) { c.insertText(u"<b>x</b> & y=41 z=3D"_qs); },
         u"a &amp; &lt;b&gt;x&lt;/b&gt; &amp; y=41 z=3D3D"_qs},
        {"link on a word", u"Zur Liste hier"_qs, u"hier"_qs,
         [](QTextCursor& c) { changeSelectedFormat(c, [](QTextCharFormat& f) { setLinkFormat(f, u"http://example.org/?a=3Db"_qs, {}); }); },
         u"Zur Liste <a href=3D\"http://example.org/?a=3Db\">hier</a>"_qs},
        {"size", u"klein groß"_qs, u"groß"_qs,
         [](QTextCursor& c) { changeSelectedFormat(c, [](QTextCharFormat& f) { setFontSizeFormat(f, u"+2"_qs, {}); }); },
         u"klein <font size=\"+2\">groß</font>"_qs},
        {"three lines made a list", u"Mitbringen:<br>Kuchen<br>Kaffee<br>Sahne"_qs, u"Kuchen\u2028Kaffee\u2028Sahne"_qs,
         [](QTextCursor& c) { toggleListItems(c); },
         u"Mitbringen:<li>Kuchen</li><li>Kaffee</li><li>Sahne</li>"_qs},
        {"lines in the middle made a list", u"Vorher<br>Kuchen<br>Kaffee<br>Danach"_qs, u"Kuchen\u2028Kaffee"_qs,
         [](QTextCursor& c) { toggleListItems(c); },
         u"Vorher<li>Kuchen</li><li>Kaffee</li>Danach"_qs},
        {"list made lines again", u"<li>eins</li><li>zwei</li>"_qs, u"eins\u2029zwei"_qs,
         [](QTextCursor& c) { toggleListItems(c); },
         u"eins<br>zwei"_qs},
    };
    for (const auto& row : rows) {
        QTextDocument doc;
        ASSERT_TRUE(readFormattedText(row.stored, doc, {})) << row.name;
        QTextCursor c = select(doc, row.words);
        row.edit(c);
        EXPECT_EQ(writeFormattedText(doc), row.expected) << row.name;
    }
}

TEST(FormattedText, PasteKeepsBoldItalicUnderlineLinksAndListsAndDropsTheRest) {
    const QString html = uR"(<html><body style="font-family:Arial">
        <h1 style="color:red">Titel</h1>
        <p><span style="font-weight:bold">Fett</span>, <em>kursiv</em>, <u>unter</u>,
           <span style="color:#ff0000;font-size:30px">bunt</span>,
           <a href="https://example.org/?a=b">Link</a><img src="x.png"></p>
        <ul><li>eins</li><li>zwei</li></ul>
        <table><tr><td>Zelle</td></tr></table></body></html>)"_qs;
    QTextDocument doc;
    QTextCursor(&doc).insertFragment(cleanPastedFragment(
        QTextDocumentFragment::fromHtml(html), {}, [](const QString& a) { return a + u"!"_qs; }));
    const QString stored = writeFormattedText(doc);
    EXPECT_EQ(stored,
              u"<b>Titel</b><br><b>Fett</b>, <i>kursiv</i>, <u>unter</u>, bunt, "
              u"<a href=3D\"https://example.org/?a=b!\">Link</a><li>eins</li><li>zwei</li>Zelle"_qs);
    // What was pasted reads back as the view showed it.
    bool read = false;
    EXPECT_EQ(roundTrip(stored, &read), stored);
    EXPECT_TRUE(read);
}

}  // namespace
}  // namespace zw::test

#pragma once

#include <QColor>
#include <functional>
#include <QString>
#include <QTextCharFormat>

class QTextCursor;
class QTextDocument;
class QTextDocumentFragment;

namespace zw {

// The news text shown as formatting. The stored text stays the small tag set the source view writes
// (<b>, <i>, <u>, <li>, <font size="+N">, <br>, <a href=3D"...">); a QTextDocument is only another
// way to edit it. Reading remembers how each tag and each special character was written, so a text
// read and written again comes out byte for byte, and an edit changes the stored text only where it
// happened. A text that would not come out the same is refused and stays in the source view.

// How the document shows what the text cannot say itself.
struct FormattedLook {
    QColor linkColour{0x00, 0x00, 0xEE};
    qreal baseSize = 10;  // points; the size tags scale it as mail programs scale <font size>
};

// The char format properties that carry the stored form.
namespace formatted {
// The opening tags around a character, outermost first, as they were written (QStringList).
constexpr int TagOrder = QTextFormat::UserProperty + 1;
// How the character itself was written when not as itself: "&amp;", "&lt;", "=3D", or a raw "&".
constexpr int RawSource = QTextFormat::UserProperty + 2;
// The size of a surrounding <font size="..."> tag, as written ("+3").
constexpr int FontSize = QTextFormat::UserProperty + 3;
}  // namespace formatted

// Reads a news text (one line as stored; line breaks of the source view are dropped as storage drops
// them) into doc, replacing its content without an undo step. False when the text holds markup the
// document cannot show faithfully; doc is then left empty.
bool readFormattedText(const QString& text, QTextDocument& doc, const FormattedLook& look);

// The stored form of doc: the tags of the source view, well nested, one <li>...</li> per list item,
// <br> per line break, "<", ">" and "&" typed as text escaped so that they never become markup.
QString writeFormattedText(const QTextDocument& doc);

// The text as the source view keeps it, joined into the one line that is stored.
QString storedLine(const QString& editorText);

// The inline formats the commands switch.
enum class InlineFormat { Bold, Italic, Underline };
bool hasInlineFormat(const QTextCharFormat& format, InlineFormat kind);
void setInlineFormat(QTextCharFormat& format, InlineFormat kind, bool on);
// A <font size="+N"> of value ("+3"), or none for an empty value.
void setFontSizeFormat(QTextCharFormat& format, const QString& value, const FormattedLook& look);
// A link to href (its stored form, "=" written as "=3D"), or none for an empty href.
void setLinkFormat(QTextCharFormat& format, const QString& href, const FormattedLook& look);
// The address a link leads to, as the reader sees it ("=3D" back to "=").
QString linkTarget(const QString& href);

// Changes the format of every character in the cursor's selection by change, fragment by fragment, in
// one undo step.
void changeSelectedFormat(QTextCursor& cursor, const std::function<void(QTextCharFormat&)>& change);

// Makes the blocks under the cursor list items, or paragraphs again when all of them are list items.
void toggleListItems(QTextCursor& cursor);

// Pasted formatted text (from a web page, a word processor, a mail) as the news text can hold it:
// bold, italic, underline, links and list items stay, everything else (fonts, colours, tables,
// pictures, styles) goes; line breaks inside a paragraph stay. completeLink turns a pasted address into
// the stored href.
QTextDocumentFragment cleanPastedFragment(const QTextDocumentFragment& pasted, const FormattedLook& look,
                                          const std::function<QString(const QString&)>& completeLink);

}  // namespace zw

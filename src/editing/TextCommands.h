#pragma once

#include <QString>
#include <QStringList>

namespace zw {

// A selection in the news text: a start offset and a length, counted in the editor's own characters
// (UTF-16 units, so a character outside Windows-1252 such as an emoji keeps its place). Length 0 is a
// bare caret.
struct TextSelection {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const TextSelection&, const TextSelection&) = default;
};

// The news text as the editor holds it (line break "\n") together with its selection. The commands
// below map one such state to the next; the widget only collects and puts back.
struct EditorState {
    QString text;
    TextSelection selection;
    friend bool operator==(const EditorState&, const EditorState&) = default;
};

// One tag pair of the markup commands.
struct TagPair {
    QString opening;
    QString closing;
};

// The information message of a command that needs a selection.
inline const QString kSelectTextFirst =
    QStringLiteral("Markieren Sie bitte zuerst mit der Maus den Text der formatiert werden soll!");

// The fixed tag pairs of the tool buttons.
inline const TagPair kBoldTags{QStringLiteral("<b>"), QStringLiteral("</b>")};
inline const TagPair kItalicTags{QStringLiteral("<i>"), QStringLiteral("</i>")};
inline const TagPair kUnderlineTags{QStringLiteral("<u>"), QStringLiteral("</u>")};
inline const TagPair kBulletTags{QStringLiteral("<li>"), QStringLiteral("</li>")};

// The font-size chooser: a caption, then the sizes.
inline const QStringList kFontSizeItems{
    QStringLiteral("Schriftgröße"), QStringLiteral("+1"), QStringLiteral("+2"), QStringLiteral("+3"),
    QStringLiteral("+4"),           QStringLiteral("+5"), QStringLiteral("+6"), QStringLiteral("+7")};

// Puts the selected text between opening and closing and ends the text with one more line break. The
// selection stays on the same characters, now between the tags. The selection must not be empty.
EditorState WrapSelection(const EditorState& state, const TagPair& tags);

// The first half of the Enter key: "<br>" at the caret, the rest of the text (a selection included)
// without the blanks and line breaks at its ends, one line break after it, and the caret just behind
// "<br>". The editor then inserts its own line break at the caret.
EditorState BreakLine(const EditorState& state);

// Text that a paste or a drop brings, as the editor takes it: each line break becomes "<br>" at the end
// of its line and a break of the editor ("\n"), as the Enter key writes it, so that the break reaches
// the newsletter (the stored block is one line). A line that already ends in "<br>" keeps just that,
// so text moved inside the editor does not gain a second one.
QString PastedText(const QString& text);

// The chooser's caption is the one item that wraps nothing; only it contains "GR" in capitals.
bool isFontSizeCaption(const QString& item);
TagPair fontSizeTags(const QString& item);
// The link tag pair for an address already completed for the message. Its "=" is written as "=3D",
// because the news text goes into the quoted-printable HTML part unchanged.
TagPair linkTags(const QString& completedAddress);
// True for an address the hyperlink dialog must ignore: empty or only blanks and control characters.
bool isBlankAddress(const QString& address);

}  // namespace zw

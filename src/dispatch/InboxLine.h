#pragma once

#include <QString>

namespace zw {

struct PreviewMessage;

// What an inbox shows of a message before it is opened: who sent it, the subject and its first words.
struct InboxLine {
    QString sender;
    QString subject;
    QString snippet;
    // The three as one line, as a screen reader reads it: "sender – subject – snippet" (what there is).
    QString text() const;
};

// The sender's name in the inbox: the sender profile's name, else its address; without a sender set up,
// the imprint's name (the first part of its first line without a field, markup left out), else its
// mail address.
QString inboxSenderName(const QString& profileName, const QString& profileAddress, const QString& imprintText,
                        const QString& imprintMail);

// The first words of an HTML body as the inbox shows them: a hidden preview text at the top of the body
// alone, else the text from the top; tags, comments, styles and the head left out, character
// references decoded, blanks run together, at most maxLength characters ("…" when cut).
QString inboxSnippet(const QString& html, qsizetype maxLength = 120);

// The line for a rendered message: its subject as a reader sees it (the fields already filled in by
// the rendering) and its HTML part's first words.
InboxLine inboxLine(const PreviewMessage& message, const QString& sender);

}  // namespace zw

#pragma once

#include <QByteArray>
#include <QList>
#include <QStringView>

namespace zw {

// A stored text with its markup (a news text, a header line, the imprint) as plain text, one entry per
// line it breaks into: bold, italic and the other inline tags give their words alone, <br> breaks the
// line, a list item is a line of its own beginning with "- ", and a link is its text followed by its
// address in angle brackets unless the two say the same. Entities and the "=3D" of the link command
// are decoded; blanks collapse as a browser collapses them; a personal field's marker stays as it is.
QList<QByteArray> MarkupToPlainLines(const QByteArray& stored);

// The character an entity stands for, by its name between "&" and ";" ("amp", "#228", "#xE4"): the
// named ones German newsletters bring and any numeric reference; 0 for anything else. The plain text
// and the formatted news view read entities alike through this.
char32_t EntityCharacter(QStringView name);

// A link address as a reader of the plain text follows it: a web address without a scheme gets
// "http://", a mail address stands as typed.
QByteArray PlainAddress(const QByteArray& address);

// One decoded line as lines of a format=flowed part (RFC 3676, DelSp=no), quoted-printable: wrapped at
// the blanks to at most width characters, each soft break kept as the blank that ends its line
// (written "=20", which no decoder strips), the line's end hard. A word longer than width stands alone
// on its line. Lines that a reader would take for a quote or an escaped "From " are space-stuffed.
QList<QByteArray> FlowedLines(const QByteArray& line, int width = 72);

}  // namespace zw

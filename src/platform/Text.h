#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <optional>

namespace zw {

// Texts inside templates, block files and messages are Windows-1252 bytes; the widgets and the
// file system speak Unicode. toStored() and fromStored() are the crossing for stored texts; the two
// plain conversions below are their building blocks and serve bytes read from elsewhere (a written
// message) that carry no references.
//
// A character that Windows-1252 cannot hold is stored as an HTML numeric character reference
// ("&#8364;" style): the HTML part shows it as the character, and nothing is silently lost.
QByteArray toStored(const QString& text);
// The reverse; references to characters outside Windows-1252 turn back into those characters, so a
// text survives any number of round trips through the widgets unchanged.
QString fromStored(const QByteArray& bytes);

// Windows-1252 as it is, without the character references of toStored() and fromStored().
QString decodeWindows1252(QByteArrayView bytes);
// Nothing when the text holds a character that Windows-1252 has no byte for.
std::optional<QByteArray> encodeWindows1252(QStringView text);

// Removes every character of code 32 or below at both ends.
QByteArray trimmed8(const QByteArray& text);
// Removes blanks and tabs at both ends only: the other control bytes stay (a personal field stands in a
// text as a marker of control bytes, which trimmed8 would cut in half).
QByteArray trimmedBlanks(const QByteArray& text);
QString trimmedControl(const QString& text);

// The part of a stored path after its last "\", "/" or ":".
QByteArray fileNamePart(const QByteArray& path);
QString fileNamePart(const QString& path);

// A value for a one-line field: every line break becomes a blank.
QString oneLine(const QString& text);

// A size for people, in German: "512 Bytes", "35,2 KB", "1,2 MB".
QString sizeText(qint64 bytes);

// ASCII-only case changes, as the file formats want them.
QByteArray asciiLower(QByteArray text);
QByteArray asciiUpper(QByteArray text);

// A stored picture path as a path of this file system, and back.
inline QString pathFromStored(const QByteArray& stored) {
    return fromStored(stored);
}
inline QByteArray storedFromPath(const QString& path) {
    return toStored(path);
}

}  // namespace zw

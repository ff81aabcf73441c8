#pragma once

#include <QByteArray>
#include <QString>

namespace zw {

// Texts inside templates, block files and messages are Windows-1252 bytes; the widgets and the
// file system speak Unicode. These two functions are the only crossing between them.
//
// A character that Windows-1252 cannot hold is stored as an HTML numeric character reference
// ("&#8364;" style): the HTML part shows it as the character, and nothing is silently lost.
QByteArray toStored(const QString& text);
// The reverse; references to characters outside Windows-1252 turn back into those characters, so a
// text survives any number of round trips through the widgets unchanged.
QString fromStored(const QByteArray& bytes);

// Removes every character of code 32 or below at both ends.
QByteArray trimmed8(const QByteArray& text);
QString trimmedControl(const QString& text);

// The part of a stored path after its last "\", "/" or ":".
QByteArray fileNamePart(const QByteArray& path);
QString fileNamePart(const QString& path);

// A value for a one-line field: every line break becomes a blank.
QString oneLine(const QString& text);

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

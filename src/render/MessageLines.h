#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>
#include <QString>

namespace zw {

// The message as it is assembled: an ordered list of lines without CR or LF. The base64 text of the
// pictures is the bulk of a message and never changes, so a picture part's body is kept as the path
// of its file and encoded only when the message is written, straight from the file into the target:
// a message with hundreds of pictures then costs little more than writing it, and no memory of its
// size. Likewise the long lines of a quoted-printable region are cut by soft line breaks only as they
// are handed out, without a list of their pieces.
class MessageLines {
public:
    void append(const QByteArray& line) { entries_.append({line, {}}); }
    // A fixed text of the program, which lives as long as the program: kept without a copy.
    void append(const char* fixed) { entries_.append({QByteArray::fromRawData(fixed, qstrlen(fixed)), {}}); }
    // The base64 lines of a picture file (see Base64EncodeFileLines).
    void appendPicture(const QString& path) { entries_.append({{}, path}); }

    // Entries: a line, or the lines of a picture.
    qsizetype count() const { return entries_.size(); }
    const QByteArray& entry(qsizetype i) const { return entries_[i].text; }
    bool isPicture(qsizetype i) const { return !entries_[i].picture.isEmpty(); }

    // Replaces the single line i.
    void setLine(qsizetype i, const QByteArray& line) { entries_[i].text = line; }
    // Replaces the single lines first..last (inclusive) by others.
    void replaceLines(qsizetype first, qsizetype last, const QList<QByteArray>& lines);
    // The single lines first..last (inclusive) are cut by soft line breaks where they are longer than
    // a line may be (see softLinePieces).
    void cutSoftly(qsizetype first, qsizetype last);

    // Every line on its own, in order, the pictures encoded.
    QList<QByteArray> lines() const;
    // Writes every line followed by CR LF. Returns false when the device takes fewer bytes; a picture
    // that cannot be read, or whose text the device does not take, raises its error.
    bool writeTo(QIODevice& device) const;

private:
    struct Entry {
        QByteArray text;
        QString picture;  // empty for a line
        bool soft = false;  // cut by soft line breaks
    };
    QList<Entry> entries_;
};

// A line of a quoted-printable region cut by soft line breaks ("=" at the end of every piece but the
// last) into pieces of at most 70 characters besides the "=", never between an "=" and the two
// characters of its escape.
QList<QByteArray> softLinePieces(const QByteArray& line);

}  // namespace zw

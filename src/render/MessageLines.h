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
// size.
class MessageLines {
public:
    void append(const QByteArray& line) { entries_.append({line, {}}); }
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

    // Every line on its own, in order, the pictures encoded.
    QList<QByteArray> lines() const;
    // Writes every line followed by CR LF. Returns false when the device takes fewer bytes; a picture
    // that cannot be read, or whose text the device does not take, raises its error.
    bool writeTo(QIODevice& device) const;

private:
    struct Entry {
        QByteArray text;
        QString picture;  // empty for a line
    };
    QList<Entry> entries_;
};

}  // namespace zw

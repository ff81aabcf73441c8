#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QList>

namespace zw {

// The message as it is assembled: an ordered list of lines without CR or LF. The base64 text of a
// picture is the bulk of a message and is never changed after encoding, so it is kept as one piece
// with its line ends in place instead of one small array per 76 characters: that keeps a message
// with hundreds of pictures at about its own size in memory.
class MessageLines {
public:
    void append(const QByteArray& line) { entries_.append({line, false}); }
    // Lines separated by CR LF, as the base64 encoder writes them; the last may lack its line end.
    void appendLineBlock(QByteArray text);

    // Entries: a line, or a block of base64 lines.
    qsizetype count() const { return entries_.size(); }
    const QByteArray& entry(qsizetype i) const { return entries_[i].text; }
    bool isLineBlock(qsizetype i) const { return entries_[i].block; }

    // Replaces the single lines first..last (inclusive) by others.
    void replaceLines(qsizetype first, qsizetype last, const QList<QByteArray>& lines);

    // Every line on its own, in order.
    QList<QByteArray> lines() const;
    // The size of the message as written, every line ended by CR LF.
    qint64 writtenSize() const;
    // Writes every line followed by CR LF. Returns false when the device takes fewer bytes.
    bool writeTo(QIODevice& device) const;

private:
    struct Entry {
        QByteArray text;  // a block always ends with CR LF
        bool block;
    };
    QList<Entry> entries_;
};

}  // namespace zw

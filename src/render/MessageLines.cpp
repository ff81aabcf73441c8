#include "render/MessageLines.h"

#include <QBuffer>

#include "platform/FileIo.h"
#include "render/Base64.h"
#include "render/MessageTexts.h"

namespace zw {

namespace {

// Hands each piece of a line to use, with whether a soft line break follows it. Cut by position:
// copying the rest after every cut would make long lines cost the square of their length.
template <typename Use>
void forEachPiece(QByteArrayView line, bool soft, Use use) {
    using texts::kSoftLineLength;
    qsizetype at = 0;
    while (soft && line.size() - at > kSoftLineLength) {
        qsizetype cut = kSoftLineLength;
        if (line[at + kSoftLineLength - 2] == '=')
            cut = kSoftLineLength - 2;
        else if (line[at + kSoftLineLength - 1] == '=')
            cut = kSoftLineLength - 1;
        use(line.sliced(at, cut), true);
        at += cut;
    }
    use(line.sliced(at), false);
}

}  // namespace

QList<QByteArray> softLinePieces(const QByteArray& line) {
    if (line.size() <= texts::kSoftLineLength)
        return {line};
    QList<QByteArray> pieces;
    pieces.reserve(line.size() / (texts::kSoftLineLength - 2) + 1);
    forEachPiece(line, true, [&](QByteArrayView piece, bool cut) {
        QByteArray text;
        text.reserve(piece.size() + 1);
        text.append(piece);
        if (cut)
            text.append('=');
        pieces.append(std::move(text));
    });
    return pieces;
}

void MessageLines::replaceLines(qsizetype first, qsizetype last, const QList<QByteArray>& lines) {
    QList<Entry> entries;
    entries.reserve(entries_.size() - (last - first + 1) + lines.size());
    for (qsizetype i = 0; i < first; ++i) entries.append(std::move(entries_[i]));
    for (const QByteArray& line : lines) entries.append({line, {}});
    for (qsizetype i = last + 1; i < entries_.size(); ++i) entries.append(std::move(entries_[i]));
    entries_ = std::move(entries);
}

void MessageLines::cutSoftly(qsizetype first, qsizetype last) {
    for (qsizetype i = first; i <= last; ++i) entries_[i].soft = true;
}

QList<QByteArray> MessageLines::lines() const {
    QList<QByteArray> all;
    for (const Entry& entry : entries_) {
        if (entry.picture.isEmpty()) {
            entry.soft ? all.append(softLinePieces(entry.text)) : all.append(entry.text);
            continue;
        }
        QBuffer text;
        text.open(QIODevice::WriteOnly);
        Base64EncodeFileLines(entry.picture, text);
        all.append(splitLines(text.data()));
    }
    return all;
}

bool MessageLines::writeTo(QIODevice& device) const {
    // The short lines are gathered and written in pieces; the pictures go to the device directly.
    constexpr qsizetype kPiece = 64 * 1024;
    QByteArray pending;
    pending.reserve(kPiece);
    auto flush = [&] {
        const bool written = device.write(pending) == pending.size();
        pending.resize(0);  // keeps its room
        return written;
    };
    for (const Entry& entry : entries_) {
        if (!entry.picture.isEmpty()) {
            if (!flush())
                return false;
            Base64EncodeFileLines(entry.picture, device);
            continue;
        }
        forEachPiece(entry.text, entry.soft, [&](QByteArrayView piece, bool cut) {
            pending.append(piece);
            cut ? pending.append("=\r\n", 3) : pending.append("\r\n", 2);
        });
        if (pending.size() >= kPiece && !flush())
            return false;
    }
    return flush();
}

}  // namespace zw

#include "render/MessageLines.h"

#include <QBuffer>

#include "platform/FileIo.h"
#include "render/Base64.h"

namespace zw {

void MessageLines::replaceLines(qsizetype first, qsizetype last, const QList<QByteArray>& lines) {
    QList<Entry> entries;
    entries.reserve(entries_.size() - (last - first + 1) + lines.size());
    for (qsizetype i = 0; i < first; ++i) entries.append(entries_[i]);
    for (const QByteArray& line : lines) entries.append({line, {}});
    for (qsizetype i = last + 1; i < entries_.size(); ++i) entries.append(entries_[i]);
    entries_ = std::move(entries);
}

QList<QByteArray> MessageLines::lines() const {
    QList<QByteArray> all;
    for (const Entry& entry : entries_) {
        if (entry.picture.isEmpty()) {
            all.append(entry.text);
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
        pending.append(entry.text);
        pending.append("\r\n", 2);
        if (pending.size() >= kPiece && !flush())
            return false;
    }
    return flush();
}

}  // namespace zw

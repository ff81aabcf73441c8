#include "render/MessageLines.h"

#include "platform/FileIo.h"

namespace zw {

void MessageLines::appendLineBlock(QByteArray text) {
    if (text.isEmpty())
        return;  // an empty picture has no lines at all
    if (!text.endsWith("\r\n"))
        text.append("\r\n");
    entries_.append({std::move(text), true});
}

void MessageLines::replaceLines(qsizetype first, qsizetype last, const QList<QByteArray>& lines) {
    QList<Entry> entries;
    entries.reserve(entries_.size() - (last - first + 1) + lines.size());
    for (qsizetype i = 0; i < first; ++i) entries.append(entries_[i]);
    for (const QByteArray& line : lines) entries.append({line, false});
    for (qsizetype i = last + 1; i < entries_.size(); ++i) entries.append(entries_[i]);
    entries_ = std::move(entries);
}

QList<QByteArray> MessageLines::lines() const {
    QList<QByteArray> all;
    for (const Entry& entry : entries_) {
        if (entry.block)
            all.append(splitLines(entry.text));
        else
            all.append(entry.text);
    }
    return all;
}

qint64 MessageLines::writtenSize() const {
    qint64 size = 0;
    for (const Entry& entry : entries_) size += entry.text.size() + (entry.block ? 0 : 2);
    return size;
}

bool MessageLines::writeTo(QIODevice& device) const {
    for (const Entry& entry : entries_) {
        if (device.write(entry.text) != entry.text.size())
            return false;
        if (!entry.block && device.write("\r\n", 2) != 2)
            return false;
    }
    return true;
}

}  // namespace zw

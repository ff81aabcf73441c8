#include "render/PictureWidth.h"

#include <QFile>

namespace zw {

namespace {

int bigEndian16(QByteArrayView bytes, qsizetype at) {
    return (uchar(bytes[at]) << 8) | uchar(bytes[at + 1]);
}

bool startsWith(QByteArrayView bytes, QByteArrayView magic, qsizetype at = 0) {
    return bytes.size() >= at + magic.size() && bytes.sliced(at, magic.size()) == magic;
}

constexpr qint64 kBlock = 8192;

// Start-of-frame markers carry the picture's size; C4, C8 and CC share their range but are tables.
bool isFrameMarker(uchar marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the JPEG's segments up to its frame header. The header follows whatever the camera or editor
// put before it (EXIF, colour profiles), so the segments are skipped by their lengths, not read; the
// file is read in blocks, since the header of a picture the program made lies in its first few.
std::optional<int> jpegWidth(QFile& file, QByteArray block) {
    qint64 blockStart = 0;
    qint64 at = 2;
    for (int segments = 0; segments < 1000; ++segments) {
        if (at + 9 > blockStart + block.size()) {
            if (!file.seek(at))
                return std::nullopt;
            block = file.read(kBlock);
            blockStart = at;
        }
        const QByteArrayView head = QByteArrayView(block)
                                        .sliced(at - blockStart)
                                        .first(qMin<qsizetype>(9, block.size() - (at - blockStart)));
        if (head.size() < 4 || uchar(head[0]) != 0xFF)
            return std::nullopt;
        const uchar marker = uchar(head[1]);
        if (marker == 0xFF) {  // a fill byte before the marker
            ++at;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA)  // end of picture or start of scan: no frame header before
            return std::nullopt;
        if (isFrameMarker(marker)) {
            if (head.size() < 9)
                return std::nullopt;
            const int width = bigEndian16(head, 7);
            return width > 0 ? std::optional<int>(width) : std::nullopt;
        }
        at += 2 + bigEndian16(head, 2);
    }
    return std::nullopt;
}

}  // namespace

std::optional<int> PictureWidth(const QString& path) {
    // One read for the picture's start: the file is opened for nothing else.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return std::nullopt;
    const QByteArray head = file.read(kBlock);
    if (startsWith(head, "\xFF\xD8"))
        return jpegWidth(file, head);
    if (startsWith(head, "\x89PNG\r\n\x1A\n") && head.size() >= 24) {
        const int width = int(quint32(bigEndian16(head, 16)) << 16 | quint32(bigEndian16(head, 18)));
        return width > 0 ? std::optional<int>(width) : std::nullopt;
    }
    return std::nullopt;
}

}  // namespace zw

#include "editing/PictureKinds.h"

#include <QByteArrayList>

#include <algorithm>

namespace zw {

namespace {

// The brands of an ISO media file ("ftyp" box first) that make it a HEIF picture: the structural ones
// every HEIF image file carries, and those of the codecs (HEVC, AV1, AVC, JPEG, JPEG 2000, VVC, EVC).
bool isHeif(const QByteArray& bytes) {
    if (bytes.size() < 16 || bytes.mid(4, 4) != "ftyp")
        return false;
    const qint64 boxSize = qint64(quint8(bytes[0])) << 24 | quint8(bytes[1]) << 16 | quint8(bytes[2]) << 8 |
                           quint8(bytes[3]);
    const qsizetype end = qsizetype(std::clamp<qint64>(boxSize, 16, bytes.size()));
    static const QByteArrayList brands = {"mif1", "mif2", "msf1", "miaf", "heic", "heix", "heim", "heis",
                                          "hevc", "hevx", "hevm", "hevs", "avif", "avis", "avci", "avcs",
                                          "jpeg", "jpgs", "j2ki", "j2is", "vvic", "vvis", "evbi", "evbs"};
    // The major brand, the minor version (not a brand), then the compatible brands.
    for (qsizetype at = 8; at + 4 <= end; at += 4)
        if (at != 12 && brands.contains(bytes.mid(at, 4)))
            return true;
    return false;
}

}  // namespace

PictureKind pictureKind(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xD8"))
        return PictureKind::Jpeg;
    if (bytes.startsWith("\x89PNG\r\n\x1A\n"))
        return PictureKind::Png;
    if (bytes.startsWith("RIFF") && bytes.mid(8, 4) == "WEBP")
        return PictureKind::WebP;
    if (isHeif(bytes))
        return PictureKind::Heif;
    return PictureKind::Unknown;
}

Error unknownPictureError() {
    return Error(QStringLiteral("Die Datei ist kein Bild, das Zettelwerk lesen kann. Zettelwerk nimmt Bilder "
                                "in den Formaten JPEG, PNG, HEIC/HEIF und WebP."));
}

}  // namespace zw

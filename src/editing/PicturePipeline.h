#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <vector>

#include "platform/Error.h"

namespace zw {

// Pictures larger than this are refused before anything large is allocated: a header of a few hundred
// bytes can declare 30000 x 30000 pixels.
inline constexpr qint64 kMaxPicturePixels = 100'000'000;
// More scans than any real progressive file has; beyond it a file only burns time.
inline constexpr int kMaxJpegScans = 500;
// The qualities of the copies: after scaling, and always at the end.
inline constexpr int kScaledQuality = 95;
inline constexpr int kCopyQuality = 80;

// "JPEG-Fehler #%d" with libjpeg's message code, or our own message for the refusals of our own.
Error jpegError(int code);

// What the header of a JPEG says, upright: a photo turned by its EXIF orientation has the width and
// height the viewer sees. Refuses pictures of more than kMaxPicturePixels.
struct PictureInfo {
    QSize size;
    int orientation = 1;
};
PictureInfo readPictureInfo(const QByteArray& jpeg);
// The same after reading the whole picture, so that a damaged file is refused before anyone is asked
// about it.
PictureInfo loadPictureInfo(const QByteArray& jpeg);

// The height that keeps the proportions at width W: W * h / w, a half to the even neighbour, at least 1.
int scaledHeight(int W, QSize picture);
// Refuses a target of more than kMaxPicturePixels.
void checkTargetSize(int width, int height);

// Decodes a JPEG (gray, colour, CMYK, baseline or progressive), turns it upright, takes for every target
// pixel the source pixel under its centre, and encodes an RGB baseline JPEG. A size of 0 x 0 keeps the
// upright size.
QByteArray transcodePicture(const QByteArray& jpeg, QSize target, int quality);

// Encodes RGB rows (width * 3 bytes each, top to bottom) as a baseline JPEG.
QByteArray encodeRgbJpeg(std::vector<unsigned char>& pixels, QSize size, int quality);

// The two steps of a chosen picture's copy, each writing over the file at path.
void ScalePictureToWidth(const QString& path, int width, QSize noted);
void ReencodePicture(const QString& path, int quality);

}  // namespace zw

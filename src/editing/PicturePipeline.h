#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

#include "platform/Error.h"
#include "render/HTMLColor.h"

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
// What the picture commands say when reading a picture fails other than by a message of our own
// (memory that runs out, a library's own exception).
Error pictureFailedError();
// Refuses a picture whose header declares more than kMaxPicturePixels.
void checkPictureSize(qint64 width, qint64 height);

// The pictures below are JPEG, PNG, HEIF or WebP files, told apart by their first bytes; bytes of none
// of these kinds are read as JPEG, so that they get libjpeg's "JPEG-Fehler #n".

// What the header of a picture says, upright: a photo turned by its EXIF orientation (or a HEIF file's
// own rotation) has the width and height the viewer sees. Refuses pictures of more than
// kMaxPicturePixels.
struct PictureInfo {
    QSize size;
    int orientation = 1;
};
PictureInfo readPictureInfo(const QByteArray& picture);
// The same after reading the whole picture, so that a damaged file is refused before anyone is asked
// about it.
PictureInfo loadPictureInfo(const QByteArray& picture);

// The height that keeps the proportions at width W: W * h / w, a half to the even neighbour, at least 1.
int scaledHeight(int W, QSize picture);
// Refuses a target of more than kMaxPicturePixels.
void checkTargetSize(int width, int height);

// Decodes a picture (a JPEG gray, colour, CMYK, baseline or progressive), turns it upright, takes for
// every target pixel the source pixel under its centre, and encodes an RGB baseline JPEG. A size of
// 0 x 0 keeps the upright size. Transparent parts are laid onto the background colour.
inline constexpr ColorValue kWhite = 0xFFFFFF;
QByteArray transcodePicture(const QByteArray& picture, QSize target, int quality, ColorValue background = kWhite);

// Upright coordinate for each of n target places along an upright side of the given length: the one
// under the target pixel's centre, floor((i + 0.5) * length / n).
std::vector<int> centreSamples(int n, int length);

// Encodes RGB rows (width * 3 bytes each, top to bottom) as a baseline JPEG.
QByteArray encodeRgbJpeg(std::vector<unsigned char>& pixels, QSize size, int quality);
// The same with rows that fill(y, row) writes, one after the other.
QByteArray encodeRgbRows(QSize size, int quality, const std::function<void(int y, unsigned char* row)>& fill);

// A small upright copy of a picture of any kind, no side longer than largestSide, on white: what the
// picture dialog shows of the kinds its toolkit cannot read (HEIF, WebP).
QByteArray previewPicture(const QByteArray& picture, int largestSide);

// The two steps of a chosen picture's copy, each writing over the file at path (a picture of any kind).
void ScalePictureToWidth(const QString& path, int width, QSize noted);
void ReencodePicture(const QString& path, int quality);

}  // namespace zw

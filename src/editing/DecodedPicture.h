#pragma once

#include <QByteArray>
#include <QSize>

#include <memory>

#include "editing/PictureKinds.h"
#include "editing/PicturePipeline.h"
#include "render/HTMLColor.h"

namespace zw {

class ColourConversion;

// A PNG, HEIF or WebP picture decoded whole: 8-bit rows as stored, of RGB or RGBA pixels (straight
// alpha), with what is still to be done to show it as its maker meant: the turn of an EXIF orientation
// and the conversion of its colours to sRGB. Decoding it whole is the check that it reads to its end,
// so a chosen picture is decoded once, before the width question, and the copy is made from it after.
struct DecodedPicture {
    QSize stored;
    int channels = 3;  // 3 RGB, 4 RGBA
    const unsigned char* pixels = nullptr;
    qsizetype stride = 0;
    std::shared_ptr<const void> owner;  // what holds the pixels
    int orientation = 1;
    std::shared_ptr<const ColourConversion> colour;  // none: the pixels are sRGB

    QSize upright() const;
};

// The upright size from the header alone, refused past kMaxPicturePixels. For every kind but JPEG;
// each reader throws its German message for a damaged file.
PictureInfo readDecodedPictureInfo(const QByteArray& bytes, PictureKind kind);
// The whole picture. Its size is checked from the header before anything large is allocated.
DecodedPicture decodePicture(const QByteArray& bytes, PictureKind kind);

// The copy at the target size: for every target pixel the upright picture's pixel under its centre,
// in sRGB, transparent parts laid onto the background colour, encoded as a baseline JPEG.
QByteArray encodeDecodedPicture(const DecodedPicture& picture, QSize target, int quality,
                                ColorValue background);

// One reader per kind, each in a file of its own.
PictureInfo pngInfo(const QByteArray& bytes);
DecodedPicture decodePng(const QByteArray& bytes);
PictureInfo webpInfo(const QByteArray& bytes);
DecodedPicture decodeWebp(const QByteArray& bytes);
PictureInfo heifInfo(const QByteArray& bytes);
DecodedPicture decodeHeif(const QByteArray& bytes);

}  // namespace zw

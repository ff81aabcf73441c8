#pragma once

#include <QByteArray>
#include <QList>
#include <QSize>

#include <array>
#include <functional>

// Test pictures of the other kinds, written with the libraries made for them (libpng, libwebp, libheif
// with x265), so that the program's readers are checked against independent writers.
namespace zw::test {

using Rgba = std::array<int, 4>;
using Paint = std::function<Rgba(int x, int y)>;

// An APP1 "Exif" payload ("Exif\0\0" and TIFF data) with one IFD0 entry: the orientation.
QByteArray exifPayload(int orientation, bool bigEndian = false);

struct PngRecipe {
    enum Kind { Rgb, RgbAlpha, Palette, Gray } kind = RgbAlpha;  // a palette's alpha goes to tRNS
    QSize size{64, 64};
    Paint paint = [](int, int) { return Rgba{128, 128, 128, 255}; };
    int bitDepth = 8;  // 8 or 16 (not for a palette)
    bool interlaced = false;
    QByteArray icc{};  // an iCCP profile
};
QByteArray makePng(const PngRecipe& recipe);

struct WebpRecipe {
    QSize size{64, 64};
    Paint paint = [](int, int) { return Rgba{128, 128, 128, 255}; };
    bool lossless = false;
    QList<Paint> laterFrames{};  // an animation: the frames after the first
    QByteArray icc{};
};
QByteArray makeWebp(const WebpRecipe& recipe);

struct HeifRecipe {
    QSize size{64, 64};  // as stored
    Paint paint = [](int, int) { return Rgba{128, 128, 128, 255}; };
    int transform = 1;         // an EXIF orientation value written as HEIF's own rotation and mirroring
    int exifOrientation = 0;   // 0: no EXIF block
    bool alpha = false;
    bool displayP3 = false;    // colour box: Display P3 primaries with sRGB's transfer
};
QByteArray makeHeic(const HeifRecipe& recipe);

// A Display P3 ICC profile, and the sRGB values a Display P3 colour has (computed here, by the
// published matrices, independently of any colour library).
QByteArray displayP3Profile();
std::array<int, 3> displayP3ToSrgb(const std::array<int, 3>& p3);

// A HEIF file whose primary item names another codec ("vvc1", "jpeg", ...).
QByteArray heifWithItemType(QByteArray heif, const char* type);

// The CRC-32 of PNG chunks and zlib, to forge a chunk.
quint32 pngCrc(const QByteArray& bytes);

}  // namespace zw::test

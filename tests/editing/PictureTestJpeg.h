#pragma once

#include <QByteArray>
#include <QSize>

#include <array>
#include <functional>

// Test pictures written and read with libjpeg itself, so that the program's own layer is checked by an
// independent reader.
namespace zw::test {

using Rgb = std::array<int, 3>;

struct JpegRecipe {
    enum Kind { Colour, Gray, Progressive, CmykAdobe, CmykPlain } kind = Colour;
    QSize size{64, 64};
    std::function<Rgb(int x, int y)> paint = [](int, int) { return Rgb{128, 128, 128}; };
    int orientation = 0;  // 0 = no EXIF marker
    bool bigEndianExif = false;
};
QByteArray makeJpeg(const JpegRecipe& recipe);

struct DecodedJpeg {
    QSize size;
    bool progressive = false;
    bool adobe = false;
    int components = 0;
    int firstQuantValue = 0;  // the first entry of the luminance table, which tells the quality
    QByteArray rgb;
    Rgb at(int x, int y) const;
};
DecodedJpeg decodeJpeg(const QByteArray& jpeg);

// The first luminance quantisation value libjpeg writes at this quality.
int quantValueForQuality(int quality);

// Every channel within tolerance of the expected colour.
bool near(const Rgb& got, const Rgb& want, int tolerance = 40);

}  // namespace zw::test

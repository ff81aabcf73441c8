#include "editing/DecodedPicture.h"

#include <cstring>
#include <vector>

#include "editing/ColourProfile.h"
#include "editing/PictureOrientation.h"

namespace zw {

QSize DecodedPicture::upright() const {
    return Orientation::fromExif(orientation).transposed ? stored.transposed() : stored;
}

PictureInfo readDecodedPictureInfo(const QByteArray& bytes, PictureKind kind) {
    switch (kind) {
        case PictureKind::Png:
            return pngInfo(bytes);
        case PictureKind::WebP:
            return webpInfo(bytes);
        case PictureKind::Heif:
            return heifInfo(bytes);
        default:
            throw unknownPictureError();
    }
}

DecodedPicture decodePicture(const QByteArray& bytes, PictureKind kind) {
    switch (kind) {
        case PictureKind::Png:
            return decodePng(bytes);
        case PictureKind::WebP:
            return decodeWebp(bytes);
        case PictureKind::Heif:
            return decodeHeif(bytes);
        default:
            throw unknownPictureError();
    }
}

QByteArray encodeDecodedPicture(const DecodedPicture& picture, QSize target, int quality,
                                ColorValue background) {
    checkTargetSize(target.width(), target.height());
    const Orientation o = Orientation::fromExif(picture.orientation);
    const QSize upright = picture.upright();
    const int W = target.width(), channels = picture.channels;
    const std::vector<int> ux = centreSamples(W, upright.width());
    const std::vector<int> uy = centreSamples(target.height(), upright.height());
    const int storedW = picture.stored.width(), storedH = picture.stored.height();
    // For each target column, the stored column (upright rows) or row (turned pictures) it reads from.
    std::vector<int> across(size_t(W), 0);
    for (int x = 0; x < W; ++x) {
        const int v = ux[size_t(x)];
        across[size_t(x)] = o.transposed ? (o.mirrorY ? storedH - 1 - v : v) : (o.mirrorX ? storedW - 1 - v : v);
    }
    const int bg[3] = {int(background & 0xFF), int(background >> 8 & 0xFF), int(background >> 16 & 0xFF)};
    std::vector<unsigned char> gathered(size_t(W) * size_t(channels)), converted(gathered.size());

    return encodeRgbRows(target, quality, [&](int y, unsigned char* out) {
        const int v = uy[size_t(y)];
        const int down = o.transposed ? (o.mirrorX ? storedW - 1 - v : v) : (o.mirrorY ? storedH - 1 - v : v);
        unsigned char* dst = gathered.data();
        if (o.transposed) {  // a stored column, one pixel from each stored row
            const unsigned char* column = picture.pixels + size_t(down) * size_t(channels);
            for (int x = 0; x < W; ++x, dst += channels)
                std::memcpy(dst, column + size_t(across[size_t(x)]) * size_t(picture.stride), size_t(channels));
        } else {
            const unsigned char* row = picture.pixels + size_t(down) * size_t(picture.stride);
            for (int x = 0; x < W; ++x, dst += channels)
                std::memcpy(dst, row + size_t(across[size_t(x)]) * size_t(channels), size_t(channels));
        }
        const unsigned char* pixel = gathered.data();
        if (picture.colour) {
            picture.colour->apply(gathered.data(), converted.data(), W);
            pixel = converted.data();
        }
        if (channels == 3) {
            std::memcpy(out, pixel, size_t(W) * 3);
            return;
        }
        // Straight alpha over the background, as a mail program lays the picture onto the page.
        for (int x = 0; x < W; ++x, pixel += 4, out += 3) {
            const int a = pixel[3];
            for (int c = 0; c < 3; ++c) out[c] = (unsigned char)((pixel[c] * a + bg[c] * (255 - a) + 127) / 255);
        }
    });
}

}  // namespace zw

// The picture pipeline on any bytes (JPEG, PNG, HEIF, WebP, told apart by their first bytes): a picture
// is refused with a German message or comes out as a baseline JPEG of exactly the size asked for.
// Pictures of more than two megapixels are left out, so that a run tries many pictures rather than a
// few huge ones (the pipeline's own limit is 100).
#include <cstdint>
#include <cstdlib>

#include "editing/PicturePipeline.h"

namespace {
constexpr qint64 kFuzzPixels = 2'000'000;
constexpr int kScaledWidth = 16;
constexpr zw::ColorValue kBackground = 0x336699;  // transparent parts are laid onto it
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray picture = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const zw::PictureInfo info = zw::readPictureInfo(picture);
        if (qint64(info.size.width()) * info.size.height() > kFuzzPixels)
            return 0;
        // The read to the end that a chosen picture gets before the width question.
        try {
            zw::loadPictureInfo(picture);
        } catch (const zw::Error&) {
        }
        const QByteArray upright = zw::transcodePicture(picture, QSize(0, 0), zw::kCopyQuality, kBackground);
        if (zw::readPictureInfo(upright).size != info.size)
            std::abort();
        const QSize scaled(kScaledWidth, zw::scaledHeight(kScaledWidth, info.size));
        if (zw::readPictureInfo(zw::transcodePicture(picture, scaled, zw::kScaledQuality)).size != scaled)
            std::abort();
    } catch (const zw::Error&) {
    }
    return 0;
}

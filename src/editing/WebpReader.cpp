// WebP pictures through libwebp; an animation gives its first frame.
#include <webp/decode.h>
#include <webp/demux.h>

#include <new>
#include <vector>

#include "editing/ColourProfile.h"
#include "editing/DecodedPicture.h"

namespace zw {

namespace {

Error damaged() {
    return Error(QStringLiteral("Das WebP-Bild ist beschädigt oder unvollständig und kann nicht gelesen werden."));
}

const uint8_t* data(const QByteArray& bytes) {
    return reinterpret_cast<const uint8_t*>(bytes.constData());
}

// The header: the size of the picture, or of an animation's canvas.
WebPBitstreamFeatures features(const QByteArray& bytes) {
    WebPBitstreamFeatures f{};
    if (WebPGetFeatures(data(bytes), size_t(bytes.size()), &f) != VP8_STATUS_OK)
        throw damaged();
    checkPictureSize(f.width, f.height);
    return f;
}

struct DemuxFree {
    void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
};

}  // namespace

PictureInfo webpInfo(const QByteArray& bytes) {
    const WebPBitstreamFeatures f = features(bytes);
    return {QSize(f.width, f.height), 1};
}

DecodedPicture decodeWebp(const QByteArray& bytes) {
    const WebPBitstreamFeatures f = features(bytes);
    const WebPData whole{data(bytes), size_t(bytes.size())};
    // The demuxer refuses a file cut short, also behind the first frame.
    const std::unique_ptr<WebPDemuxer, DemuxFree> demux(WebPDemux(&whole));
    if (!demux)
        throw damaged();
    DecodedPicture picture;
    picture.stored = QSize(f.width, f.height);
    if (f.has_animation) {
        WebPAnimDecoderOptions options;
        if (!WebPAnimDecoderOptionsInit(&options))
            throw damaged();
        options.color_mode = MODE_RGBA;
        options.use_threads = 0;
        std::shared_ptr<WebPAnimDecoder> decoder(WebPAnimDecoderNew(&whole, &options), WebPAnimDecoderDelete);
        WebPAnimInfo info{};
        uint8_t* frame = nullptr;
        int timestamp = 0;
        if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info) || int(info.canvas_width) != f.width ||
            int(info.canvas_height) != f.height || !WebPAnimDecoderGetNext(decoder.get(), &frame, &timestamp))
            throw damaged();
        picture.channels = 4;
        picture.pixels = frame;
        picture.owner = std::move(decoder);
    } else {
        picture.channels = f.has_alpha ? 4 : 3;
        const size_t stride = size_t(f.width) * size_t(picture.channels);
        auto pixels = std::make_shared<std::vector<unsigned char>>(stride * size_t(f.height));
        const auto decode = f.has_alpha ? WebPDecodeRGBAInto : WebPDecodeRGBInto;
        if (!decode(data(bytes), size_t(bytes.size()), pixels->data(), pixels->size(), int(stride)))
            throw damaged();
        picture.pixels = pixels->data();
        picture.owner = std::move(pixels);
    }
    picture.stride = qsizetype(f.width) * picture.channels;

    WebPChunkIterator icc;
    if ((WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & ICCP_FLAG) &&
        WebPDemuxGetChunk(demux.get(), "ICCP", 1, &icc)) {
        picture.colour = ColourConversion::fromIcc(
            QByteArray::fromRawData(reinterpret_cast<const char*>(icc.chunk.bytes), qsizetype(icc.chunk.size)),
            picture.channels == 4);
        WebPDemuxReleaseChunkIterator(&icc);
    }
    return picture;
}

}  // namespace zw

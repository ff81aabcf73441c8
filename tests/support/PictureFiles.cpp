#include "support/PictureFiles.h"

#include <libheif/heif.h>
#include <lcms2.h>
#include <png.h>
#include <webp/encode.h>
#include <webp/mux.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <vector>

namespace zw::test {

namespace {

// The pixels of a paint as 8-bit RGBA rows.
std::vector<unsigned char> rgbaPixels(QSize size, const Paint& paint) {
    std::vector<unsigned char> pixels(size_t(size.width()) * size_t(size.height()) * 4);
    unsigned char* p = pixels.data();
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            for (int v : paint(x, y)) *p++ = (unsigned char)v;
    return pixels;
}

void pngWrite(png_structp png, png_bytep data, size_t length) {
    static_cast<QByteArray*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), qsizetype(length));
}

}  // namespace

QByteArray exifPayload(int orientation, bool bigEndian) {
    const auto u16 = [bigEndian](int v) {
        const char high = char(v >> 8), low = char(v & 0xFF);
        QByteArray two;
        two.append(bigEndian ? high : low).append(bigEndian ? low : high);
        return two;
    };
    const auto u32 = [&](int v) { return bigEndian ? u16(0) + u16(v) : u16(v) + u16(0); };
    QByteArray b("Exif\0\0", 6);
    b += bigEndian ? "MM" : "II";
    b += u16(42) + u32(8);  // TIFF header, IFD0 at offset 8
    b += u16(1);            // one entry
    b += u16(0x0112) + u16(3) + u32(1) + u16(orientation) + u16(0);
    b += u32(0);  // no next IFD
    return b;
}

QByteArray makePng(const PngRecipe& r) {
    QByteArray out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, pngWrite, nullptr);
    const int w = r.size.width(), h = r.size.height();
    const std::vector<unsigned char> rgba = rgbaPixels(r.size, r.paint);
    const int type = r.kind == PngRecipe::Rgb        ? PNG_COLOR_TYPE_RGB
                     : r.kind == PngRecipe::RgbAlpha ? PNG_COLOR_TYPE_RGB_ALPHA
                     : r.kind == PngRecipe::Palette  ? PNG_COLOR_TYPE_PALETTE
                                                     : PNG_COLOR_TYPE_GRAY;
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), r.kind == PngRecipe::Palette ? 8 : r.bitDepth, type,
                 r.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    // A palette of the colours used, in order of first appearance.
    std::vector<Rgba> palette;
    std::vector<unsigned char> indices;
    if (r.kind == PngRecipe::Palette) {
        for (size_t i = 0; i < rgba.size(); i += 4) {
            const Rgba c{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]};
            auto at = std::find(palette.begin(), palette.end(), c);
            if (at == palette.end())
                at = palette.insert(palette.end(), c);
            indices.push_back((unsigned char)(at - palette.begin()));
        }
        std::vector<png_color> colours;
        std::vector<png_byte> alphas;
        for (const Rgba& c : palette) {
            colours.push_back({png_byte(c[0]), png_byte(c[1]), png_byte(c[2])});
            alphas.push_back(png_byte(c[3]));
        }
        png_set_PLTE(png, info, colours.data(), int(colours.size()));
        png_set_tRNS(png, info, alphas.data(), int(alphas.size()), nullptr);
    }
    if (!r.icc.isEmpty())
        png_set_iCCP(png, info, "profile", PNG_COMPRESSION_TYPE_BASE,
                     reinterpret_cast<png_const_bytep>(r.icc.constData()), png_uint_32(r.icc.size()));
    png_write_info(png, info);

    const int channels = r.kind == PngRecipe::Rgb ? 3 : r.kind == PngRecipe::RgbAlpha ? 4 : 1;
    const int bytes = r.kind != PngRecipe::Palette && r.bitDepth == 16 ? 2 : 1;
    std::vector<unsigned char> data(size_t(w) * size_t(h) * size_t(channels * bytes));
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        rows[size_t(y)] = &data[size_t(y) * size_t(w) * size_t(channels * bytes)];
        for (int x = 0; x < w; ++x) {
            const size_t pixel = size_t(y) * size_t(w) + size_t(x);
            unsigned char* dst = rows[size_t(y)] + size_t(x) * size_t(channels * bytes);
            for (int c = 0; c < channels; ++c) {
                const int v = r.kind == PngRecipe::Palette ? indices[pixel] : rgba[pixel * 4 + size_t(c)];
                // 16-bit samples repeat the byte, so that 0xAB becomes 0xABAB, the same light.
                for (int b = 0; b < bytes; ++b) *dst++ = (unsigned char)v;
            }
        }
    }
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

QByteArray makeWebp(const WebpRecipe& r) {
    const int w = r.size.width(), h = r.size.height();
    QList<Paint> frames{r.paint};
    frames += r.laterFrames;
    WebPAnimEncoderOptions options;
    WebPAnimEncoderOptionsInit(&options);
    WebPAnimEncoder* encoder = WebPAnimEncoderNew(w, h, &options);
    WebPConfig config;
    WebPConfigInit(&config);
    config.lossless = r.lossless;
    config.quality = 95;
    config.exact = 1;  // keep the colours of transparent pixels; the test lays them on a background
    int timestamp = 0;
    for (const Paint& paint : frames) {
        std::vector<unsigned char> rgba = rgbaPixels(r.size, paint);
        WebPPicture picture;
        WebPPictureInit(&picture);
        picture.width = w, picture.height = h, picture.use_argb = 1;
        WebPPictureImportRGBA(&picture, rgba.data(), w * 4);
        WebPAnimEncoderAdd(encoder, &picture, timestamp, &config);
        WebPPictureFree(&picture);
        timestamp += 100;
    }
    WebPAnimEncoderAdd(encoder, nullptr, timestamp, nullptr);
    WebPData assembled;
    WebPDataInit(&assembled);
    WebPAnimEncoderAssemble(encoder, &assembled);
    WebPAnimEncoderDelete(encoder);
    QByteArray out(reinterpret_cast<const char*>(assembled.bytes), qsizetype(assembled.size));
    WebPDataClear(&assembled);
    if (!r.icc.isEmpty()) {
        const WebPData whole{reinterpret_cast<const uint8_t*>(out.constData()), size_t(out.size())};
        WebPMux* mux = WebPMuxCreate(&whole, 1);
        const WebPData icc{reinterpret_cast<const uint8_t*>(r.icc.constData()), size_t(r.icc.size())};
        WebPMuxSetChunk(mux, "ICCP", &icc, 1);
        WebPData withIcc;
        WebPMuxAssemble(mux, &withIcc);
        out = QByteArray(reinterpret_cast<const char*>(withIcc.bytes), qsizetype(withIcc.size));
        WebPDataClear(&withIcc);
        WebPMuxDelete(mux);
    }
    return out;
}

QByteArray makeHeic(const HeifRecipe& r) {
    const int w = r.size.width(), h = r.size.height();
    heif_context* context = heif_context_alloc();
    heif_image* image = nullptr;
    heif_image_create(w, h, heif_colorspace_RGB, r.alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB,
                      &image);
    heif_image_add_plane(image, heif_channel_interleaved, w, h, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    const std::vector<unsigned char> rgba = rgbaPixels(r.size, r.paint);
    const int channels = r.alpha ? 4 : 3;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < channels; ++c)
                plane[y * stride + x * channels + c] = rgba[(size_t(y) * size_t(w) + size_t(x)) * 4 + size_t(c)];
    if (r.displayP3) {
        heif_color_profile_nclx* nclx = heif_nclx_color_profile_alloc();
        nclx->color_primaries = heif_color_primaries_SMPTE_EG_432_1;
        nclx->transfer_characteristics = heif_transfer_characteristic_IEC_61966_2_1;
        nclx->matrix_coefficients = heif_matrix_coefficients_ITU_R_BT_601_6;
        nclx->full_range_flag = 1;
        heif_image_set_nclx_color_profile(image, nclx);
        heif_nclx_color_profile_free(nclx);
    }
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 95);
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation(r.transform);
    options->macOS_compatibility_workaround_no_nclx_profile = 0;  // write the colour box
    heif_image_handle* handle = nullptr;
    const heif_error encoded = heif_context_encode_image(context, image, encoder, options, &handle);
    if (encoded.code != heif_error_Ok)
        throw std::runtime_error(encoded.message);
    if (r.exifOrientation) {
        const QByteArray exif = exifPayload(r.exifOrientation).mid(6);  // the TIFF data
        heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size()));
    }
    QByteArray out;
    heif_writer writer{1, [](heif_context*, const void* data, size_t size, void* into) {
                           static_cast<QByteArray*>(into)->append(static_cast<const char*>(data), qsizetype(size));
                           return heif_error{heif_error_Ok, heif_suberror_Unspecified, "ok"};
                       }};
    heif_context_write(context, &writer, &out);
    heif_image_handle_release(handle);
    heif_encoding_options_free(options);
    heif_encoder_release(encoder);
    heif_image_release(image);
    heif_context_free(context);
    return out;
}

QByteArray displayP3Profile() {
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE p3{{0.680, 0.320, 1.0}, {0.265, 0.690, 1.0}, {0.150, 0.060, 1.0}};
    const cmsFloat64Number srgb[5] = {2.4, 1 / 1.055, 0.055 / 1.055, 1 / 12.92, 0.04045};
    cmsToneCurve* curve = cmsBuildParametricToneCurve(nullptr, 4, srgb);
    cmsToneCurve* curves[3] = {curve, curve, curve};
    cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &p3, curves);
    cmsUInt32Number size = 0;
    cmsSaveProfileToMem(profile, nullptr, &size);
    QByteArray bytes(qsizetype(size), '\0');
    cmsSaveProfileToMem(profile, bytes.data(), &size);
    cmsCloseProfile(profile);
    cmsFreeToneCurve(curve);
    return bytes;
}

std::array<int, 3> displayP3ToSrgb(const std::array<int, 3>& p3) {
    const auto linear = [](int v) {
        const double c = v / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const auto encoded = [](double c) {
        c = std::clamp(c, 0.0, 1.0);
        return int(std::lround(255 * (c <= 0.0031308 ? 12.92 * c : 1.055 * std::pow(c, 1 / 2.4) - 0.055)));
    };
    // Display P3 to sRGB, both D65, in linear light.
    const double m[3][3] = {{1.2249401, -0.2249404, 0.0},
                            {-0.0420569, 1.0420571, 0.0},
                            {-0.0196376, -0.0786361, 1.0982735}};
    const double l[3] = {linear(p3[0]), linear(p3[1]), linear(p3[2])};
    std::array<int, 3> out{};
    for (int i = 0; i < 3; ++i) out[size_t(i)] = encoded(m[i][0] * l[0] + m[i][1] * l[1] + m[i][2] * l[2]);
    return out;
}

QByteArray heifWithItemType(QByteArray heif, const char* type) {
    heif.replace(heif.indexOf("infe") + 12, 4, type);  // size, "infe", version, flags, ID, protection
    return heif;
}

quint32 pngCrc(const QByteArray& bytes) {
    return quint32(crc32(0, reinterpret_cast<const Bytef*>(bytes.constData()), uInt(bytes.size())));
}

}  // namespace zw::test

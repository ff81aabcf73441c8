#include "PictureTestJpeg.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

#include "support/PictureFiles.h"

namespace zw::test {

namespace {

std::array<int, 4> cmykOf(const Rgb& c, bool inverted) {
    const int maxc = std::max({c[0], c[1], c[2]});
    const int k = 255 - maxc;
    std::array<int, 4> ink{};
    for (int i = 0; i < 3; ++i) ink[size_t(i)] = maxc == 0 ? 0 : (maxc - c[size_t(i)]) * 255 / maxc;
    ink[3] = k;
    if (inverted)
        for (int& v : ink) v = 255 - v;
    return ink;
}

}  // namespace

QByteArray makeJpeg(const JpegRecipe& recipe) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&cinfo, &out, &outSize);
    const bool cmyk = recipe.kind == JpegRecipe::CmykAdobe || recipe.kind == JpegRecipe::CmykPlain;
    const int channels = recipe.kind == JpegRecipe::Gray ? 1 : cmyk ? 4 : 3;
    cinfo.image_width = JDIMENSION(recipe.size.width());
    cinfo.image_height = JDIMENSION(recipe.size.height());
    cinfo.input_components = channels;
    cinfo.in_color_space = channels == 1 ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (cmyk) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = recipe.kind == JpegRecipe::CmykAdobe;
    }
    if (recipe.kind == JpegRecipe::Progressive)
        jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    if (recipe.orientation) {
        const QByteArray exif = exifPayload(recipe.orientation, recipe.bigEndianExif);
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.constData()),
                          unsigned(exif.size()));
    }
    std::vector<unsigned char> row(size_t(recipe.size.width()) * size_t(channels));
    for (int y = 0; y < recipe.size.height(); ++y) {
        for (int x = 0; x < recipe.size.width(); ++x) {
            const Rgb c = recipe.paint(x, y);
            unsigned char* p = &row[size_t(x) * size_t(channels)];
            if (channels == 1) {
                p[0] = (unsigned char)c[0];
            } else if (cmyk) {
                const auto ink = cmykOf(c, recipe.kind == JpegRecipe::CmykAdobe);
                for (int i = 0; i < 4; ++i) p[i] = (unsigned char)ink[size_t(i)];
            } else {
                for (int i = 0; i < 3; ++i) p[i] = (unsigned char)c[size_t(i)];
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(outSize));
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

DecodedJpeg decodeJpeg(const QByteArray& jpeg) {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                 (unsigned long)jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    DecodedJpeg d;
    d.progressive = cinfo.progressive_mode;
    d.adobe = cinfo.saw_Adobe_marker;
    d.components = cinfo.num_components;
    d.firstQuantValue = cinfo.quant_tbl_ptrs[0] ? cinfo.quant_tbl_ptrs[0]->quantval[0] : 0;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    d.size = QSize(int(cinfo.output_width), int(cinfo.output_height));
    d.rgb.resize(qsizetype(cinfo.output_width) * cinfo.output_height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW r =
            reinterpret_cast<JSAMPROW>(d.rgb.data()) + size_t(cinfo.output_scanline) * cinfo.output_width * 3;
        jpeg_read_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return d;
}

Rgb DecodedJpeg::at(int x, int y) const {
    const auto* p = reinterpret_cast<const unsigned char*>(rgb.constData()) +
                    (size_t(y) * size_t(size.width()) + size_t(x)) * 3;
    return {p[0], p[1], p[2]};
}

int quantValueForQuality(int quality) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    const int value = cinfo.quant_tbl_ptrs[0]->quantval[0];
    jpeg_destroy_compress(&cinfo);
    return value;
}

bool near(const Rgb& got, const Rgb& want, int tolerance) {
    for (size_t i = 0; i < 3; ++i)
        if (std::abs(got[i] - want[i]) > tolerance)
            return false;
    return true;
}

}  // namespace zw::test

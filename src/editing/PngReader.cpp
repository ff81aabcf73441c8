// PNG pictures through libpng (behind the C layer of PngCodec.c).
#include <new>
#include <vector>

#include "editing/ColourProfile.h"
#include "editing/DecodedPicture.h"
#include "editing/PngCodec.h"

namespace zw {

namespace {

struct ReaderFree {
    void operator()(zw_png_reader* r) const { zw_png_reader_free(r); }
};

class PngFile {
public:
    explicit PngFile(const QByteArray& bytes)
        : r_(zw_png_reader_new(reinterpret_cast<const unsigned char*>(bytes.constData()), size_t(bytes.size()))) {
        if (!r_)
            throw std::bad_alloc();
        check(zw_png_read_header(r_.get(), &header_));
        checkPictureSize(header_.width, header_.height);
    }

    const zw_png_header& header() const { return header_; }
    void readImage(unsigned char** rows) { check(zw_png_read_image(r_.get(), rows)); }

private:
    void check(int code) const {
        if (code != ZW_PNG_OK)
            throw Error(QStringLiteral("Das PNG-Bild ist beschädigt oder unvollständig und kann nicht gelesen "
                                       "werden (libpng: %1).")
                            .arg(QString::fromUtf8(zw_png_message(r_.get()))));
    }

    std::unique_ptr<zw_png_reader, ReaderFree> r_;
    zw_png_header header_{};
};

}  // namespace

PictureInfo pngInfo(const QByteArray& bytes) {
    const PngFile png(bytes);
    return {QSize(png.header().width, png.header().height), 1};
}

DecodedPicture decodePng(const QByteArray& bytes) {
    PngFile png(bytes);
    const zw_png_header& h = png.header();
    DecodedPicture picture;
    picture.stored = QSize(h.width, h.height);
    picture.channels = h.channels;
    picture.stride = qsizetype(h.width) * h.channels;
    auto pixels = std::make_shared<std::vector<unsigned char>>(size_t(picture.stride) * size_t(h.height));
    std::vector<unsigned char*> rows(size_t(h.height));
    for (int y = 0; y < h.height; ++y) rows[size_t(y)] = pixels->data() + size_t(y) * size_t(picture.stride);
    png.readImage(rows.data());
    if (h.icc)
        picture.colour = ColourConversion::fromIcc(
            QByteArray::fromRawData(reinterpret_cast<const char*>(h.icc), qsizetype(h.icc_length)),
            h.channels == 4);
    picture.pixels = pixels->data();
    picture.owner = std::move(pixels);
    return picture;
}

}  // namespace zw

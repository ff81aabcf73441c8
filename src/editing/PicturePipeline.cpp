#include "editing/PicturePipeline.h"

#include <algorithm>
#include <memory>
#include <new>
#include <numeric>
#include <vector>

#include "editing/DecodedPicture.h"
#include "editing/JpegCodec.h"
#include "editing/PictureOrientation.h"
#include "platform/FileIo.h"

namespace zw {

namespace {

void check(int code) {
    if (code != ZW_JPEG_OK)
        throw jpegError(code);
}

struct DecoderFree {
    void operator()(zw_jpeg_decoder* d) const { zw_jpeg_decoder_free(d); }
};
struct EncoderFree {
    void operator()(zw_jpeg_encoder* e) const { zw_jpeg_encoder_free(e); }
};

// A decoder past its header: the stored size and kind, and the upright size.
class Decoder {
public:
    explicit Decoder(const QByteArray& jpeg) : d_(zw_jpeg_decoder_new()) {
        if (!d_)
            throw std::bad_alloc();
        check(zw_jpeg_read_header(d_.get(), reinterpret_cast<const unsigned char*>(jpeg.constData()),
                                  size_t(jpeg.size()), &header_));
        checkPictureSize(header_.width, header_.height);
        orientation_ = exifOrientation(header_.exif, header_.exif_length);
    }

    const zw_jpeg_header& header() const { return header_; }
    int orientation() const { return orientation_; }
    QSize upright() const {
        const bool turned = Orientation::fromExif(orientation_).transposed;
        return turned ? QSize(header_.height, header_.width) : QSize(header_.width, header_.height);
    }
    zw_jpeg_decoder* get() const { return d_.get(); }

private:
    std::unique_ptr<zw_jpeg_decoder, DecoderFree> d_;
    zw_jpeg_header header_{};
    int orientation_ = 1;
};

// Ink to light. Adobe's APP14 files store the inks inverted (255 = no ink).
void cmykToRgb(const unsigned char* cmyk, unsigned char* rgb, int pixels, bool inverted) {
    for (int i = 0; i < pixels; ++i, cmyk += 4, rgb += 3) {
        const int k = inverted ? cmyk[3] : 255 - cmyk[3];
        for (int c = 0; c < 3; ++c) {
            const int light = inverted ? cmyk[c] : 255 - cmyk[c];
            rgb[c] = (unsigned char)((light * k + 127) / 255);
        }
    }
}

// The decoded picture, turned upright and sampled to the target size, rows of width * 3 bytes.
// Rows arrive from libjpeg top to bottom as stored; each one is copied at once to every target pixel
// that takes its pixels from it, so neither the stored picture nor a turned copy is ever held whole.
std::vector<unsigned char> decodeSampled(const Decoder& decoder, QSize target) {
    const zw_jpeg_header& h = decoder.header();
    const Orientation o = Orientation::fromExif(decoder.orientation());
    const QSize upright = decoder.upright();
    const int W = target.width(), H = target.height();
    std::vector<unsigned char> out(size_t(W) * size_t(H) * 3);
    check(zw_jpeg_start(decoder.get(), kMaxJpegScans));

    const bool identity = decoder.orientation() == 1 && target == upright && !h.cmyk;
    if (identity) {
        for (int y = 0; y < H; ++y) check(zw_jpeg_read_row(decoder.get(), &out[size_t(y) * W * 3]));
        check(zw_jpeg_finish(decoder.get()));
        return out;
    }

    // A "line" of the target takes all its pixels from one stored row: a target row, or a target
    // column when the picture is turned by a quarter.
    const std::vector<int> ux = centreSamples(W, upright.width());
    const std::vector<int> uy = centreSamples(H, upright.height());
    const std::vector<int>& lineUpright = o.transposed ? ux : uy;
    const std::vector<int>& placeUpright = o.transposed ? uy : ux;
    const int lines = int(lineUpright.size()), places = int(placeUpright.size());
    std::vector<int> lineRow(static_cast<size_t>(lines)), placeColumn(static_cast<size_t>(places));
    for (int i = 0; i < lines; ++i) {
        const int v = lineUpright[size_t(i)];
        lineRow[size_t(i)] = o.mirrorY ? h.height - 1 - v : v;
    }
    for (int j = 0; j < places; ++j) {
        const int v = placeUpright[size_t(j)];
        placeColumn[size_t(j)] = (o.mirrorX ? h.width - 1 - v : v) * 3;
    }
    const size_t lineStep = o.transposed ? 3 : size_t(W) * 3;
    const size_t placeStep = o.transposed ? size_t(W) * 3 : 3;
    std::vector<int> order(static_cast<size_t>(lines));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lineRow[size_t(a)] < lineRow[size_t(b)]; });

    // Stored rows that target lines need wait in a small batch. A quarter-turned picture writes each
    // stored row down a target column; taking several rows at once lets those writes share cache lines.
    const int batchRows = o.transposed ? 16 : 1;
    const size_t rowBytes = size_t(h.width) * 3;
    std::vector<unsigned char> batch(rowBytes * size_t(batchRows));
    std::vector<unsigned char> raw(h.cmyk ? size_t(h.width) * 4 : rowBytes);
    struct Pending {
        int line;
        const unsigned char* row;
    };
    std::vector<Pending> pending;
    int used = 0;
    const auto flush = [&] {
        if (o.transposed) {
            for (int j = 0; j < places; ++j) {
                unsigned char* dstRow = &out[size_t(j) * placeStep];
                const int column = placeColumn[size_t(j)];
                for (const Pending& p : pending) {
                    unsigned char* dst = dstRow + size_t(p.line) * lineStep;
                    const unsigned char* src = p.row + column;
                    dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
                }
            }
        } else {
            for (const Pending& p : pending) {
                unsigned char* dst = &out[size_t(p.line) * lineStep];
                for (int j = 0; j < places; ++j, dst += placeStep) {
                    const unsigned char* src = p.row + placeColumn[size_t(j)];
                    dst[0] = src[0], dst[1] = src[1], dst[2] = src[2];
                }
            }
        }
        pending.clear();
        used = 0;
    };
    size_t next = 0;
    for (int row = 0; row < h.height; ++row) {
        const bool needed = next < order.size() && lineRow[size_t(order[next])] == row;
        unsigned char* slot = &batch[rowBytes * size_t(used)];
        check(zw_jpeg_read_row(decoder.get(), needed && !h.cmyk ? slot : raw.data()));
        if (!needed)
            continue;
        if (h.cmyk)
            cmykToRgb(raw.data(), slot, h.width, h.inverted_cmyk != 0);
        for (; next < order.size() && lineRow[size_t(order[next])] == row; ++next)
            pending.push_back({order[next], slot});
        if (++used == batchRows)
            flush();
    }
    flush();
    check(zw_jpeg_finish(decoder.get()));
    return out;
}

constexpr int kRowsPerCall = 32;

// Rows handed to libjpeg a batch at a time; rowsAt(y, count, rows) points rows at rows y, y + 1, ...
QByteArray encodeRows(QSize size, int quality,
                      const std::function<void(int y, int count, unsigned char** rows)>& rowsAt) {
    std::unique_ptr<zw_jpeg_encoder, EncoderFree> e(zw_jpeg_encoder_new());
    if (!e)
        throw std::bad_alloc();
    check(zw_jpeg_encode_start(e.get(), size.width(), size.height(), quality));
    unsigned char* rows[kRowsPerCall];
    for (int y = 0; y < size.height();) {
        const int count = std::min(kRowsPerCall, size.height() - y);
        rowsAt(y, count, rows);
        check(zw_jpeg_write_rows(e.get(), rows, count));
        y += count;
    }
    const unsigned char* data = nullptr;
    size_t length = 0;
    check(zw_jpeg_encode_finish(e.get(), &data, &length));
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(length));
}

// Bytes of none of the kinds are the JPEG decoder's to refuse, with libjpeg's message number.
bool readsAsJpeg(PictureKind kind) {
    return kind == PictureKind::Jpeg || kind == PictureKind::Unknown;
}

}  // namespace

std::vector<int> centreSamples(int n, int length) {
    std::vector<int> at(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) at[size_t(i)] = int((qint64(2 * i + 1) * length) / (qint64(2) * n));
    return at;
}

QByteArray encodeRgbJpeg(std::vector<unsigned char>& pixels, QSize size, int quality) {
    const size_t stride = size_t(size.width()) * 3;
    return encodeRows(size, quality, [&](int y, int count, unsigned char** rows) {
        for (int i = 0; i < count; ++i) rows[i] = &pixels[size_t(y + i) * stride];
    });
}

QByteArray encodeRgbRows(QSize size, int quality, const std::function<void(int y, unsigned char* row)>& fill) {
    const size_t stride = size_t(size.width()) * 3;
    std::vector<unsigned char> batch(stride * kRowsPerCall);
    return encodeRows(size, quality, [&](int y, int count, unsigned char** rows) {
        for (int i = 0; i < count; ++i) {
            rows[i] = &batch[size_t(i) * stride];
            fill(y + i, rows[i]);
        }
    });
}

void checkPictureSize(qint64 width, qint64 height) {
    if (width * height > kMaxPicturePixels)
        throw Error(QStringLiteral("Das Bild ist mit %1 × %2 Pixeln zu groß. Zettelwerk verarbeitet "
                                   "Bilder bis %3 Megapixel.")
                        .arg(width)
                        .arg(height)
                        .arg(kMaxPicturePixels / 1'000'000));
}

Error jpegError(int code) {
    if (code == ZW_JPEG_NO_MEMORY)
        throw std::bad_alloc();
    if (code == ZW_JPEG_TOO_MANY_SCANS)
        return Error(
            QStringLiteral("Das Bild besteht aus mehr als %1 Durchgängen und wird nicht verarbeitet.")
                .arg(kMaxJpegScans));
    return Error(QStringLiteral("JPEG-Fehler #%1").arg(code));
}

PictureInfo readPictureInfo(const QByteArray& picture) {
    const PictureKind kind = pictureKind(picture);
    if (!readsAsJpeg(kind))
        return readDecodedPictureInfo(picture, kind);
    const Decoder decoder(picture);
    return {decoder.upright(), decoder.orientation()};
}

PictureInfo loadPictureInfo(const QByteArray& picture) {
    const PictureKind kind = pictureKind(picture);
    if (!readsAsJpeg(kind)) {
        const DecodedPicture decoded = decodePicture(picture, kind);
        return {decoded.upright(), decoded.orientation};
    }
    const Decoder decoder(picture);
    check(zw_jpeg_check_data(decoder.get(), kMaxJpegScans));
    return {decoder.upright(), decoder.orientation()};
}

int scaledHeight(int W, QSize picture) {
    const qint64 product = qint64(W) * picture.height();
    const qint64 w = picture.width();
    qint64 H = product / w;
    const qint64 twice = 2 * (product % w);
    if (twice > w || (twice == w && H % 2 == 1))
        ++H;
    // A wide strip at a small width would round to no rows at all.
    return int(std::clamp<qint64>(H, 1, kMaxPicturePixels));
}

void checkTargetSize(int width, int height) {
    if (qint64(width) * height > kMaxPicturePixels)
        throw Error(QStringLiteral("Mit %1 × %2 Pixeln würde das Bild größer als %3 Megapixel. Bitte "
                                   "wählen Sie eine kleinere Breite.")
                        .arg(width)
                        .arg(height)
                        .arg(kMaxPicturePixels / 1'000'000));
}

QByteArray transcodePicture(const QByteArray& picture, QSize target, int quality, ColorValue background) {
    const PictureKind kind = pictureKind(picture);
    if (!readsAsJpeg(kind)) {
        const DecodedPicture decoded = decodePicture(picture, kind);
        return encodeDecodedPicture(decoded, target.isEmpty() ? decoded.upright() : target, quality, background);
    }
    const Decoder decoder(picture);
    if (target.isEmpty())
        target = decoder.upright();
    checkTargetSize(target.width(), target.height());
    std::vector<unsigned char> pixels = decodeSampled(decoder, target);
    return encodeRgbJpeg(pixels, target, quality);
}

Error pictureFailedError() {
    return Error(QStringLiteral("Das Bild kann nicht verarbeitet werden: Es braucht mehr Arbeitsspeicher, als frei "
                                "ist, oder die Datei ist fehlerhaft aufgebaut."));
}

QByteArray previewPicture(const QByteArray& picture, int largestSide) {
    const QSize upright = readPictureInfo(picture).size;
    const QSize fitted = upright.width() <= largestSide && upright.height() <= largestSide
                             ? upright
                             : upright.scaled(largestSide, largestSide, Qt::KeepAspectRatio).expandedTo({1, 1});
    return transcodePicture(picture, fitted, kScaledQuality);
}

void ScalePictureToWidth(const QString& path, int width, QSize noted) {
    const int height = scaledHeight(width, noted);
    checkTargetSize(width, height);
    writeWorkingFile(path, transcodePicture(readFile(path), QSize(width, height), kScaledQuality));
}

void ReencodePicture(const QString& path, int quality) {
    writeWorkingFile(path, transcodePicture(readFile(path), QSize(), quality));
}

}  // namespace zw

// HEIF pictures (a phone's HEIC photos, also AVIF) through libheif and the codecs it was built with.
#include <libheif/heif.h>

#include <new>

#include "editing/ColourProfile.h"
#include "editing/DecodedPicture.h"
#include "editing/HeifBoxes.h"
#include "editing/PictureOrientation.h"

namespace zw {

namespace {

Error codecMissing(const QString& what) {
    return Error(QStringLiteral("Das HEIF-Bild ist mit einem Verfahren gespeichert, das die installierte libheif "
                                "%1 nicht entschlüsseln kann (%2). Bitte speichern Sie es als JPEG oder PNG.")
                     .arg(QLatin1String(heif_get_version()), what));
}

void check(const heif_error& e) {
    if (e.code == heif_error_Ok)
        return;
    const QString reason = QString::fromUtf8(e.message ? e.message : "");
    // libheif reports what passes its own limits (a picture or box declared too large) as a failed
    // allocation, without having tried one.
    if (e.code == heif_error_Memory_allocation_error && e.subcode == heif_suberror_Security_limit_exceeded)
        throw Error(QStringLiteral("Das HEIF-Bild ist zu groß oder fehlerhaft aufgebaut und wird nicht verarbeitet "
                                   "(libheif: %1). Zettelwerk verarbeitet Bilder bis %2 Megapixel.")
                        .arg(reason)
                        .arg(kMaxPicturePixels / 1'000'000));
    if (e.code == heif_error_Memory_allocation_error)
        throw std::bad_alloc();
    if (e.code == heif_error_Unsupported_feature &&
        (e.subcode == heif_suberror_Unsupported_codec || e.subcode == heif_suberror_Unsupported_image_type))
        throw codecMissing(reason);
    throw Error(QStringLiteral("Das HEIF-Bild ist beschädigt oder unvollständig und kann nicht gelesen werden "
                               "(libheif: %1).")
                    .arg(reason));
}

// The codec of a primary item type, when it is a coded picture rather than one put together from
// others ("grid", "iden", "iovl"), whose parts libheif checks itself.
bool decodable(const QByteArray& itemType) {
    static const struct {
        const char* type;
        heif_compression_format format;
    } codecs[] = {{"hvc1", heif_compression_HEVC}, {"av01", heif_compression_AV1},  {"avc1", heif_compression_AVC},
                  {"jpeg", heif_compression_JPEG}, {"vvc1", heif_compression_VVC},  {"evc1", heif_compression_EVC},
                  {"j2k1", heif_compression_JPEG2000}};
    if (itemType == "grid" || itemType == "iden" || itemType == "iovl")
        return true;
    for (const auto& codec : codecs)
        if (itemType == codec.type)
            return heif_have_decoder_for_format(codec.format) != 0;
    return false;
}

// The EXIF orientation of the primary picture, from its "Exif" block: a 32-bit offset, then the TIFF
// data, which libexif takes behind the "Exif" header of a JPEG marker.
int heifExifOrientation(const heif_image_handle* handle) {
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle, "Exif", &id, 1) != 1)
        return 1;
    QByteArray block(qsizetype(heif_image_handle_get_metadata_size(handle, id)), '\0');
    if (block.size() < 4 || heif_image_handle_get_metadata(handle, id, block.data()).code != heif_error_Ok)
        return 1;
    const quint32 offset = quint32(quint8(block[0])) << 24 | quint8(block[1]) << 16 | quint8(block[2]) << 8 |
                           quint8(block[3]);
    if (offset > quint32(block.size() - 4))
        return 1;
    QByteArray tiff = block.mid(4 + qsizetype(offset));
    if (!tiff.startsWith(QByteArray("Exif\0\0", 6)))
        tiff.prepend(QByteArray("Exif\0\0", 6));
    return exifOrientation(reinterpret_cast<const unsigned char*>(tiff.constData()), size_t(tiff.size()));
}

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleFree {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};

// A HEIF file read as far as its primary picture's header: the size libheif reports is after the file's
// own rotation and cropping; an EXIF orientation is to be applied only when the file has none of them.
class HeifFile {
public:
    explicit HeifFile(const QByteArray& bytes) : context_(heif_context_alloc()) {
        if (!context_)
            throw std::bad_alloc();
        const HeifPrimary primary = heifPrimary(bytes);
        if (primary.oversizedItem)
            check({heif_error_Invalid_input, heif_suberror_Unspecified, "item extents larger than the file"});
        if (!primary.itemType.isEmpty() && !decodable(primary.itemType))
            throw codecMissing(QStringLiteral("„%1“").arg(QString::fromLatin1(primary.itemType)));
        if (primary.largestDecoded.isValid())
            checkPictureSize(primary.largestDecoded.width(), primary.largestDecoded.height());
        check(heif_context_read_from_memory_without_copy(context_.get(), bytes.constData(), size_t(bytes.size()),
                                                         nullptr));
        heif_image_handle* handle = nullptr;
        check(heif_context_get_primary_image_handle(context_.get(), &handle));
        handle_.reset(handle);
        const int width = heif_image_handle_get_width(handle), height = heif_image_handle_get_height(handle);
        checkPictureSize(width, height);
        checkPictureSize(heif_image_handle_get_ispe_width(handle), heif_image_handle_get_ispe_height(handle));
        if (width <= 0 || height <= 0)
            check({heif_error_Invalid_input, heif_suberror_Unspecified, "no picture size"});
        size_ = QSize(width, height);
        if (!primary.transformed)
            orientation_ = heifExifOrientation(handle);
    }

    PictureInfo info() const {
        const bool turned = Orientation::fromExif(orientation_).transposed;
        return {turned ? size_.transposed() : size_, orientation_};
    }
    heif_image_handle* handle() const { return handle_.get(); }
    QSize size() const { return size_; }
    int orientation() const { return orientation_; }

private:
    std::unique_ptr<heif_context, ContextFree> context_;
    std::unique_ptr<heif_image_handle, HandleFree> handle_;
    QSize size_;
    int orientation_ = 1;
};

std::shared_ptr<const ColourConversion> colourOf(const heif_image_handle* handle, bool alpha) {
    switch (heif_image_handle_get_color_profile_type(handle)) {
        case heif_color_profile_type_prof:
        case heif_color_profile_type_rICC: {
            QByteArray icc(qsizetype(heif_image_handle_get_raw_color_profile_size(handle)), '\0');
            if (icc.isEmpty() || heif_image_handle_get_raw_color_profile(handle, icc.data()).code != heif_error_Ok)
                return nullptr;
            return ColourConversion::fromIcc(icc, alpha);
        }
        case heif_color_profile_type_nclx: {
            heif_color_profile_nclx* nclx = nullptr;
            const heif_error got = heif_image_handle_get_nclx_color_profile(handle, &nclx);
            // Ours also when libheif refuses the values it read (unknown primaries).
            const std::unique_ptr<heif_color_profile_nclx, void (*)(heif_color_profile_nclx*)> owned(
                nclx, heif_nclx_color_profile_free);
            if (got.code != heif_error_Ok || !nclx)
                return nullptr;
            return ColourConversion::fromPrimaries(
                {nclx->color_primary_red_x, nclx->color_primary_red_y, nclx->color_primary_green_x,
                 nclx->color_primary_green_y, nclx->color_primary_blue_x, nclx->color_primary_blue_y,
                 nclx->color_primary_white_x, nclx->color_primary_white_y},
                int(nclx->transfer_characteristics), alpha);
        }
        default:
            return nullptr;
    }
}

}  // namespace

PictureInfo heifInfo(const QByteArray& bytes) {
    return HeifFile(bytes).info();
}

DecodedPicture decodeHeif(const QByteArray& bytes) {
    const HeifFile file(bytes);
    const bool alpha = heif_image_handle_has_alpha_channel(file.handle()) != 0;
    const std::unique_ptr<heif_decoding_options, void (*)(heif_decoding_options*)> options(
        heif_decoding_options_alloc(), heif_decoding_options_free);
    if (!options)
        throw std::bad_alloc();
    options->convert_hdr_to_8bit = 1;
    heif_image* decoded = nullptr;
    check(heif_decode_image(file.handle(), &decoded, heif_colorspace_RGB,
                            alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get()));
    const std::shared_ptr<heif_image> image(decoded, heif_image_release);

    DecodedPicture picture;
    picture.channels = alpha ? 4 : 3;
    picture.stored = QSize(heif_image_get_width(decoded, heif_channel_interleaved),
                           heif_image_get_height(decoded, heif_channel_interleaved));
    int stride = 0;
    picture.pixels = heif_image_get_plane_readonly(decoded, heif_channel_interleaved, &stride);
    if (!picture.pixels || heif_image_get_bits_per_pixel_range(decoded, heif_channel_interleaved) != 8)
        check({heif_error_Decoder_plugin_error, heif_suberror_Unspecified, "no 8-bit picture"});
    // The coded picture must be the one the file declares, which the question and the copy are sized by.
    if (picture.stored != file.size())
        check({heif_error_Invalid_input, heif_suberror_Unspecified, "coded picture size differs from the declared one"});
    picture.stride = stride;
    picture.owner = image;
    picture.orientation = file.orientation();
    picture.colour = colourOf(file.handle(), alpha);
    return picture;
}

}  // namespace zw

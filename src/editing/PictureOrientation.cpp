#include "editing/PictureOrientation.h"

#include <libexif/exif-data.h>

#include <memory>

namespace zw {

int exifOrientation(const unsigned char* exif, std::size_t length) {
    if (!exif || length == 0)
        return 1;
    std::unique_ptr<ExifData, void (*)(ExifData*)> data(exif_data_new(), exif_data_unref);
    if (!data)
        return 1;
    // Only reading: libexif must not add or repair tags while it loads.
    exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data.get(), exif, unsigned(length));
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || entry->size < 2)
        return 1;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(data.get()));
    return value >= 1 && value <= 8 ? value : 1;
}

Orientation Orientation::fromExif(int value) {
    // Upright (ux, uy) to stored (sx, sy) in a w x h picture:
    // 1 (ux, uy)  2 (w-1-ux, uy)  3 (w-1-ux, h-1-uy)  4 (ux, h-1-uy)
    // 5 (uy, ux)  6 (uy, h-1-ux)  7 (w-1-uy, h-1-ux)  8 (w-1-uy, ux)
    Orientation o;
    o.transposed = value >= 5 && value <= 8;
    o.mirrorX = value == 2 || value == 3 || value == 7 || value == 8;
    o.mirrorY = value == 3 || value == 4 || value == 6 || value == 7;
    return o;
}

}  // namespace zw

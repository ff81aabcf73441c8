#pragma once

#include <cstddef>

namespace zw {

// The EXIF orientation of a photo (1 to 8; 1 = stored upright) from the payload of its APP1 "Exif"
// marker. A missing, damaged or unknown value reads as 1.
int exifOrientation(const unsigned char* exif, std::size_t length);

// Where a pixel of the upright picture lies in the stored one, for the eight EXIF orientations.
struct Orientation {
    bool transposed = false;  // 5 to 8: stored rows are upright columns
    bool mirrorX = false;     // the stored column counts from the right
    bool mirrorY = false;     // the stored row counts from the bottom

    static Orientation fromExif(int value);
};

}  // namespace zw

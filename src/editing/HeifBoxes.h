#pragma once

#include <QByteArray>
#include <QSize>

namespace zw {

// What libheif 1.15 does not tell about a HEIF file's primary picture, read from its boxes: its item
// type ("hvc1" for HEVC, "av01", "grid", "jpeg", ...), and whether it carries a rotation or mirroring
// of its own ("irot", "imir"), which libheif applies and which then wins over an EXIF orientation.
// Also the largest picture that libheif and its HEVC decoder will allocate, which libheif 1.15 does not
// hold against the size the file declares: those of the decoder set-ups (in "hvcC" boxes and in the
// coded data) and of the canvases of grids and overlays.
struct HeifPrimary {
    QByteArray itemType;  // empty when the boxes cannot be read; libheif then says what is wrong
    bool transformed = false;
    QSize largestDecoded;
    // An item whose extents add up to more than the whole file: libheif would gather it all the same.
    bool oversizedItem = false;
};
HeifPrimary heifPrimary(const QByteArray& file);

}  // namespace zw

#pragma once

#include <QByteArray>
#include <QSize>

namespace zw {

// What libheif 1.15 does not tell about a HEIF file's primary picture, read from its boxes: its item
// type ("hvc1" for HEVC, "av01", "grid", "jpeg", ...), and whether it carries a rotation or mirroring
// of its own ("irot", "imir"), which libheif applies and which then wins over an EXIF orientation.
// Also the largest picture size that any HEVC decoder set-up in the file ("hvcC", its sequence parameter
// set) declares: what the decoder allocates, which libheif does not hold against the declared size.
struct HeifPrimary {
    QByteArray itemType;  // empty when the boxes cannot be read; libheif then says what is wrong
    bool transformed = false;
    QSize largestCoded;
};
HeifPrimary heifPrimary(const QByteArray& file);

}  // namespace zw

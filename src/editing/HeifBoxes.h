#pragma once

#include <QByteArray>

namespace zw {

// What libheif 1.15 does not tell about a HEIF file's primary picture, read from its boxes: its item
// type ("hvc1" for HEVC, "av01", "grid", "jpeg", ...), and whether it carries a rotation or mirroring
// of its own ("irot", "imir"), which libheif applies and which then wins over an EXIF orientation.
struct HeifPrimary {
    QByteArray itemType;  // empty when the boxes cannot be read; libheif then says what is wrong
    bool transformed = false;
};
HeifPrimary heifPrimary(const QByteArray& file);

}  // namespace zw

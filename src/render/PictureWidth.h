#pragma once

#include <QString>

#include <optional>

namespace zw {

// The width in pixels that a picture's header gives. The phone layout writes it into the img tag,
// because Outlook sizes pictures by that attribute alone. The picture commands make every picture a
// JPEG; a hand-edited template may name a PNG. Nothing for other kinds, or a header cut short: the
// column's width is taken then.
std::optional<int> PictureWidth(const QString& path);

}  // namespace zw

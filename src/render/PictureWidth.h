#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace zw {

// The width in pixels that a picture's header gives (JPEG, PNG, GIF, WebP). The phone layout writes it
// into the img tag, because Outlook sizes pictures by that attribute alone. Nothing when the header is
// not one of these or is cut short.
std::optional<int> PictureWidth(const QString& path);
// The same for the first bytes of a picture that is not a JPEG, or a JPEG whose frame header is
// among them.
std::optional<int> PictureWidthFromHead(QByteArrayView head);

}  // namespace zw

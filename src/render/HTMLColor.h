#pragma once

#include <QByteArray>

#include "platform/Platform.h"

namespace zw {

// A Windows colour value: red in the lowest byte, then green, then blue; the highest byte is unused.
using ColorValue = quint32;

// The colour text of templates and HTML: "#" and six upper-case hexadecimal digits, red first.
// Always reports success, as the swatches and the template reader expect.
bool ColorToHtml(ColorValue value, QByteArray& text);

// The reverse. The "#" is optional, the digits may be of either case, anything after the sixth digit
// is ignored. A text that is not a colour beeps and leaves value as it was, so the swatch keeps the
// last good colour; the status stays success all the same.
bool HtmlToColor(const QByteArray& text, ColorValue& value, Platform& platform);

}  // namespace zw

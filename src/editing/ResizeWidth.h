#pragma once

#include <QString>

namespace zw {

// The width question: the width it suggests each time, and the widths it takes.
inline constexpr int kRecommendedWidth = 150;
inline constexpr int kMinResizeWidth = 1;
inline constexpr int kMaxResizeWidth = 10'000;

// What the text of the width field says.
struct WidthEntry {
    enum Kind { Width, NoInteger, OutOfRange } kind;
    int width = 0;  // for Width
};
// A decimal whole number (blanks around it and a sign allowed) from 1 to 10 000 is a width; other
// digits are out of range; anything else is no whole number at all.
WidthEntry readWidthEntry(const QString& text);

// "'%s' ist kein gültiger Integerwert"
QString noIntegerMessage(const QString& text);
QString widthRangeMessage();

}  // namespace zw

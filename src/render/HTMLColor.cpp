#include "render/HTMLColor.h"

namespace zw {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// One colour channel from up to two digits; -1 when the pair is empty or not hexadecimal.
int hexPair(const QByteArray& pair) {
    if (pair.isEmpty())
        return -1;
    int value = 0;
    for (char c : pair) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return -1;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace

bool ColorToHtml(ColorValue value, QByteArray& text) {
    text = "#";
    for (int shift : {0, 8, 16}) {
        const unsigned channel = (value >> shift) & 0xFF;
        text += kHexDigits[channel >> 4];
        text += kHexDigits[channel & 0xF];
    }
    return true;
}

bool HtmlToColor(const QByteArray& text, ColorValue& value, Platform& platform) {
    const qsizetype start = text.startsWith('#') ? 1 : 0;
    const int red = hexPair(text.mid(start, 2));
    const int green = hexPair(text.mid(start + 2, 2));
    const int blue = hexPair(text.mid(start + 4, 2));
    if (red < 0 || green < 0 || blue < 0) {
        platform.beep();
        return true;
    }
    value = ColorValue(red) + ColorValue(green) * 256 + ColorValue(blue) * 65536;
    return true;
}

}  // namespace zw

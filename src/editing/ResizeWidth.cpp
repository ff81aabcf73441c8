#include "editing/ResizeWidth.h"

#include <QLocale>

#include <algorithm>

namespace zw {

WidthEntry readWidthEntry(const QString& text) {
    QStringView digits = QStringView(text).trimmed();
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'+' || digits.front() == u'-')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    if (digits.isEmpty())
        return {WidthEntry::NoInteger};
    qint64 value = 0;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            return {WidthEntry::NoInteger};
        value = std::min<qint64>(value * 10 + (c.unicode() - u'0'), kMaxResizeWidth + 1);
    }
    if (negative)
        value = -value;
    if (value < kMinResizeWidth || value > kMaxResizeWidth)
        return {WidthEntry::OutOfRange};
    return {WidthEntry::Width, int(value)};
}

QString noIntegerMessage(const QString& text) {
    return QStringLiteral("'%1' ist kein gültiger Integerwert").arg(text);
}

QString widthRangeMessage() {
    return QStringLiteral("Bitte geben Sie eine Breite von %1 bis %2 Pixeln ein.")
        .arg(kMinResizeWidth)
        .arg(QLocale(QLocale::German).toString(kMaxResizeWidth));
}

}  // namespace zw

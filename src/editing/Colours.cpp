#include "editing/Colours.h"

#include <QLocale>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace zw {

void ColourChoice::confirm(ColourRow row, ColorValue chosen, TemplateSettings& settings) {
    lastColour = chosen;
    QByteArray TemplateSettings::*const setting = row == ColourRow::Text   ? &TemplateSettings::TextColor
                                                  : row == ColourRow::Link ? &TemplateSettings::LinkColor
                                                                           : &TemplateSettings::BKGColor;
    ColorToHtml(chosen, settings.*setting);
}

namespace {

// The relative luminance of an sRGB colour (red in the lowest byte), as WCAG 2 defines it.
double luminance(ColorValue colour) {
    const auto linear = [](unsigned channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour & 0xFF) + 0.7152 * linear((colour >> 8) & 0xFF) +
           0.0722 * linear((colour >> 16) & 0xFF);
}

}  // namespace

double contrastRatio(ColorValue first, ColorValue second) {
    const double a = luminance(first), b = luminance(second);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

std::optional<ColorValue> readColourText(const QByteArray& text) {
    const QByteArray digits = (text.startsWith('#') ? text.mid(1) : text).left(6);
    bool ok = digits.size() == 6;
    for (const char c : digits) ok = ok && std::isxdigit(static_cast<unsigned char>(c));
    if (!ok)
        return std::nullopt;
    const uint rgb = digits.toUInt(nullptr, 16);  // "RRGGBB": red in the highest byte of the text
    return ColorValue(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
}

QString contrastWarning(const TemplateSettings& settings) {
    const std::optional<ColorValue> background = readColourText(settings.BKGColor);
    if (!background)
        return {};
    const std::pair<QByteArray, QString> foregrounds[] = {
        {settings.TextColor, QStringLiteral("Text (Newstext, Überschriften, Impressum)")},
        {settings.LinkColor, QStringLiteral("Links")},
    };
    QStringList sentences;
    for (const auto& [text, name] : foregrounds) {
        const std::optional<ColorValue> colour = readColourText(text);
        if (!colour)
            continue;
        const double ratio = contrastRatio(*colour, *background);
        if (ratio >= kMinimumTextContrast)
            continue;
        // Cut, not rounded: 4.48 must not read as the 4,5 it falls short of.
        const QString shown = QLocale(QLocale::German).toString(std::floor(ratio * 10) / 10, 'f', 1);
        sentences.append(
            QStringLiteral("Der Kontrast von %1 zu Hintergrund ist %2:1 – unter 4,5:1 ist er für viele Leser "
                           "schwer lesbar.")
                .arg(name, shown));
    }
    return sentences.join(u'\n');
}

}  // namespace zw

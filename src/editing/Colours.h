#pragma once

#include <QString>

#include <optional>

#include "render/HTMLColor.h"
#include "template/NewsletterTemplate.h"

namespace zw {

// The three colour settings, in the order of their buttons "Text Farbe", "Link Farbe",
// "Hintergrund Farbe".
enum class ColourRow { Text, Link, Background };

// The colour dialog's memory, shared by the three colour buttons: it opens with the colour confirmed
// last (black the first time), not with the setting of the button's row.
struct ColourChoice {
    ColorValue lastColour = 0;

    // A colour confirmed in the dialog: remembered, and stored as the row's setting ("#RRGGBB").
    void confirm(ColourRow row, ColorValue chosen, TemplateSettings& settings);
};

// The contrast ratio of two colours as the web's accessibility guidelines (WCAG 2) define it, from 1
// (the same brightness) to 21 (black on white).
double contrastRatio(ColorValue first, ColorValue second);

// Below this ratio normal-sized text is hard to read for many people (WCAG level AA).
inline constexpr double kMinimumTextContrast = 4.5;

// A colour text of a template as the swatches read it ("#" optional, six hexadecimal digits, the rest
// ignored); nothing when it is no colour.
std::optional<ColorValue> readColourText(const QByteArray& text);

// The page "Farben"'s warning about the template's colours: one German sentence for the text colour
// (news text, headlines, imprint) and one for the link colour when it falls below
// kMinimumTextContrast against the background; empty when both read well or a colour cannot be read.
QString contrastWarning(const TemplateSettings& settings);

}  // namespace zw

#pragma once

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

}  // namespace zw

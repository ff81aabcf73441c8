#include "editing/Colours.h"

namespace zw {

void ColourChoice::confirm(ColourRow row, ColorValue chosen, TemplateSettings& settings) {
    lastColour = chosen;
    QByteArray TemplateSettings::*const setting = row == ColourRow::Text   ? &TemplateSettings::TextColor
                                                  : row == ColourRow::Link ? &TemplateSettings::LinkColor
                                                                           : &TemplateSettings::BKGColor;
    ColorToHtml(chosen, settings.*setting);
}

}  // namespace zw

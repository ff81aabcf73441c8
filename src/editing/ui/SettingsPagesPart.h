#pragma once

#include <QObject>

#include "editing/Colours.h"

namespace zw {

class Prompts;
struct TemplateControls;
struct TemplateSession;

// The pages "Farben" and "Kopf u. Fußzeile": the colour buttons with their swatches and the contrast
// warning, and the date line switch. The text fields of the header and footer need nothing but the change
// mark, which the window gives every template field.
class SettingsPagesPart : public QObject {
    Q_OBJECT
public:
    SettingsPagesPart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                      QObject* parent = nullptr);

    void TextcolorButtonClick() { chooseColour(ColourRow::Text); }
    void LinkColorButtonClick() { chooseColour(ColourRow::Link); }
    void BKGColorButtonClick() { chooseColour(ColourRow::Background); }
    void DateCheckBoxClick();
    // Says on the page "Farben" whether text and links read well on the background; shown whenever
    // the page is selected and after every colour chosen.
    void showContrastWarning();

    ColourChoice colours;

private:
    void chooseColour(ColourRow row);

    TemplateControls& c_;
    TemplateSession& session_;
    Prompts& prompts_;
};

}  // namespace zw

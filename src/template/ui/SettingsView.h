#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>

#include "template/NewsletterTemplate.h"
#include "template/Session.h"
#include "template/ui/TemplateControls.h"

class QLineEdit;

namespace zw {

class Platform;

// The alignment words of the file, in the order of the buttons "links", "zentriert", "rechts".
inline constexpr std::array<const char*, 3> kAlignWords{"left", "center", "right"};

// Reads a colour text ("#RRGGBB") into a colour value (red in the lowest byte); beeps and leaves the
// value alone when the text is no colour. The renderer's colour conversion is the one in use.
using ColourReader = bool (*)(const QByteArray& text, quint32& value, Platform& platform);

// Puts settings that were read from a file into the window: the setting fields of the session, the
// date check box, the edit fields, the picture panes, the colour swatches and the alignment buttons.
// A colour that cannot be read beeps; its swatch keeps the last colour read well (black at first).
void putSettings(TemplateControls& controls, TemplateSession& session, const TemplateSettings& settings,
                 Platform& platform, ColourReader readColour);

// The settings as the window holds them now: texts from the edit fields, the rest from the session,
// DateOn and Layout from the check boxes.
TemplateSettings collectSettings(const TemplateControls& controls, const TemplateSession& session);

// The text of a one-line field as stored text: line breaks that came in by pasting become blanks.
QByteArray fieldText(const QLineEdit* edit);
void setFieldText(QLineEdit* edit, const QByteArray& stored);

// The picture pane target for a stored picture path: the copy in the images folder.
QString picturePaneTarget(const Folders& folders, const QByteArray& storedPath);

// A colour value (red in the lowest byte) as a Qt colour, and back.
QColor toQColor(quint32 colourValue);
quint32 fromQColor(const QColor& colour);
// Paints a swatch in a colour value (red in the lowest byte).
void paintSwatch(QFrame* swatch, quint32 colourValue);

// Selects a page from code. Only a tab the user selects runs the page's command, so this one runs
// nothing.
void selectPage(TemplateControls& controls, int index);

// Enables the date text and date display when the date line is on.
void applyDateState(TemplateControls& controls);

}  // namespace zw

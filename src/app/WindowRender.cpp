#include "app/WindowRender.h"

#include <QLineEdit>

#include "template/ui/SettingsView.h"

namespace zw {

RenderInput renderInputFromWindow(const TemplateControls& c, const TemplateSession& session) {
    RenderInput in = renderInputFromSettings(collectSettings(c, session), fieldText(c.DateAnzeigeEdit),
                                             session.folders.program, session.folders.images);
    in.dateText = session.settings.DateText;  // the setting as last read, not the field
    return in;
}

}  // namespace zw

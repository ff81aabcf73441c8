#include "app/WindowRender.h"

#include <QCheckBox>
#include <QLineEdit>

#include "template/ui/SettingsView.h"

namespace zw {

RenderInput renderInputFromWindow(const TemplateControls& c, const TemplateSession& session) {
    const TemplateSettings& s = session.settings;
    RenderInput in;
    in.subject = fieldText(c.BetreffEdit);
    in.titel1 = fieldText(c.Titel1Edit);
    in.titel2 = fieldText(c.Titel2Edit);
    in.dateOn = c.DateCheckBox->isChecked();
    in.dateText = s.DateText;  // the setting as last read, not the field
    in.dateDisplay = fieldText(c.DateAnzeigeEdit);
    in.kopfLogo = s.KopfLogo;
    in.seperatorNews = s.SeperatorNews;
    in.seperatorImpressum = s.SeperatorImpressum;
    in.logoAlign = s.LogoAlign;
    in.seperatorAlign = s.SeperatorAlign;
    in.impressumAlign = s.ImpressumAlign;
    in.textColor = s.TextColor;
    in.linkColor = s.LinkColor;
    in.bkgColor = s.BKGColor;
    in.impressumText = fieldText(c.ImpressumEdit);
    in.impressumMailTo = fieldText(c.ImpressumMailToEdit);
    in.impressumUrl = fieldText(c.ImpressumURLEdit);
    in.unsubscribeText = fieldText(c.UnsubScribeTextEdit);
    in.unsubscribeLink = fieldText(c.UnsubScribeLinkEdit);
    in.workFolder = session.folders.program;
    in.imagesFolder = session.folders.images;
    return in;
}

}  // namespace zw

#include "render/RenderInput.h"

namespace zw {

RenderInput renderInputFromSettings(const TemplateSettings& settings, const QByteArray& dateDisplay,
                                    const QString& workFolder, const QString& imagesFolder) {
    RenderInput input;
    input.subject = settings.Berteff;
    input.titel1 = settings.Titel1;
    input.titel2 = settings.Titel2;
    input.dateOn = settings.dateOn();
    input.dateText = settings.DateText;
    input.dateDisplay = dateDisplay;
    input.kopfLogo = settings.KopfLogo;
    input.seperatorNews = settings.SeperatorNews;
    input.seperatorImpressum = settings.SeperatorImpressum;
    input.logoAlign = settings.LogoAlign;
    input.seperatorAlign = settings.SeperatorAlign;
    input.impressumAlign = settings.ImpressumAlign;
    input.textColor = settings.TextColor;
    input.linkColor = settings.LinkColor;
    input.bkgColor = settings.BKGColor;
    input.impressumText = settings.ImpressumText;
    input.impressumMailTo = settings.ImpressumMailTo;
    input.impressumUrl = settings.ImpressumURL;
    input.unsubscribeText = settings.UnsubscribeText;
    input.unsubscribeLink = settings.UnsubscribeLink;
    input.mobileLayout = settings.mobileLayout();
    input.vorschautext = settings.Vorschautext;
    input.workFolder = workFolder;
    input.imagesFolder = imagesFolder;
    return input;
}

}  // namespace zw

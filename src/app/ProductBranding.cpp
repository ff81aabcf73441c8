#include "app/ProductBranding.h"

#include "template/Session.h"
#include "template/TemplateFiles.h"

namespace zw {

ProductBranding ProductBranding::load(const Folders& folders) {
    ProductBranding branding;
    // Without "Ver.ini" the version is simply unknown; that is no reason to refuse to start.
    branding.versionText = readVersionText(folders);
    if (branding.versionText.isEmpty())
        branding.versionText = QStringLiteral("Version unbekannt");
    return branding;
}

}  // namespace zw

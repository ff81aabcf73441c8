#include "template/Session.h"

#include "platform/Platform.h"

namespace zw {

Folders Folders::derive(const QString& programFolder, const QString& documentsFolder) {
    Folders f;
    f.program = withTrailingSeparator(programFolder);
    f.images = f.program + QStringLiteral("Images/");
    f.templates = f.program + QStringLiteral("Vorlagen/");
    f.documents = withTrailingSeparator(documentsFolder);
    return f;
}

}  // namespace zw

#include "editing/PictureNames.h"

namespace zw {

PictureNames pictureNames(const QString& chosenPath, const QString& imagesFolder) {
    const qsizetype slash = chosenPath.lastIndexOf(u'/');
    const QString chosenName = chosenPath.mid(slash + 1);
    // The extension is what follows the last dot; a name that only starts with a dot has none.
    const qsizetype dot = chosenName.lastIndexOf(u'.');
    QString base = dot > 0 ? chosenName.left(dot) : chosenName;
    base.replace(u'.', u'_');

    PictureNames names;
    names.copyName = base + QStringLiteral(".jpg");
    names.copyPath = imagesFolder + names.copyName;
    names.workPath = names.copyPath + QStringLiteral(".part");
    names.storedPath = names.copyName == chosenName ? chosenPath : names.copyPath;
    return names;
}

}  // namespace zw

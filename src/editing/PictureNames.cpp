#include "editing/PictureNames.h"

#include <algorithm>

#include "platform/FileIo.h"

namespace zw {

namespace {

// A line break would split the stored line of the template file.
bool isControl(QChar c) {
    return c.unicode() < 0x20;
}

// Characters the copy's name cannot keep. Inner dots would give the renderer another extension word;
// ":" and "\" end a file-name part in a stored path as "/" does, so the renderer would look for only the
// rest of the name; a quote or "<" ">" would end the picture's reference in the message early. "*", "?"
// and "|" are not allowed in Windows file names, where the same template may be opened.
bool unfitForCopyName(QChar c) {
    return isControl(c) || QStringView(u".:\\\"<>*?|").contains(c);
}

}  // namespace

PictureNames pictureNames(const QString& chosenPath, const QString& imagesFolder, bool chosenIsJpeg) {
    const qsizetype slash = chosenPath.lastIndexOf(u'/');
    const QString chosenName = chosenPath.mid(slash + 1);
    // The extension is what follows the last dot; a name that only starts with a dot has none.
    const qsizetype dot = chosenName.lastIndexOf(u'.');
    QString base = dot > 0 ? chosenName.left(dot) : chosenName;
    for (QChar& c : base)
        if (unfitForCopyName(c))
            c = u'_';

    PictureNames names;
    names.copyName = base + QStringLiteral(".jpg");
    names.copyPath = imagesFolder + names.copyName;
    names.workPath = names.copyPath + QLatin1String(kInterruptedWriteSuffix);
    const bool storable = std::none_of(chosenPath.begin(), chosenPath.end(), isControl);
    names.storedPath = names.copyName == chosenName && storable && chosenIsJpeg ? chosenPath : names.copyPath;
    return names;
}

}  // namespace zw

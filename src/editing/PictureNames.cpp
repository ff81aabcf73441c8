#include "editing/PictureNames.h"

#include <QFileInfo>

#include <algorithm>

#include "platform/FileIo.h"
#include "platform/Text.h"

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

// Windows, where the same template may be opened, does not tell "Logo.jpg" from "logo.JPG".
bool names(const QByteArray& stored, const QString& name) {
    return !stored.isEmpty() && fileNamePart(pathFromStored(stored)).compare(name, Qt::CaseInsensitive) == 0;
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

namespace {
bool usedBy(const QList<QByteArray>& pictures, const QString& name) {
    return std::any_of(pictures.begin(), pictures.end(), [&name](const QByteArray& stored) { return names(stored, name); });
}
}  // namespace

bool copyMayBeShared(const PictureNames& chosen, const QString& chosenPath, const QList<QByteArray>& otherPictures,
                     const QByteArray& shownNow) {
    const QFileInfo existing(chosen.copyPath);
    if (!existing.exists())
        return false;
    const bool itself = existing.canonicalFilePath() == QFileInfo(chosenPath).canonicalFilePath();
    return usedBy(otherPictures, chosen.copyName) || (!itself && !names(shownNow, chosen.copyName));
}

PictureNames unsharedNames(const PictureNames& chosen, const QString& imagesFolder,
                           const QList<QByteArray>& otherPictures) {
    const QString base = chosen.copyName.chopped(4);  // without ".jpg"
    for (int n = 2;; ++n) {
        const QString name = QStringLiteral("%1_%2.jpg").arg(base).arg(n);
        if (QFileInfo::exists(imagesFolder + name) || usedBy(otherPictures, name))
            continue;
        PictureNames fresh = chosen;
        fresh.copyName = name;
        fresh.copyPath = imagesFolder + name;
        fresh.storedPath = fresh.copyPath;
        return fresh;
    }
}

}  // namespace zw

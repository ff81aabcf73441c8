#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zw {

// Where a chosen picture goes. The copy's name is the chosen base name with its inner dots (and the
// ":", "\" and control characters a Linux name may hold) turned into "_" and the extension ".jpg", so
// that the renderer reads "jpg" from it whatever the chosen file was called. The stored path is the
// chosen path when the copy has the chosen file's own name; otherwise the copy's path, so that a stored
// path never names a file that is not there, or another file beside it ("Logo.jpg" next to "Logo.JPG").
// A picture of another kind than JPEG always stores the copy's path: the chosen file, even a PNG named
// "Logo.jpg", is not the JPEG the message sends.
struct PictureNames {
    QString copyName;    // "Foto_neu.jpg"
    QString copyPath;    // imagesFolder + copyName
    QString workPath;    // the file the copy is made in before it replaces the copy in one step
    QString storedPath;  // what the setting or the block stores
};

PictureNames pictureNames(const QString& chosenPath, const QString& imagesFolder, bool chosenIsJpeg = true);

// Whether writing the copy under its name could change a picture something else shows: a file of that
// name lies in the pictures folder and another block or setting uses it (otherPictures: their stored
// paths), or it is not the chosen file itself and not what the picture being replaced shows now
// (shownNow). Such a copy keeps its name only when it comes out byte for byte as the file there.
bool copyMayBeShared(const PictureNames& names, const QString& chosenPath, const QList<QByteArray>& otherPictures,
                     const QByteArray& shownNow);
// The same names with the first free copy name "Foto_2.jpg", "Foto_3.jpg", ... (no file there, used by
// nothing), stored under the copy's path; the work file stays where it is.
PictureNames unsharedNames(const PictureNames& names, const QString& imagesFolder,
                           const QList<QByteArray>& otherPictures);

}  // namespace zw

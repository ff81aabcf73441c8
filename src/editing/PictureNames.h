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

// The names for a copy that changes no picture something else shows. A file of the copy's name that
// already lies in the pictures folder keeps its content when another block or setting uses it
// (otherPictures: their stored paths), or when it is not the chosen file itself and not what the picture
// being replaced shows now (shownNow); the copy then takes the first free name "Foto_2.jpg", "Foto_3.jpg",
// ... and is stored under that path.
PictureNames unsharedPictureNames(const QString& chosenPath, const QString& imagesFolder, bool chosenIsJpeg,
                                  const QList<QByteArray>& otherPictures, const QByteArray& shownNow);

}  // namespace zw

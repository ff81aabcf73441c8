#include "editing/ui/PicturePreview.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>

#include "editing/PictureKinds.h"
#include "editing/PicturePipeline.h"
#include "platform/FileIo.h"
#include "template/ui/PicturePane.h"
#include "template/ui/WaitCursor.h"

namespace zw {

namespace {
// Larger than the dialog's pane ever gets.
constexpr int kPreviewSide = 480;
}  // namespace

void showChosenPicture(PicturePane& pane, const QString& path) {
    if (!QFileInfo(path).isFile()) {
        pane.navigate(kAboutBlank);
        return;
    }
    QFile file(path);
    const PictureKind kind = pictureKind(file.open(QIODevice::ReadOnly) ? file.read(256) : QByteArray());
    if (kind != PictureKind::Heif && kind != PictureKind::WebP) {
        pane.navigate(path);
        return;
    }
    QImage picture;
    try {
        WaitCursor wait;
        picture = QImage::fromData(previewPicture(readFile(path), kPreviewSide), "JPG");
    } catch (...) {
        // Shown as not found, whatever went wrong (a picture too large for the memory, too): choosing it
        // says what is wrong. Nothing may leave this handler of the dialog's selection.
    }
    pane.showPicture(path, picture);
}

}  // namespace zw

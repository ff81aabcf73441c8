#include "template/ui/PicturePane.h"

#include <QFileInfo>
#include <QImageReader>
#include <QResizeEvent>

namespace zw {

namespace {

// Pictures of many megapixels are decoded no larger than this on either side: more than the pane can
// ever show.
constexpr int kLargestDecodedSide = 1600;

}  // namespace

PicturePane::PicturePane(QWidget* parent) : QLabel(parent) {
    setAlignment(Qt::AlignCenter);
    setMinimumSize(60, 40);
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    navigate(kAboutBlank);
}

void PicturePane::navigate(const QString& target) {
    // Every write back shows the settings again; the same unchanged file is not decoded again.
    const QFileInfo info(target);
    const QDateTime stamp = info.exists() ? info.lastModified() : QDateTime();
    if (target == requested_ && stamp == stamp_ && info.size() == size_)
        return;
    requested_ = target;
    stamp_ = stamp;
    size_ = info.size();

    target_ = target;
    picture_ = QPixmap();
    if (target.endsWith(u'/'))
        target_ = kAboutBlank;  // an empty picture setting names only the folder
    if (target_ != kAboutBlank && !target_.isEmpty()) {
        QImageReader reader(target);
        reader.setAutoTransform(true);
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > kLargestDecodedSide || size.height() > kLargestDecodedSide))
            reader.setScaledSize(size.scaled(kLargestDecodedSide, kLargestDecodedSide, Qt::KeepAspectRatio));
        const QImage image = reader.read();
        if (!image.isNull())
            picture_ = QPixmap::fromImage(image);
    }
    refresh();
}

void PicturePane::showPicture(const QString& target, const QImage& picture) {
    requested_.clear();  // the next navigate() decodes again
    target_ = target;
    picture_ = QPixmap::fromImage(picture);
    refresh();
}

void PicturePane::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    refresh();
}

void PicturePane::refresh() {
    if (target_ == kAboutBlank || target_.isEmpty()) {
        setPixmap(QPixmap());
        setText(QString());
        return;
    }
    if (picture_.isNull()) {
        setPixmap(QPixmap());
        setText(tr("Bild nicht gefunden"));
        setToolTip(target_);
        return;
    }
    setToolTip(target_);
    const QSize room = contentsRect().size();
    if (picture_.width() <= room.width() && picture_.height() <= room.height())
        setPixmap(picture_);
    else
        setPixmap(picture_.scaled(room, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

}  // namespace zw

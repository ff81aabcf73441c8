#include "dispatch/ui/HelpWindows.h"

#include <QLabel>

namespace zw {

QLabel* noticePicture(const QString& picturePath, QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap(picturePath));
    image->setAccessibleName(QStringLiteral("Bild"));
    return image;
}

}  // namespace zw

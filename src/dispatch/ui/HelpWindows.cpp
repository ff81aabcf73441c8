#include "dispatch/ui/HelpWindows.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>

namespace zw {

QLabel* noticePicture(const QString& picturePath, QWidget* parent) {
    auto* image = new QLabel(parent);
    image->setObjectName(QStringLiteral("Image1"));
    image->setPixmap(QPixmap(picturePath));
    image->setAccessibleName(QStringLiteral("Bild"));
    return image;
}

void centreOnScreen(QWidget* window) {
    window->adjustSize();
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace zw

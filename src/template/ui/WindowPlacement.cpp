#include "template/ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace zw {

void centreOnScreen(QWidget* window) {
    window->adjustSize();
    const QWidget* parent = window->parentWidget();
    const QScreen* screen = parent ? parent->window()->screen() : window->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

}  // namespace zw

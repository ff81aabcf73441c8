#include "app/InputGuards.h"

#include <QComboBox>
#include <QKeyEvent>

namespace zw {

namespace {

class WheelBlocker : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Wheel; }
};

class ListChoicesOnly : public WheelBlocker {
public:
    using WheelBlocker::WheelBlocker;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return WheelBlocker::eventFilter(watched, event);
        const auto* key = static_cast<const QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
                return !(key->modifiers() & Qt::AltModifier);
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
            case Qt::Key_Home:
            case Qt::Key_End:
                return true;
            default:
                return !key->text().isEmpty() && key->text().at(0).isPrint() && key->key() != Qt::Key_Space;
        }
    }
};

}  // namespace

void ignoreWheel(QWidget* widget) {
    widget->installEventFilter(new WheelBlocker(widget));
}

void acceptListChoicesOnly(QComboBox* box) {
    box->installEventFilter(new ListChoicesOnly(box));
}

}  // namespace zw

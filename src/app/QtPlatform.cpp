#include "app/QtPlatform.h"

#include <QApplication>

namespace zw {

void QtPlatform::beep() {
    QApplication::beep();
}

}  // namespace zw

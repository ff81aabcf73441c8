#pragma once

#include <QGuiApplication>

namespace zw {

// Shows the hourglass while a long file operation runs, and the normal cursor again afterwards,
// also when the operation ends with an error.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace zw

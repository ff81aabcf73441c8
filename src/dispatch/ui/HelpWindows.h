#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace zw {

// The picture at the top left of the small windows, at its own size; a missing picture leaves the
// place empty.
QLabel* noticePicture(const QString& picturePath, QWidget* parent);

}  // namespace zw

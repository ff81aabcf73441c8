#pragma once

class QWidget;

namespace zw {

// Gives the window's menu commands their icons, taken from the desktop's icon theme where it has one,
// otherwise from the style. Commands are known by their captions; one that already has an icon keeps it.
void applyMenuIcons(QWidget* window);

}  // namespace zw

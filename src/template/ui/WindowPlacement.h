#pragma once

class QWidget;

namespace zw {

// Places a window, frame included, at the centre of the available area of its parent window's screen
// (its own screen when it has no parent, the primary screen when it has none yet).
void centreOnScreen(QWidget* window);

}  // namespace zw

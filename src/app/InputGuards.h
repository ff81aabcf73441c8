#pragma once

class QComboBox;
class QWidget;

namespace zw {

// Turning the mouse wheel over the tabs would step through them, and pages 4 to 6 are commands: a
// preview, a mail, the serial-mail program. Only a click or a key selects a page.
void ignoreWheel(QWidget* widget);

// The size box acts on every entry chosen, so only a choice from its open list may choose one: the
// wheel, the arrow keys and typed letters on the closed box would wrap the selection at once. The list
// opens with a click, F4, Space or Alt+Down.
void acceptListChoicesOnly(QComboBox* box);

}  // namespace zw

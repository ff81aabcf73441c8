#pragma once

#include <QIcon>

namespace zw {

enum class ToolIcon { Bold, Italic, Underline, Bullet, Link, Undo };

// The icons of the news-text tool bar, drawn here so that they look the same on every desktop theme.
QIcon toolIcon(ToolIcon which);

}  // namespace zw

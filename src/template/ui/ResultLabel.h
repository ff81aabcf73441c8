#pragma once

#include <QString>

class QLabel;

namespace zw {

// A label that shows a result, a count or a warning. A screen reader reads what it shows (as the
// label's name, with the change told to it whenever the text changes) and the caption as its
// description; while it shows nothing, the caption is its name.
void showsResult(QLabel* label, const QString& caption);

}  // namespace zw

#pragma once

#include <QString>

namespace zw {
class TMainForm;
}

// The pictures of the help page "Versand", drawn with the window's template. The campaigns are made
// in the window's program folder; nothing is sent anywhere.
void drawSendingShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out);

#pragma once

#include <QString>

namespace zw {
class Prompts;
class TMainForm;
}  // namespace zw

// The pictures of the help page "Versand", drawn with the window's template. Campaigns are made in
// programFolder; nothing is sent anywhere.
void drawSendingShots(zw::TMainForm& form, zw::Prompts& prompts, const QString& scratchFolder, const QString& out);

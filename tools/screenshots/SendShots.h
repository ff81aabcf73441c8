#pragma once

#include <QString>

#include "send/SenderProfile.h"

namespace zw {
class TMainForm;
}

// The sender the pictures show: a club at GMX.
zw::send::SenderProfile sampleSender();

// The pictures of the help page "Versand", drawn with the window's template. The campaigns are made
// in the window's program folder; nothing is sent anywhere.
void drawSendingShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out);

// The pictures of the personal fields: the field menu, the preview for one recipient and the check
// page naming the fields.
void drawFieldShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out);

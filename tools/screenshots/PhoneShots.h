#pragma once

#include <QString>

#include "platform/Prompts.h"

// The phone layout at a phone's width in the preview's own web view: a news text with a long pasted
// link, and the same message as a mail app shows it before the reader lets its pictures load.
void drawPhoneShots(const QString& data, const QString& work, const QString& out, zw::Prompts& prompts);

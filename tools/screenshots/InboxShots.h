#pragma once

#include <QString>

// The pictures of the help page "Rückläufer und Abmeldungen": the incoming server, the review of a
// check and the block list. Drawn from sample findings; no server is asked.
void drawInboxShots(const QString& scratchFolder, const QString& out);

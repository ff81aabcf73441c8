#pragma once

#include <QString>

namespace zw {
class TMainForm;
}

// The pictures of the help page "Rückläufer und Abmeldungen": the incoming server, the review of a
// check and the block list. Drawn from sample findings; no server is asked.
// The check page of "Newsletter versenden…" shows the addresses the block list leaves out.
void drawInboxShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out);

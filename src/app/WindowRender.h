#pragma once

#include "render/RenderInput.h"
#include "template/Session.h"
#include "template/ui/TemplateControls.h"

namespace zw {

// What the renderer reads from the window: the texts of the fields, the setting fields, the state of
// the date check box and the date display. The block edit files lie in the program folder.
RenderInput renderInputFromWindow(const TemplateControls& controls, const TemplateSession& session);

}  // namespace zw

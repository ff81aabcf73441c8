#pragma once

#include <QString>

#include "platform/Prompts.h"
#include "render/RenderInput.h"
#include "send/OutgoingMessage.h"

namespace zw::send {

// Renders the newsletter into target, as save and preview do (RenderMessage), and takes it up as the
// message a sending sends, with the template's unsubscribe link as stored (OutgoingMessage makes the
// List-Unsubscribe address of it). The personal fields stay as markers in target, for OutgoingMessage
// to fill in per recipient. Throws zw::Error (German) as the rendering does.
Newsletter renderNewsletter(const RenderInput& input, const QString& target, Prompts& prompts);

}  // namespace zw::send

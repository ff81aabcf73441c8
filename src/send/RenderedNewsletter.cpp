#include "send/RenderedNewsletter.h"

#include "platform/FileIo.h"
#include "render/RenderMessage.h"

namespace zw::send {

Newsletter renderNewsletter(const RenderInput& input, const QString& target, Prompts& prompts) {
    RenderInput personal = input;
    personal.keepFields = true;
    RenderMessage(personal, target, prompts);
    return {readFile(target), input.unsubscribeLink, TemplateFields(input)};
}

}  // namespace zw::send

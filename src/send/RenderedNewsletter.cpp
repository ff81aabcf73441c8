#include "send/RenderedNewsletter.h"

#include "platform/FileIo.h"
#include "render/RenderMessage.h"

namespace zw::send {

Newsletter renderNewsletter(const RenderInput& input, const QString& target, Prompts& prompts) {
    RenderMessage(input, target, prompts);
    return {readFile(target), input.unsubscribeLink};
}

}  // namespace zw::send

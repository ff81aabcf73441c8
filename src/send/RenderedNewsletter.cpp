#include "send/RenderedNewsletter.h"

#include "platform/FileIo.h"
#include "platform/Text.h"
#include "render/RenderMessage.h"
#include "render/TextConversion.h"

namespace zw::send {

QByteArray unsubscribeLinkOf(const RenderInput& input) {
    if (trimmed8(input.unsubscribeText).isEmpty() || trimmed8(input.unsubscribeLink).isEmpty())
        return {};
    // The rendering has reported a doubtful address already; this second look says nothing.
    SilentPrompts silent;
    QByteArray link = NormalizeLink(input.unsubscribeLink, silent);
    // An address without "@" is a web address, whose every "=" became "=3D" for the HTML part: undone
    // from the left, that gives back the address as typed.
    if (!input.unsubscribeLink.contains('@'))
        link.replace("=3D", "=");
    return link;
}

Newsletter renderNewsletter(const RenderInput& input, const QString& target, Prompts& prompts) {
    RenderMessage(input, target, prompts);
    return {readFile(target), unsubscribeLinkOf(input)};
}

}  // namespace zw::send

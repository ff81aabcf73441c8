#include "platform/Text.h"
#include "render/MessageTexts.h"
#include "render/RenderMessage.h"
#include "render/TextConversion.h"

namespace zw {

using namespace texts;

// The plain-text part shows the same texts as the HTML part, markup included, one per line; free
// lines hold a blank so that no mail program takes an empty line for the end of something.
void AddPlainTextPart(RenderContext& context) {
    const RenderInput& input = context.input;
    MessageLines& out = context.lines;
    out.append(kPlainFreeLine);
    out.append(kPlainFreeLine);
    out.append(input.titel1);
    out.append(input.titel2);
    if (input.dateOn)
        out.append(trimmed8(input.dateText) + ' ' + input.dateDisplay);
    for (const NewsBlock& block : context.blocks) {
        out.append(kPlainFreeLine);
        out.append(block.Headline);
        out.append(kPlainFreeLine);
        out.append(block.Text);
        out.append(kPlainFreeLine);
        if (!block.LinkUrl.isEmpty()) {
            out.append(block.LinkText);
            out.append(NormalizeLink(block.LinkUrl, context.prompts));
            out.append(kPlainFreeLine);
        }
    }
    out.append(kPlainFreeLine);
    out.append(kPlainImprint);
    out.append(kPlainFreeLine);
    out.append(input.impressumText);
    out.append(input.impressumMailTo);
    out.append(input.impressumUrl);
}

}  // namespace zw

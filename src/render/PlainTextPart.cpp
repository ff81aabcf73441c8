#include "platform/Text.h"
#include "render/MessageTexts.h"
#include "render/PhoneLayout.h"
#include "render/RenderMessage.h"
#include "render/TextConversion.h"

namespace zw {

using namespace texts;

// The classic plain-text part shows the same texts as the HTML part, markup included, one per line; free
// lines hold a blank so that no mail program takes an empty line for the end of something.
void AddPlainTextPart(RenderContext& context) {
    const RenderInput& input = context.input;
    if (input.mobileLayout) {
        AddPhonePlainText(context);
        return;
    }
    MessageLines& out = context.lines;
    // The part is quoted-printable: an "=" of a user text must reach the reader as typed.
    const auto text = [&out](const QByteArray& userText) { out.append(EscapeEquals(userText)); };
    out.append(kPlainFreeLine);
    out.append(kPlainFreeLine);
    text(input.titel1);
    text(input.titel2);
    if (input.dateOn)
        text(trimmed8(input.dateText) + ' ' + input.dateDisplay);
    for (const NewsBlock& block : context.blocks) {
        out.append(kPlainFreeLine);
        text(block.Headline);
        out.append(kPlainFreeLine);
        text(block.Text);
        out.append(kPlainFreeLine);
        if (!block.LinkUrl.isEmpty()) {
            text(block.LinkText);
            text(NormalizeLink(block.LinkUrl, context.prompts));
            out.append(kPlainFreeLine);
        }
    }
    out.append(kPlainFreeLine);
    out.append(kPlainImprint);
    out.append(kPlainFreeLine);
    text(input.impressumText);
    text(input.impressumMailTo);
    text(input.impressumUrl);
}

}  // namespace zw

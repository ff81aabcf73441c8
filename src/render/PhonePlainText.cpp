// The plain-text part of the phone layout: what text-only readers, watches, the inbox line of many mail
// programs and spam filters read, so the text as a person reads it, not the HTML part's markup.
#include "platform/Text.h"
#include "render/MarkupText.h"
#include "render/MessageTexts.h"
#include "render/PhoneLayout.h"

namespace zw {

using namespace texts;

namespace {

class PlainLines {
public:
    explicit PlainLines(MessageLines& out) : out_(out) {}

    // Each line of a stored text with markup, wrapped.
    void markup(const QByteArray& stored) {
        for (const QByteArray& line : MarkupToPlainLines(stored)) text(line);
    }

    // A decoded line, wrapped.
    void text(const QByteArray& line) {
        for (const QByteArray& piece : FlowedLines(line)) out_.append(piece);
        empty_ = line.isEmpty();
    }

    // "Text: address", or the address alone.
    void link(const QByteArray& storedText, const QByteArray& address) {
        const QByteArray shown = MarkupToPlainLines(storedText).join(' ');
        text(shown.isEmpty() ? PlainAddress(address) : shown + ": " + PlainAddress(address));
    }

    // One empty line between two parts, however many parts are empty.
    void gap() {
        if (!empty_)
            out_.append("");
        empty_ = true;
    }

private:
    MessageLines& out_;
    bool empty_ = true;
};

}  // namespace

void AddPhonePlainText(RenderContext& context) {
    const RenderInput& in = context.input;
    PlainLines plain(context.lines);
    // The preview text opens the part: mail programs that take their inbox line from it show it there,
    // as typed.
    if (!trimmedBlanks(in.vorschautext).isEmpty()) {
        plain.text(trimmedBlanks(in.vorschautext));
        plain.gap();
    }
    plain.markup(in.titel1);
    plain.markup(in.titel2);
    if (in.dateOn) {
        plain.gap();
        plain.text(trimmed8(in.dateText) + ' ' + in.dateDisplay);
    }
    for (const NewsBlock& block : context.blocks) {
        plain.gap();
        plain.markup(block.Headline);
        plain.gap();
        plain.markup(block.Text);
        if (!trimmed8(block.LinkUrl).isEmpty()) {
            plain.gap();
            plain.link(block.LinkText, block.LinkUrl);
        }
    }
    plain.gap();
    plain.text(kPlainImprint);
    plain.markup(in.impressumText);
    for (const QByteArray* address : {&in.impressumMailTo, &in.impressumUrl})
        if (!trimmed8(*address).isEmpty())
            plain.text(PlainAddress(*address));
    if (!trimmed8(in.unsubscribeText).isEmpty() && !trimmed8(in.unsubscribeLink).isEmpty()) {
        plain.gap();
        plain.link(in.unsubscribeText, in.unsubscribeLink);
    }
}

}  // namespace zw

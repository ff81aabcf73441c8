// The personal fields in a rendering: marked before the parts are assembled, filled in after.
#include "render/MessageTexts.h"
#include "render/RenderMessage.h"

namespace zw {

FieldSet MarkTemplateFields(RenderInput& input, QList<NewsBlock>& blocks) {
    FieldSet set;
    // The order fixes the markers' numbers, the same in every rendering of the same texts.
    input.subject = markTextFields(input.subject, set);
    set.subject = input.subject;
    // Texts that go into the HTML as typed may hold markup of their own; the preview text is escaped.
    for (QByteArray* text : {&input.titel1, &input.titel2, &input.impressumText, &input.unsubscribeText})
        *text = markBodyFields(*text, set);
    input.vorschautext = markTextFields(input.vorschautext, set);
    for (QByteArray* link : {&input.impressumMailTo, &input.impressumUrl, &input.unsubscribeLink})
        *link = markLinkFields(*link, set);
    for (NewsBlock& block : blocks) {
        block.Headline = markBodyFields(block.Headline, set);
        block.Text = markBodyFields(block.Text, set);
        block.LinkText = markBodyFields(block.LinkText, set);
        block.LinkUrl = markLinkFields(block.LinkUrl, set);
    }
    return set;
}

FieldSet TemplateFields(const RenderInput& input) {
    RenderInput marked = input;
    QList<NewsBlock> blocks = readRenderBlocks(input.workFolder);
    return MarkTemplateFields(marked, blocks);
}

void FillFields(RenderContext& context, const FieldSet& fields, const RenderInput& typed) {
    if (fields.isEmpty())
        return;
    MessageLines& lines = context.lines;
    // The subject header: as typed while the markers stay (what a list of campaigns shows), otherwise
    // filled in and encoded as any subject.
    const QStringList values = resolveFields(fields, typed.fieldValues ? &*typed.fieldValues : nullptr);
    const QByteArray subject = typed.keepFields && hasMarker(fields.subject)
                                   ? typed.subject
                                   : fillMarkers(fields.subject, fields, values, FieldPlace::Header);
    qsizetype first = 0;
    while (first < lines.count() &&
           !(!lines.isPicture(first) && lines.entry(first).startsWith(texts::kSubject)))
        ++first;
    if (first < lines.count()) {
        qsizetype last = first;
        while (last + 1 < lines.count() && lines.entry(last + 1).startsWith(' ')) ++last;
        const QList<QByteArray> subjectLines = SubjectLines(subject);
        lines.replaceLines(first, last, subjectLines);
        const qsizetype shift = subjectLines.size() - (last - first + 1);
        context.htmlHeaderLine += shift;
        context.firstBase64Line += shift;
    }
    if (typed.keepFields)
        return;
    const qsizetype htmlEnd = context.firstBase64Line < 0 ? lines.count() - 1 : context.firstBase64Line;
    for (qsizetype i = first + 1; i <= htmlEnd; ++i) {
        if (lines.isPicture(i) || !hasMarker(lines.entry(i)))
            continue;
        const FieldPlace place = i < context.htmlHeaderLine ? FieldPlace::Plain : FieldPlace::Html;
        lines.setLine(i, fillMarkers(lines.entry(i), fields, values, place));
    }
}

}  // namespace zw

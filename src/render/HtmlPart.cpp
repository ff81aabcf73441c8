#include "platform/Text.h"
#include "render/MessageTexts.h"
#include "render/PhoneLayout.h"
#include "render/RenderMessage.h"
#include "render/TextConversion.h"

namespace zw {

using namespace texts;

namespace {

// The reference to the next picture: its number, "B_" and the file-name part of its stored path. The
// part is quoted-printable and the Content-ID is not, so every "=" of the name is escaped: decoded, the
// reference is the Content-ID.
QByteArray nextReference(RenderContext& context, const QByteArray& storedPath) {
    return QByteArray::number(++context.PictureCounter) + kReferenceSeparator +
           Check3D(fileNamePart(storedPath));
}

// A text of the template or the fields as the quoted-printable part carries it.
QByteArray qp(const QByteArray& userText) {
    return EscapeEquals(userText);
}

// A link address for an href, normalised and escaped.
QByteArray linked(RenderContext& context, const QByteArray& address) {
    return EscapeEquals(NormalizeLink(address, context.prompts));
}

void addDocumentHead(RenderContext& context) {
    const RenderInput& in = context.input;
    MessageLines& out = context.lines;
    AddHtmlPartHeader(context);
    out.append(kDoctype);
    out.append(kTitleOpen + qp(in.subject) + kTitleClose);
    out.append(kMetaContentType);
    out.append(kMetaHttpEquiv);
    out.append(kMetaTransitional);
    out.append("");
    out.append(kMetaGenerator);
    out.append(kBodyALink + qp(in.linkColor) + kBodyBgColor + qp(in.bkgColor) + kBodyLink + qp(in.linkColor) +
               kBodyVLink + qp(in.linkColor) + kBodyEnd);
    const QByteArray preheader = PreheaderLine(in.vorschautext);
    if (!preheader.isEmpty())
        out.append(preheader);
    out.append(kOuterTable);
    out.append(kRowOpen);
    out.append(kCellMiddle);
    out.append("");
    out.append(kTable600);
    out.append("");
}

void addHeadLogoRow(RenderContext& context) {
    const RenderInput& in = context.input;
    MessageLines& out = context.lines;
    out.append(kRowOpen);
    out.append(kCellOpen);
    out.append(kTable600);
    out.append(kLogoDivOpen + qp(asciiLower(in.logoAlign)) + kAttributeEnd);
    // The whole reference stays on the line of its "cid:": a src value cut by a hard line break is
    // not found by every mail program.
    out.append(kLogoImage + nextReference(context, in.kopfLogo) + kAttributeEnd);
    out.append(kLogoRowEnd);
    out.append(kTableClose);
    out.append(kCellClose);
    out.append(kRowClose);
    out.append("");
}

void addTitleRow(RenderContext& context, const QByteArray& textFont) {
    const RenderInput& in = context.input;
    MessageLines& out = context.lines;
    out.append(kRowOpen);
    out.append(kCellOpen);
    out.append(kTable600);
    out.append(kRowOpen);
    out.append(kTitleCell);
    out.append(textFont);
    out.append(qp(in.titel1));
    out.append(kTitle2Open + qp(in.textColor) + kTitle2Size);
    out.append(qp(in.titel2));
    out.append(kTitle2Close);
    if (in.dateOn) {
        out.append(kDateCell);
        out.append(textFont);
        out.append(qp(trimmed8(in.dateText)));
        out.append(kFontClose);
        out.append(textFont);
        out.append(qp(in.dateDisplay));
        out.append(kDateCellClose);
    }
    out.append(kRowClose);
    out.append(kTableClose);
    out.append(kCellClose);
    out.append(kRowClose);
}

void addBlock(RenderContext& context, const NewsBlock& block) {
    const RenderInput& in = context.input;
    MessageLines& out = context.lines;
    out.append("");
    out.append(kRowOpen);
    out.append(kCellOpen);
    out.append(kDivAlignOpen + qp(asciiUpper(in.seperatorAlign)) + kAttributeEnd);
    out.append(kSeparatorImage + nextReference(context, in.seperatorNews) + kSeparatorImageEnd);
    out.append(kTable600);
    out.append(kRowOpen);
    if (!block.Picture.isEmpty()) {
        if (!block.LinkUrl.isEmpty()) {
            out.append(kPictureCellLinked);
            out.append(linked(context, block.LinkUrl));
            out.append(kPictureLinkedImage + nextReference(context, block.Picture) + kPictureLinkedEnd);
        } else {
            out.append(kPictureCell + nextReference(context, block.Picture) + kPictureEnd);
        }
    }
    out.append(kTextCell + qp(in.textColor) + kFontSize);
    out.append(qp(block.Headline));
    out.append(kHeadlineEnd + qp(in.textColor) + kFontSize);
    out.append(qp(block.Text));
    out.append(kTextEnd);
    if (!block.LinkText.isEmpty() && !block.LinkUrl.isEmpty()) {
        out.append(kLinkOpen);
        out.append(linked(context, block.LinkUrl));
        out.append(kTextLinkFont + qp(in.linkColor) + kFontSize);
        out.append(qp(block.LinkText));
        out.append(kTextLinkClose);
    }
    out.append(kCellClose);
    out.append(kRowClose);
    out.append(kTableClose);
    out.append("");
}

void addImprintRow(RenderContext& context, const QByteArray& linkFont) {
    const RenderInput& in = context.input;
    MessageLines& out = context.lines;
    out.append("");
    out.append(kRowOpen);
    out.append(kCellOpen);
    out.append(kBreak);
    out.append(kDivAlignOpen + qp(asciiUpper(in.impressumAlign)) + kAttributeEnd);
    out.append(kImprintImage + nextReference(context, in.seperatorImpressum) + kImprintImageEnd);
    out.append(kTable600);
    out.append(kRowOpen);
    out.append(kImprintCell + qp(in.textColor) + kFontSize);
    out.append(qp(in.impressumText));
    out.append(kMailLinkOpen);
    out.append(qp(in.impressumMailTo));
    out.append(kAttributeEnd);
    out.append(linkFont);
    out.append(qp(in.impressumMailTo));
    const bool unsubscribe =
        !trimmed8(in.unsubscribeText).isEmpty() && !trimmed8(in.unsubscribeLink).isEmpty();
    if (unsubscribe) {
        out.append(kMailLinkCloseLong);
        out.append(linked(context, in.impressumUrl));
        out.append(kAttributeEnd);
        out.append(linkFont);
        out.append(qp(in.impressumUrl));
        out.append(kWebLinkCloseLong);
        out.append(kLinkOpen);
        out.append(linked(context, in.unsubscribeLink));
        out.append(kAttributeEnd);
        out.append(linkFont);
        out.append(qp(in.unsubscribeText));
        out.append(kLastLinkClose);
    } else {
        out.append(kMailLinkCloseShort);
        out.append(kLinkOpen);
        out.append(linked(context, in.impressumUrl));
        out.append(kAttributeEnd);
        out.append(linkFont);
        out.append(qp(in.impressumUrl));
        out.append(kLastLinkClose);
    }
}

void addDocumentEnd(RenderContext& context) {
    for (const char* line : {kRowClose, kTableClose, kRowClose, kRowClose, kTableClose, "", kBodyClose,
                             kHtmlClose, "", "", kAlternativeClose, ""})
        context.lines.append(line);
}

}  // namespace

void AddHtmlPartHeader(RenderContext& context) {
    MessageLines& out = context.lines;
    out.append(kAlternativeDelimiter);
    context.htmlHeaderLine = out.count();
    out.append(kHtmlType);
    out.append(kCharsetParam);
    out.append(kQuotedPrintable);
    out.append("");
}

void AddHtmlPart(RenderContext& context) {
    const RenderInput& in = context.input;
    context.PictureCounter = 0;
    if (in.mobileLayout) {
        AddPhoneHtmlDocument(context);
    } else {
        addDocumentHead(context);
        addHeadLogoRow(context);
        addTitleRow(context, kFontOpen + qp(in.textColor) + kFontSize);
        for (const NewsBlock& block : context.blocks) addBlock(context, block);
        addImprintRow(context, kFontOpen + qp(in.linkColor) + kFontSize);
        addDocumentEnd(context);
    }

    // The picture parts, numbered in the order of the references above.
    context.PictureCounter = 0;
    try {
        AddPicturePart(context, in.kopfLogo, PictureKind::HeadLogo);
        for (const NewsBlock& block : context.blocks) {
            AddPicturePart(context, in.seperatorNews, PictureKind::NewsSeparator);
            if (!block.Picture.isEmpty())
                AddPicturePart(context, block.Picture, PictureKind::BlockPicture);
        }
        AddPicturePart(context, in.seperatorImpressum, PictureKind::ImprintSeparator);
    } catch (...) {
        // A failed rendering leaves the working file of the pictures that it got through; the first
        // error is the one to report.
        try {
            WriteBase64WorkFile(context);
        } catch (...) {
        }
        throw;
    }
    WriteBase64WorkFile(context);
    context.lines.append(kRelatedClose);
}

}  // namespace zw

#include <QHash>

#include "platform/Text.h"
#include "render/MessageTexts.h"
#include "render/PhoneLayout.h"
#include "render/PhoneTexts.h"
#include "render/PictureWidth.h"
#include "render/TextConversion.h"

namespace zw {

using namespace texts;

namespace {

// The pieces of a line, copied once: the many pieces of a phone-layout line, added up with "+", cost
// a reallocation each.
QByteArray joined(std::initializer_list<QByteArrayView> pieces) {
    qsizetype size = 0;
    for (QByteArrayView piece : pieces) size += piece.size();
    QByteArray out;
    out.reserve(size);
    for (QByteArrayView piece : pieces) out.append(piece);
    return out;
}

// Whether a tag's text after its "<" is the named tag, in any case ("LI", "li class=..").
bool startsWithTag(QByteArrayView afterBracket, const char* name) {
    const qsizetype length = qsizetype(qstrlen(name));
    return afterBracket.size() >= length && qstrnicmp(afterBracket.data(), name, length) == 0 &&
           (afterBracket.size() == length || !isalnum(uchar(afterBracket[length])));
}

// The pixel size of a <font> tag's size attribute ("+1", "=3D\"+2\"", "5"), or 0 when it has none.
int fontPixels(const QByteArray& tag) {
    const qsizetype at = asciiLower(tag).indexOf("size=");
    if (at < 0)
        return 0;
    QByteArray value = tag.mid(at + 5);
    if (value.startsWith("3D"))
        value = value.mid(2);
    if (value.startsWith('"') || value.startsWith('\''))
        value = value.mid(1);
    int size = 0;
    if (value.startsWith('+') || value.startsWith('-')) {
        if (value.size() < 2 || !isdigit(uchar(value[1])))
            return 0;
        size = 2 + (value[0] == '+' ? 1 : -1) * (value[1] - '0');
    } else if (!value.isEmpty() && isdigit(uchar(value[0]))) {
        size = value[0] - '0';
    } else {
        return 0;
    }
    return kPhoneFontPixels[qBound(1, size, 7) - 1];
}

// A link colour for an <a> tag the user's text brings, unless the tag has a style of its own.
QByteArray colouredLink(const QByteArray& tag, const QByteArray& linkColor) {
    if (asciiLower(tag).contains("style="))
        return EscapeEquals(tag);
    const qsizetype end = tag.endsWith("/>") ? tag.size() - 2 : tag.size() - 1;
    return EscapeEquals(tag.left(end)) + " style=3D\"color:" + EscapeEquals(linkColor) + "\"" + tag.mid(end);
}

// The font of a text element, its colour last.
QByteArray font(const QByteArray& colour) {
    return kPhoneFont + colour;
}

QByteArray alignment(const QByteArray& stored) {
    const QByteArray lower = asciiLower(trimmed8(stored));
    return lower == "center" || lower == "right" ? lower : QByteArray("left");
}

// The margin that places a picture shown as a block where its cell's alignment would.
QByteArray blockMargin(const QByteArray& align) {
    if (align == "center")
        return "0 auto";
    return align == "right" ? "0 0 0 auto" : "0";
}

class PhoneWriter {
public:
    explicit PhoneWriter(RenderContext& context)
        : context_(context), in_(context.input), out_(context.lines) {}

    void write() {
        head();
        logoRow();
        titleRow();
        for (const NewsBlock& block : context_.blocks) newsBlock(block);
        imprint();
        for (const char* line : {kPhoneTableClose, kMsoContentClose, kPhoneRowEnd, kPhoneTableClose,
                                 kPhoneBodyClose, kPhoneHtmlClose, "", "", kAlternativeClose, ""})
            out_.append(line);
    }

private:
    // The fixed fragments are quoted-printable already, and every user text is escaped as it is put in.
    void line(const QByteArray& html) { out_.append(html); }
    void line(const char* fixed) { out_.append(fixed); }

    QByteArray reference(const QByteArray& storedPath) {
        return joined({QByteArray::number(++context_.PictureCounter), kReferenceSeparator,
                       Check3D(fileNamePart(storedPath))});
    }

    QByteArray linked(const QByteArray& address) {
        return EscapeEquals(NormalizeLink(address, context_.prompts));
    }

    // The width attribute of a picture: its own width, at most the column's. A setting picture is
    // measured at its chosen file and, when that is gone, at the copy an earlier rendering left.
    // A news picture is measured once per rendering, however many blocks show it.
    int width(const QByteArray& storedPath, PictureKind kind, int column) {
        std::optional<int> pixels;
        if (kind == PictureKind::BlockPicture) {
            auto known = blockWidths_.constFind(storedPath);
            if (known == blockWidths_.cend())
                known = blockWidths_.insert(storedPath, PictureWidth(PictureSource(in_, storedPath, kind)));
            pixels = *known;
        } else {
            pixels = PictureWidth(pathFromStored(storedPath));
            if (!pixels)
                pixels = PictureWidth(PictureSource(in_, storedPath, kind));
        }
        return pixels ? std::min(*pixels, column) : column;
    }

    // The parts of an img tag around its reference: the width, the text and the style, whose "%1" is
    // the width again; extra ends the style.
    static QByteArray imageTail(const QByteArray& alt, int pixels, const QByteArray& style,
                                const QByteArray& extra = {}) {
        const QByteArray number = QByteArray::number(pixels);
        return joined({kPhoneImageWidth, number, kPhoneImageAlt, EscapeEquals(AltText(alt)),
                       QByteArray(style).replace("%1", number), extra, kPhoneTagEnd});
    }

    QByteArray image(const QByteArray& storedPath, const QByteArray& tail) {
        return joined({kPhoneImageOpen, reference(storedPath), tail});
    }

    // A row of one picture shown as a block: its opening line and the img tag's tail.
    struct PictureRow {
        QByteArray open, tail;
    };
    PictureRow pictureRow(const QByteArray& storedAlign, const char* padding, const QByteArray& alt,
                          int pixels) const {
        const QByteArray align = alignment(storedAlign);
        return {QByteArray(kPhonePictureRow).replace("%1", align).replace("%2", padding),
                imageTail(alt, pixels, QByteArray(kPhoneImageStyle).replace("%2", blockMargin(align)),
                          AltText(alt).isEmpty() ? QByteArray() : altFont_)};
    }

    void addPictureRow(const QByteArray& storedPath, const PictureRow& row) {
        line(row.open);
        line(image(storedPath, row.tail));
        line(kPhoneRowEnd);
    }

    void head() {
        const QByteArray background = EscapeEquals(in_.bkgColor);
        AddHtmlPartHeader(context_);
        for (const char* fixed : {kPhoneDoctype, kPhoneHtmlOpen, kPhoneHead, kPhoneMetaCharset,
                                  kPhoneMetaViewport, kPhoneMetaColorScheme, kPhoneMetaSupportedSchemes})
            line(fixed);
        line(kPhoneTitleOpen + title() + kPhoneTitleClose);
        line(kPhoneHeadClose);
        line(QByteArray(kPhoneBody).replace("%1", background));
        QByteArray preheader = PreheaderLine(in_.vorschautext);
        if (!preheader.isEmpty()) {
            preheader.insert(preheader.size() - qsizetype(qstrlen(kPreheaderClose)),
                             QByteArray(kPreheaderFiller).repeated(kPreheaderFillerCount));
            out_.append(preheader);
        }
        line(QByteArray(kPhoneWrapper).replace("%1", background));
        line(kPhoneWrapperCell);
        line(kMsoContentOpen);
        line(kPhoneContent);
    }

    // The subject; without one the first header line that has a text, without its markup.
    QByteArray title() const {
        if (!trimmed8(in_.subject).isEmpty())
            return EscapeEquals(in_.subject);
        for (const QByteArray* text : {&in_.titel1, &in_.titel2}) {
            const QByteArray shown = AltText(*text);
            if (!shown.isEmpty())
                return EscapeEquals(shown);
        }
        return kPhoneFallbackTitle;
    }

    void logoRow() {
        addPictureRow(in_.kopfLogo,
                      pictureRow(in_.logoAlign, "0", in_.titel1,
                                 width(in_.kopfLogo, PictureKind::HeadLogo, kPhoneContentWidth)));
    }

    void titleRow() {
        const QByteArray colour = EscapeEquals(in_.textColor);
        line(kPhoneTitleCell);
        if (in_.dateOn)
            line(kPhoneDate + font(colour) + kPhoneTagEnd + EscapeEquals(trimmed8(in_.dateText)) + ' ' +
                 EscapeEquals(in_.dateDisplay) + kPhoneParagraphClose);
        // An empty heading is read out as "heading" and nothing else.
        if (!trimmed8(in_.titel1).isEmpty())
            line(kPhoneTitle + font(colour) + kPhoneTagEnd + EscapeEquals(in_.titel1) + kPhoneTitleEnd);
        if (!trimmed8(in_.titel2).isEmpty())
            line(kPhoneTitle2 + font(colour) + kPhoneTagEnd + EscapeEquals(in_.titel2) +
                 kPhoneParagraphClose);
        line(kPhoneRowEnd);
    }

    void newsBlock(const NewsBlock& block) {
        out_.append("");
        addPictureRow(in_.seperatorNews, separatorRow_);
        line(kPhoneColumnsCell);
        if (!block.Picture.isEmpty()) {
            line(kMsoColumnsOpen);
            line(kPhonePictureColumn);
            line(kPhoneColumnTable);
            line(pictureCell_);
            const int pixels = width(block.Picture, PictureKind::BlockPicture, kPhonePictureWidth);
            if (!block.LinkUrl.isEmpty()) {
                // A linked picture is all its link says: its text names where it leads. One line: a line
                // break inside the link would be an underlined blank beside the picture.
                const QByteArray name = !trimmed8(block.Headline).isEmpty()   ? block.Headline
                                        : !trimmed8(block.LinkText).isEmpty() ? block.LinkText
                                                                              : block.LinkUrl;
                line(joined({kPhoneLinkOpen, linked(block.LinkUrl), linkTail_,
                             image(block.Picture, imageTail(name, pixels, kPhoneInlineImageStyle)),
                             kPhoneLinkClose}));
            } else {
                line(image(block.Picture, imageTail(block.Headline, pixels, kPhoneInlineImageStyle)));
            }
            line(kPhoneColumnEnd);
            line(kMsoColumnsBetween);
        }
        line(block.Picture.isEmpty() ? kPhoneFullTextColumn : kPhoneTextColumn);
        line(kPhoneColumnTable);
        line(textCell_);
        if (!trimmed8(block.Headline).isEmpty())
            line(joined({headline_, EscapeEquals(block.Headline), kPhoneHeadlineClose}));
        line(joined({kPhoneNewsTextOpen, PhoneNewsText(block.Text, in_.linkColor), kPhoneNewsTextClose}));
        if (!block.LinkText.isEmpty() && !block.LinkUrl.isEmpty())
            line(joined({kPhoneMoreOpen, kPhoneLinkOpen, linked(block.LinkUrl), linkTail_,
                         EscapeEquals(block.LinkText), kPhoneLinkClose, kPhoneParagraphClose}));
        line(kPhoneColumnEnd);
        if (!block.Picture.isEmpty())
            line(kMsoColumnsClose);
        line(kPhoneRowEnd);
    }

    void imprint() {
        const QByteArray colour = EscapeEquals(in_.textColor);
        out_.append("");
        addPictureRow(
            in_.seperatorImpressum,
            pictureRow(in_.impressumAlign, "24px 0 0 0", {},
                       width(in_.seperatorImpressum, PictureKind::ImprintSeparator, kPhoneContentWidth)));
        line(kPhoneImprintCell + font(colour) + kPhoneTagEnd);
        if (!trimmed8(in_.impressumText).isEmpty())
            line(kPhoneParagraph + EscapeEquals(in_.impressumText) + kPhoneParagraphClose);
        // A link without text is read out as "link" and nothing else, so an empty address writes none.
        const auto link = [&](const QByteArray& href, const QByteArray& text) {
            return kPhoneLinkOpen + href + linkTail_ + EscapeEquals(text) + kPhoneLinkClose;
        };
        QList<QByteArray> links;
        if (!trimmed8(in_.impressumMailTo).isEmpty())
            links.append(link("mailto:" + EscapeEquals(in_.impressumMailTo), in_.impressumMailTo));
        if (!trimmed8(in_.impressumUrl).isEmpty())
            links.append(link(linked(in_.impressumUrl), in_.impressumUrl));
        if (!links.isEmpty())
            line(kPhoneParagraph + links.join(kPhoneBreak) + kPhoneParagraphClose);
        if (!trimmed8(in_.unsubscribeText).isEmpty() && !trimmed8(in_.unsubscribeLink).isEmpty())
            line(kPhoneUnsubscribe + link(linked(in_.unsubscribeLink), in_.unsubscribeText) +
                 kPhoneParagraphClose);
        line(kPhoneRowEnd);
    }

    RenderContext& context_;
    const RenderInput& in_;
    MessageLines& out_;
    QHash<QByteArray, std::optional<int>> blockWidths_;
    // The alt text of a picture shown as a block: in the newsletter's font, the size of its text.
    const QByteArray altFont_ = joined({"font-size:16px;", font(EscapeEquals(in_.textColor))});
    // What every news block repeats, put together once: the separator stands above each.
    const PictureRow separatorRow_ =
        pictureRow(in_.seperatorAlign, "16px 0 0 0", {},
                   width(in_.seperatorNews, PictureKind::NewsSeparator, kPhoneContentWidth));
    const QByteArray linkTail_ = kPhoneLinkTarget + EscapeEquals(in_.linkColor) + kPhoneTagEnd;
    const QByteArray textCell_ = kPhoneTextCell + font(EscapeEquals(in_.textColor)) + kPhoneTagEnd;
    const QByteArray headline_ = kPhoneHeadline + font(EscapeEquals(in_.textColor)) + kPhoneTagEnd;
    const QByteArray pictureCell_ = kPhonePictureCell + font(EscapeEquals(in_.textColor)) + kPhoneTagEnd;
};

}  // namespace

QByteArray PreheaderLine(const QByteArray& vorschautext) {
    QByteArray escaped = trimmedBlanks(vorschautext);
    if (escaped.isEmpty())
        return {};
    // Plain text, as typed: the inbox shows it as it stands, so no markup may take effect.
    escaped.replace('&', "&amp;").replace('<', "&lt;").replace('>', "&gt;");
    return kPreheaderOpen + EscapeEquals(escaped) + kPreheaderClose;
}

QByteArray AltText(const QByteArray& text) {
    QByteArray out;
    out.reserve(text.size());
    bool inTag = false;
    for (char c : text) {
        if (c == '<')
            inTag = true;
        else if (c == '>' && inTag)
            inTag = false;
        else if (!inTag)
            c == '"' ? out.append("&quot;") : out.append(c);
    }
    return trimmedBlanks(out);
}

QByteArray PhoneNewsText(const QByteArray& text, const QByteArray& linkColor) {
    QByteArray out;
    out.reserve(text.size() + 128);
    QList<bool> fontSpans;  // for each open <font>: whether it became a span
    bool inList = false, inItem = false;
    const auto closeList = [&] {
        if (inList && !inItem) {
            out.append(kPhoneListClose);
            inList = false;
        }
    };
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype end = text[i] == '<' ? text.indexOf('>', i) : -1;
        if (end < 0) {
            // Text up to the next tag. Between list items it is only blank space; anything else ends
            // the list.
            qsizetype next = text.indexOf('<', i + 1);
            if (next < 0)
                next = text.size();
            const QByteArrayView run = QByteArrayView(text).sliced(i, next - i);
            if (!run.trimmed().isEmpty())
                closeList();
            AppendEscapedEquals(out, run);
            i = next;
            continue;
        }
        const QByteArrayView tag = QByteArrayView(text).sliced(i, end + 1 - i);
        i = end + 1;
        const QByteArrayView name = tag.sliced(1);
        if (startsWithTag(name, "li")) {
            if (!inList)
                out.append(kPhoneListOpen);
            inList = inItem = true;
            out.append(kPhoneListItem);
            continue;
        }
        if (startsWithTag(name, "/li")) {
            inItem = false;
            AppendEscapedEquals(out, tag);
            continue;
        }
        closeList();
        if (startsWithTag(name, "font")) {
            const int pixels = fontPixels(tag.toByteArray());
            fontSpans.append(pixels > 0);
            if (pixels > 0)
                out.append("<span style=3D\"font-size:").append(QByteArray::number(pixels)).append("px\">");
            else
                AppendEscapedEquals(out, tag);
        } else if (startsWithTag(name, "/font")) {
            if (!fontSpans.isEmpty() && fontSpans.takeLast())
                out.append("</span>");
            else
                AppendEscapedEquals(out, tag);
        } else if (startsWithTag(name, "a")) {
            out.append(colouredLink(tag.toByteArray(), linkColor));
        } else {
            AppendEscapedEquals(out, tag);
        }
    }
    if (inList)
        out.append(kPhoneListClose);
    return out;
}

void AddPhoneHtmlDocument(RenderContext& context) {
    PhoneWriter(context).write();
}

}  // namespace zw

#include "editing/FormattedText.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>

#include <array>
#include <climits>
#include <optional>

#include "render/MarkupText.h"

namespace zw {

namespace {

enum class TagKind { Bold, Italic, Underline, Font, Link };
constexpr std::array kAllKinds{TagKind::Bold, TagKind::Italic, TagKind::Underline, TagKind::Font, TagKind::Link};

const QString kLineBreak(QChar::LineSeparator);
const QLatin1String kFontOpening("<font size=\"");
const QLatin1String kLinkOpening("<a href=3D\"");
const QLatin1String kAttributeEnd("\">");

// The character an entity or a numeric reference stands for; nothing when the view cannot show it.
// Characters beyond the 8-bit code page are stored as numeric references, emoji included.
std::optional<QString> entityCharacter(QStringView name) {
    const char32_t c = EntityCharacter(name);
    // Control characters and the separators the view uses for its own line and paragraph ends are no text.
    if (c < 32 || (c >= 0xD800 && c <= 0xDFFF) || c == 0x2028 || c == 0x2029)
        return std::nullopt;
    return QString::fromUcs4(&c, 1);
}

// What a remembered written form stands for.
QString decodedSource(const QString& raw) {
    if (raw == u"=3D")
        return QStringLiteral("=");
    if (raw.size() > 2 && raw.startsWith(u'&') && raw.endsWith(u';'))
        return entityCharacter(QStringView(raw).mid(1, raw.size() - 2)).value_or(QString());
    return raw;
}

TagKind kindOf(const QString& raw) {
    if (raw == u"<b>")
        return TagKind::Bold;
    if (raw == u"<i>")
        return TagKind::Italic;
    if (raw == u"<u>")
        return TagKind::Underline;
    return raw.startsWith(kFontOpening) ? TagKind::Font : TagKind::Link;
}

QString closingTag(TagKind kind) {
    switch (kind) {
    case TagKind::Bold:
        return QStringLiteral("</b>");
    case TagKind::Italic:
        return QStringLiteral("</i>");
    case TagKind::Underline:
        return QStringLiteral("</u>");
    case TagKind::Font:
        return QStringLiteral("</font>");
    case TagKind::Link:
        break;
    }
    return QStringLiteral("</a>");
}

bool isActive(const QTextCharFormat& f, TagKind kind) {
    switch (kind) {
    case TagKind::Bold:
        return hasInlineFormat(f, InlineFormat::Bold);
    case TagKind::Italic:
        return hasInlineFormat(f, InlineFormat::Italic);
    case TagKind::Underline:
        return hasInlineFormat(f, InlineFormat::Underline);
    case TagKind::Font:
        return !f.property(formatted::FontSize).toString().isEmpty();
    case TagKind::Link:
        break;
    }
    return f.isAnchor() && !f.anchorHref().isEmpty();
}

QString openingTag(TagKind kind, const QTextCharFormat& f) {
    switch (kind) {
    case TagKind::Bold:
        return QStringLiteral("<b>");
    case TagKind::Italic:
        return QStringLiteral("<i>");
    case TagKind::Underline:
        return QStringLiteral("<u>");
    case TagKind::Font:
        return kFontOpening + f.property(formatted::FontSize).toString() + kAttributeEnd;
    case TagKind::Link:
        break;
    }
    return kLinkOpening + f.anchorHref() + kAttributeEnd;
}

// The tags a character wants around it: those it was read with, in their order, as far as they still
// hold, then the ones the user gave it since.
QStringList wantedTags(const QTextCharFormat& f) {
    QStringList tags;
    std::array<bool, kAllKinds.size()> have{};
    for (const QString& raw : f.property(formatted::TagOrder).toStringList()) {
        const TagKind kind = kindOf(raw);
        if (have[size_t(kind)] || !isActive(f, kind) || raw != openingTag(kind, f))
            continue;
        tags << raw;
        have[size_t(kind)] = true;
    }
    for (TagKind kind : kAllKinds) {
        if (!have[size_t(kind)] && isActive(f, kind))
            tags << openingTag(kind, f);
    }
    return tags;
}

// A character as it was written, where that cannot turn into markup or a quoted-printable code with
// what follows it; otherwise escaped.
QString writtenCharacter(QStringView unit, const QString& raw, const QString& blockText, qsizetype at) {
    const QChar c = unit[0];
    if (c == QChar::LineSeparator)
        return QStringLiteral("<br>");
    const QChar next = at + 1 < blockText.size() ? blockText[at + 1] : QChar();
    if (!raw.isEmpty() && decodedSource(raw) == unit) {
        bool safe = true;
        if (raw == u"&")
            safe = !(next.isLetterOrNumber() || next == u'#');
        else if (raw == u"<")
            safe = !(next.isLetter() || next == u'/' || next == u'!' || next == u'?');
        if (safe)
            return raw;
    }
    // The message keeps a typed "=" as "=" unless "3D" follows, which would make it the code of an "=".
    if (c == u'=')
        return QStringView(blockText).mid(at + 1, 2) == u"3D" ? QStringLiteral("=3D") : QStringLiteral("=");
    switch (c.unicode()) {
    case u'<':
        return QStringLiteral("&lt;");
    case u'>':
        return QStringLiteral("&gt;");
    case u'&':
        return QStringLiteral("&amp;");
    default:
        return unit.toString();
    }
}

QString writtenBlock(const QTextBlock& block) {
    QString out;
    QStringList open;
    const QString text = block.text();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!fragment.isValid())
            continue;
        const QTextCharFormat f = fragment.charFormat();
        const QStringList wanted = wantedTags(f);
        qsizetype common = 0;
        while (common < open.size() && common < wanted.size() && open[common] == wanted[common]) ++common;
        while (open.size() > common) out += closingTag(kindOf(open.takeLast()));
        for (qsizetype k = common; k < wanted.size(); ++k) {
            out += wanted[k];
            open << wanted[k];
        }
        const QString raw = f.property(formatted::RawSource).toString();
        const QString piece = fragment.text();
        const qsizetype start = fragment.position() - block.position();
        for (qsizetype k = 0; k < piece.size(); ++k) {
            // A character beyond the basic plane is one unit of two halves.
            const qsizetype units = piece[k].isHighSurrogate() && k + 1 < piece.size() ? 2 : 1;
            out += writtenCharacter(QStringView(piece).mid(k, units), raw, text, start + k + units - 1);
            k += units - 1;
        }
    }
    while (!open.isEmpty()) out += closingTag(kindOf(open.takeLast()));
    return out;
}

qreal sizeFactor(const QString& value) {
    // The sizes mail programs give <font size="1"> to "7", against the normal size 3.
    static constexpr std::array<qreal, 7> kPixels{10, 13, 16, 18, 24, 32, 48};
    const int n = value.toInt();
    const int size = std::clamp(value.startsWith(u'+') || value.startsWith(u'-') ? 3 + n : n, 1, 7);
    return kPixels[size_t(size - 1)] / 16.0;
}

// Builds the document token by token; any step it cannot take faithfully ends the reading.
class Reader {
public:
    Reader(QTextDocument& doc, const FormattedLook& look) : look_(look), cursor_(&doc) {}

    bool read(const QString& s) {
        qsizetype i = 0;
        while (i < s.size()) {
            const QChar c = s[i];
            bool ok = true;
            if (c == u'<')
                ok = tagOrLess(s, i);
            else if (c == u'&')
                ok = entityOrAmpersand(s, i);
            else if (c == u'=')
                equalsSign(s, i);
            else if (c == u'>')
                special(QString(c), QStringLiteral(">")), ++i;
            else
                plain(c), ++i;
            if (!ok)
                return false;
        }
        flush();
        return tags_.empty() && !inItem_;
    }

    // Each step below reads what stands at s[i] and moves i past it; false when the view cannot hold it.

    bool tagOrLess(const QString& s, qsizetype& i) {
        static const std::array<std::pair<QLatin1String, std::optional<TagKind>>, 11> fixed{{
            {QLatin1String("<b>"), TagKind::Bold},
            {QLatin1String("<i>"), TagKind::Italic},
            {QLatin1String("<u>"), TagKind::Underline},
            {QLatin1String("<br>"), std::nullopt},
            {QLatin1String("<li>"), std::nullopt},
            {QLatin1String("</li>"), std::nullopt},
            {QLatin1String("</b>"), TagKind::Bold},
            {QLatin1String("</i>"), TagKind::Italic},
            {QLatin1String("</u>"), TagKind::Underline},
            {QLatin1String("</font>"), TagKind::Font},
            {QLatin1String("</a>"), TagKind::Link},
        }};
        static const QRegularExpression fontTag(QStringLiteral(R"re(<font size="([+-]?[1-7])">)re"));
        static const QRegularExpression linkTag(QStringLiteral(R"re(<a href=3D"([^"<>]*)">)re"));
        const QStringView rest = QStringView(s).mid(i);
        for (const auto& [tag, kind] : fixed) {
            if (!rest.startsWith(tag))
                continue;
            i += tag.size();
            if (!kind)
                return structure(tag);
            return tag[1] == u'/' ? close(*kind) : open(*kind, tag, {});
        }
        for (const auto& [pattern, kind] : {std::pair(&fontTag, TagKind::Font), std::pair(&linkTag, TagKind::Link)}) {
            const QRegularExpressionMatch m =
                pattern->match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
            if (m.hasMatch()) {
                i += m.capturedLength(0);
                return open(kind, m.captured(0), m.captured(1));
            }
        }
        const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
        // A tag, a comment or a declaration the view does not know.
        if (next.isLetter() || next == u'/' || next == u'!' || next == u'?')
            return false;
        special(QStringLiteral("<"), QStringLiteral("<"));
        ++i;
        return true;
    }

    bool entityOrAmpersand(const QString& s, qsizetype& i) {
        static const QRegularExpression entity(QStringLiteral("&(#?[A-Za-z0-9]{1,10});"));
        const QRegularExpressionMatch m =
            entity.match(s, i, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!m.hasMatch()) {
            special(QStringLiteral("&"), QStringLiteral("&"));
            ++i;
            return true;
        }
        const std::optional<QString> c = entityCharacter(m.capturedView(1));
        if (c)
            special(*c, m.captured(0));
        i += m.capturedLength(0);
        return c.has_value();
    }

    void equalsSign(const QString& s, qsizetype& i) {
        // The message writes every "=" of a text as the reader typed it, but "=3D" stands for one.
        const bool coded = QStringView(s).mid(i, 3) == u"=3D";
        special(QStringLiteral("="), coded ? QStringLiteral("=3D") : QStringLiteral("="));
        i += coded ? 3 : 1;
    }

    void plain(QChar c) {
        if (needParagraph_)
            startParagraph();
        pending_ += c;
    }

private:
    struct OpenTag {
        TagKind kind;
        QString raw;
        QString value;
    };

    QTextCharFormat formatNow() const {
        QTextCharFormat f;
        QStringList order;
        for (const OpenTag& tag : tags_) {
            order << tag.raw;
            switch (tag.kind) {
            case TagKind::Bold:
                setInlineFormat(f, InlineFormat::Bold, true);
                break;
            case TagKind::Italic:
                setInlineFormat(f, InlineFormat::Italic, true);
                break;
            case TagKind::Underline:
                setInlineFormat(f, InlineFormat::Underline, true);
                break;
            case TagKind::Font:
                setFontSizeFormat(f, tag.value, look_);
                break;
            case TagKind::Link:
                setLinkFormat(f, tag.value, look_);
                break;
            }
        }
        if (!order.isEmpty())
            f.setProperty(formatted::TagOrder, order);
        return f;
    }

    void flush() {
        if (pending_.isEmpty())
            return;
        cursor_.insertText(pending_, formatNow());
        pending_.clear();
        started_ = true;
    }

    void startParagraph() {
        flush();
        cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
        needParagraph_ = false;
        lastWasItem_ = false;
    }

    // A character written in a form of its own.
    void special(const QString& c, const QString& raw) {
        if (needParagraph_)
            startParagraph();
        flush();
        QTextCharFormat f = formatNow();
        f.setProperty(formatted::RawSource, raw);
        cursor_.insertText(c, f);
        started_ = true;
    }

    bool open(TagKind kind, const QString& raw, const QString& value) {
        flush();
        for (const OpenTag& tag : tags_) {
            if (tag.kind == kind)
                return false;
        }
        tags_.push_back({kind, raw, value});
        return true;
    }

    bool close(TagKind kind) {
        flush();
        if (tags_.empty() || tags_.back().kind != kind)
            return false;
        tags_.pop_back();
        return true;
    }

    bool structure(QLatin1String tag) {
        if (tag == QLatin1String("<br>")) {
            if (needParagraph_)
                startParagraph();
            pending_ += kLineBreak;
            return true;
        }
        flush();
        // Inline tags open across an item's edge cannot be written back as they were.
        if (!tags_.empty())
            return false;
        if (tag == QLatin1String("</li>")) {
            if (!inItem_)
                return false;
            inItem_ = false;
            needParagraph_ = true;
            lastWasItem_ = true;
            return true;
        }
        if (inItem_)
            return false;
        if (started_ || cursor_.block().previous().isValid())
            cursor_.insertBlock(QTextBlockFormat(), QTextCharFormat());
        if (list_ && lastWasItem_)
            list_->add(cursor_.block());
        else
            list_ = cursor_.createList(QTextListFormat::ListDisc);
        inItem_ = true;
        needParagraph_ = false;
        started_ = true;
        return true;
    }

    const FormattedLook& look_;
    QTextCursor cursor_;
    std::vector<OpenTag> tags_;
    QString pending_;
    QTextList* list_ = nullptr;
    bool started_ = false;
    bool inItem_ = false;
    bool needParagraph_ = false;
    bool lastWasItem_ = false;
};

}  // namespace

QString storedLine(const QString& editorText) {
    QString out = editorText;
    out.remove(u'\n');
    out.remove(u'\r');
    return out;
}

bool readFormattedText(const QString& text, QTextDocument& doc, const FormattedLook& look) {
    const bool undo = doc.isUndoRedoEnabled();
    doc.setUndoRedoEnabled(false);
    doc.clear();
    const QString line = storedLine(text);
    bool ok = Reader(doc, look).read(line);
    // Whatever the reader let through must come back exactly; anything else stays in the source view.
    ok = ok && writeFormattedText(doc) == line;
    if (!ok)
        doc.clear();
    doc.setUndoRedoEnabled(undo);
    return ok;
}

QString writeFormattedText(const QTextDocument& doc) {
    QString out;
    bool afterParagraph = false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        const QString inner = writtenBlock(block);
        if (block.textList()) {
            out += QStringLiteral("<li>") + inner + QStringLiteral("</li>");
            afterParagraph = false;
        } else {
            // Two paragraphs in a row are one line break apart, as the view shows them.
            if (afterParagraph)
                out += QStringLiteral("<br>");
            out += inner;
            afterParagraph = true;
        }
    }
    return out;
}

bool hasInlineFormat(const QTextCharFormat& format, InlineFormat kind) {
    switch (kind) {
    case InlineFormat::Bold:
        return format.hasProperty(QTextFormat::FontWeight) && format.fontWeight() > QFont::Medium;
    case InlineFormat::Italic:
        return format.fontItalic();
    case InlineFormat::Underline:
        break;
    }
    return format.fontUnderline();
}

void setInlineFormat(QTextCharFormat& format, InlineFormat kind, bool on) {
    switch (kind) {
    case InlineFormat::Bold:
        if (on)
            format.setFontWeight(QFont::Bold);
        else
            format.clearProperty(QTextFormat::FontWeight);
        break;
    case InlineFormat::Italic:
        if (on)
            format.setFontItalic(true);
        else
            format.clearProperty(QTextFormat::FontItalic);
        break;
    case InlineFormat::Underline:
        if (on) {
            format.setFontUnderline(true);
        } else {
            format.clearProperty(QTextFormat::TextUnderlineStyle);
            format.clearProperty(QTextFormat::FontUnderline);
        }
        break;
    }
}

void setFontSizeFormat(QTextCharFormat& format, const QString& value, const FormattedLook& look) {
    if (value.isEmpty()) {
        format.clearProperty(formatted::FontSize);
        format.clearProperty(QTextFormat::FontPointSize);
        return;
    }
    format.setProperty(formatted::FontSize, value);
    format.setFontPointSize(look.baseSize * sizeFactor(value));
}

void setLinkFormat(QTextCharFormat& format, const QString& href, const FormattedLook& look) {
    if (href.isEmpty()) {
        format.setAnchor(false);
        format.clearProperty(QTextFormat::AnchorHref);
        format.clearProperty(QTextFormat::IsAnchor);
        format.clearForeground();
        format.clearProperty(QTextFormat::TextToolTip);
        return;
    }
    format.setAnchor(true);
    format.setAnchorHref(href);
    format.setForeground(look.linkColour);
    format.setToolTip(linkTarget(href));
}

QString linkTarget(const QString& href) {
    QString target = href;
    return target.replace(QLatin1String("=3D"), QLatin1String("="));
}

void changeSelectedFormat(QTextCursor& cursor, const std::function<void(QTextCharFormat&)>& change) {
    if (!cursor.hasSelection())
        return;
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    QTextDocument* doc = cursor.document();
    // Collected first: setting a format splits and merges the fragments being walked.
    struct Piece {
        int from;
        int to;
        QTextCharFormat format;
    };
    std::vector<Piece> pieces;
    for (QTextBlock block = doc->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = std::max(fragment.position(), start);
            const int to = std::min(fragment.position() + fragment.length(), end);
            if (from >= to)
                continue;
            QTextCharFormat f = fragment.charFormat();
            change(f);
            pieces.push_back({from, to, f});
        }
    }
    cursor.beginEditBlock();
    for (const Piece& piece : pieces) {
        QTextCursor part(doc);
        part.setPosition(piece.from);
        part.setPosition(piece.to, QTextCursor::KeepAnchor);
        part.setCharFormat(piece.format);
    }
    cursor.endEditBlock();
}

namespace {

// Each line the selection touches becomes a paragraph of its own: a line break replaced by a paragraph
// end keeps every position where it was.
void splitTouchedLines(QTextDocument* doc, int start, int end) {
    const QTextBlock first = doc->findBlock(start);
    const QTextBlock last = doc->findBlock(end);
    QList<int> breaks;
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        const QString text = b.text();
        for (qsizetype k = 0; k < text.size(); ++k) {
            if (text[k] == QChar::LineSeparator)
                breaks << b.position() + int(k);
        }
        if (b == last)
            break;
    }
    // The break before the first touched line and the one after the last, and every one between.
    int from = -1;
    int to = INT_MAX;
    for (int at : breaks) {
        if (at < start)
            from = at;
        else if (at >= end && to == INT_MAX)
            to = at;
    }
    QTextCursor c(doc);
    for (auto it = breaks.crbegin(); it != breaks.crend(); ++it) {
        if (*it < from || *it > to)
            continue;
        c.setPosition(*it);
        c.deleteChar();
        c.insertBlock();
    }
}

}  // namespace

void toggleListItems(QTextCursor& cursor) {
    QTextDocument* doc = cursor.document();
    bool allItems = true;
    for (QTextBlock b = doc->findBlock(cursor.selectionStart()); b.isValid(); b = b.next()) {
        allItems = allItems && b.textList();
        if (b == doc->findBlock(cursor.selectionEnd()))
            break;
    }
    // Taken before the lines are split: a cursor at a split moves behind the new paragraph end.
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    cursor.beginEditBlock();
    if (!allItems)
        splitTouchedLines(doc, start, end);
    const QTextBlock first = doc->findBlock(start);
    const QTextBlock last = doc->findBlock(end);
    QTextList* list = nullptr;
    if (!allItems && first.previous().isValid())
        list = first.previous().textList();
    for (QTextBlock b = first; b.isValid(); b = b.next()) {
        QTextCursor at(b);
        if (allItems) {
            b.textList()->remove(b);
            at.setBlockFormat(QTextBlockFormat());
        } else if (!b.textList() || b.textList() != list) {
            if (b.textList())
                b.textList()->remove(b);
            if (list)
                list->add(b);
            else
                list = at.createList(QTextListFormat::ListDisc);
        }
        if (b == last)
            break;
    }
    cursor.endEditBlock();
}

QTextDocumentFragment cleanPastedFragment(const QTextDocumentFragment& pasted, const FormattedLook& look,
                                          const std::function<QString(const QString&)>& completeLink) {
    QTextDocument source;
    QTextCursor(&source).insertFragment(pasted);
    QTextDocument clean;
    QTextCursor out(&clean);
    QTextList* list = nullptr;
    bool first = true;
    bool lastWasItem = false;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        const bool item = block.textList() != nullptr;
        QString blockText = block.text();
        blockText.remove(QChar::ObjectReplacementCharacter);
        // Empty paragraphs are the margins of the page it came from.
        if (!item && blockText.trimmed().isEmpty())
            continue;
        if (!first)
            out.insertBlock(QTextBlockFormat(), QTextCharFormat());
        if (item) {
            if (list && lastWasItem)
                list->add(out.block());
            else
                list = out.createList(QTextListFormat::ListDisc);
        }
        first = false;
        lastWasItem = item;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat from = fragment.charFormat();
            QTextCharFormat f;
            const bool link = from.isAnchor() && !from.anchorHref().isEmpty();
            setInlineFormat(f, InlineFormat::Bold, hasInlineFormat(from, InlineFormat::Bold));
            setInlineFormat(f, InlineFormat::Italic, hasInlineFormat(from, InlineFormat::Italic));
            // A link comes underlined from HTML by itself; that is no underline of the text.
            setInlineFormat(f, InlineFormat::Underline, !link && hasInlineFormat(from, InlineFormat::Underline));
            if (link)
                setLinkFormat(f, completeLink(from.anchorHref()), look);
            QString text = fragment.text();
            text.remove(QChar::ObjectReplacementCharacter);
            if (!text.isEmpty())
                out.insertText(text, f);
        }
    }
    // The blanks a page's layout leaves at the edges of its paragraphs are no part of the text.
    for (QTextBlock block = clean.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        qsizetype lead = 0;
        while (lead < text.size() && text[lead] == u' ') ++lead;
        qsizetype trail = 0;
        while (trail < text.size() - lead && text[text.size() - 1 - trail] == u' ') ++trail;
        QTextCursor edge(block);
        edge.movePosition(QTextCursor::EndOfBlock);
        edge.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor, int(trail));
        edge.removeSelectedText();
        edge.setPosition(block.position());
        edge.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor, int(lead));
        edge.removeSelectedText();
    }
    return QTextDocumentFragment(&clean);
}

}  // namespace zw

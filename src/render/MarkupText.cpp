#include "render/MarkupText.h"

#include <QString>

#include <algorithm>
#include <optional>

#include "platform/Text.h"
#include "render/TextConversion.h"

namespace zw {

namespace {

// The named entities a German newsletter brings, by the character they stand for.
constexpr struct {
    const char* name;
    char16_t character;
} kEntities[] = {
    {"amp", u'&'},       {"lt", u'<'},        {"gt", u'>'},        {"quot", u'"'},      {"apos", u'\''},
    {"nbsp", 0xA0},      {"euro", 0x20AC},    {"auml", 0xE4},      {"ouml", 0xF6},      {"uuml", 0xFC},
    {"Auml", 0xC4},      {"Ouml", 0xD6},      {"Uuml", 0xDC},      {"szlig", 0xDF},     {"ndash", 0x2013},
    {"mdash", 0x2014},   {"bdquo", 0x201E},   {"ldquo", 0x201C},   {"rdquo", 0x201D},   {"sbquo", 0x201A},
    {"lsquo", 0x2018},   {"rsquo", 0x2019},   {"laquo", 0xAB},     {"raquo", 0xBB},     {"hellip", 0x2026},
    {"copy", 0xA9},      {"reg", 0xAE},       {"trade", 0x2122},   {"middot", 0xB7},    {"bull", 0x2022},
    {"sect", 0xA7},      {"deg", 0xB0},       {"eacute", 0xE9},    {"egrave", 0xE8},    {"agrave", 0xE0},
};

// Each field's marker is a few control bytes; it is wrapped as if it stood for a name of this length.
constexpr int kFieldWidth = 12;

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The character an entity at text[at] ("&amp;", "&#228;", "&#xE4;") stands for, as stored bytes, and
// its length; nothing when there is no entity there.
std::optional<std::pair<QByteArray, qsizetype>> entityAt(QByteArrayView text, qsizetype at) {
    const qsizetype end = text.sliced(at).first(qMin<qsizetype>(12, text.size() - at)).indexOf(';');
    if (end < 2)
        return std::nullopt;
    const QByteArrayView name = text.sliced(at + 1, end - 1);
    char32_t character = 0;
    if (name.startsWith('#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == 'x' || name[1] == 'X');
        character = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        if (!ok || character == 0 || character > 0x10FFFF)
            return std::nullopt;
    } else {
        for (const auto& entity : kEntities)
            if (name == entity.name)
                character = entity.character;
        if (character == 0)
            return std::nullopt;
    }
    return std::pair{toStored(QString::fromUcs4(&character, 1)), end + 1};
}

// Text between tags: entities and "=3D" decoded.
QByteArray decoded(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&') {
            if (const auto entity = entityAt(text, i)) {
                out.append(entity->first);
                i += entity->second - 1;
                continue;
            }
        } else if (text[i] == '=' && text.sliced(i + 1).startsWith("3D")) {
            out.append('=');
            i += 2;
            continue;
        }
        out.append(text[i]);
    }
    return out;
}

// The value of a tag's href attribute, decoded; empty without one.
QByteArray hrefOf(QByteArrayView tag) {
    const qsizetype at = asciiLower(tag.toByteArray()).indexOf("href");
    if (at < 0)
        return {};
    qsizetype i = at + 4;
    while (i < tag.size() && isBlank(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=')
        return {};
    ++i;
    if (tag.sliced(i).startsWith("3D"))
        i += 2;
    while (i < tag.size() && isBlank(tag[i])) ++i;
    qsizetype end;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
        const char quote = tag[i++];
        end = tag.indexOf(quote, i);
    } else {
        end = i;
        while (end < tag.size() && !isBlank(tag[end]) && tag[end] != '>') ++end;
    }
    if (end < 0)
        end = tag.size() - 1;
    return decoded(tag.sliced(i, end - i)).trimmed();
}

// An address as its reader compares it: without its scheme, a closing "/" and case.
QByteArray comparable(QByteArray address) {
    address = asciiLower(address.trimmed());
    for (const char* scheme : {"mailto:", "http://", "https://"})
        if (address.startsWith(scheme))
            address = address.mid(qstrlen(scheme));
    while (address.endsWith('/')) address.chop(1);
    return address;
}

// The name of a tag ("b", "/li", "br") in small letters.
QByteArray tagName(QByteArrayView tag) {
    qsizetype end = 1;
    if (end < tag.size() && tag[end] == '/')
        ++end;
    while (end < tag.size() && isalnum(uchar(tag[end]))) ++end;
    return asciiLower(tag.sliced(1, end - 1).toByteArray());
}

bool isBlockTag(const QByteArray& name) {
    static const QByteArray blocks[] = {"p", "div", "ul", "ol", "h1", "h2", "h3", "h4", "h5", "h6",
                                        "table", "tr", "blockquote", "hr", "center"};
    const QByteArray bare = name.startsWith('/') ? name.mid(1) : name;
    return std::find(std::begin(blocks), std::end(blocks), bare) != std::end(blocks);
}

class PlainWriter {
public:
    QList<QByteArray> convert(const QByteArray& stored) {
        qsizetype i = 0;
        while (i < stored.size()) {
            const qsizetype end = isTagStart(stored, i) ? stored.indexOf('>', i) : -1;
            if (end < 0) {
                qsizetype next = i + 1;
                while (next < stored.size() && !isTagStart(stored, next)) ++next;
                text(decoded(QByteArrayView(stored).sliced(i, next - i)));
                i = next;
                continue;
            }
            if (stored.sliced(i).startsWith("<!--")) {
                const qsizetype close = stored.indexOf("-->", i);
                i = close < 0 ? stored.size() : close + 3;
                continue;
            }
            tag(QByteArrayView(stored).sliced(i, end + 1 - i));
            i = end + 1;
        }
        endLine();
        return lines_;
    }

private:
    static bool isTagStart(const QByteArray& text, qsizetype i) {
        return text[i] == '<' && i + 1 < text.size() &&
               (isalpha(uchar(text[i + 1])) || text[i + 1] == '/' || text[i + 1] == '!') &&
               text.indexOf('>', i) > 0;
    }

    void text(const QByteArray& run) {
        for (char c : run) {
            if (isBlank(c)) {
                blank_ = hasText_;
                continue;
            }
            if (blank_)
                line_.append(' ');
            blank_ = false;
            hasText_ = true;
            line_.append(c);
        }
    }

    void tag(QByteArrayView tag) {
        const QByteArray name = tagName(tag);
        if (name == "br") {
            breakLine();
        } else if (name == "li") {
            endLine();
            line_ = "- ";
        } else if (name == "/li" || isBlockTag(name)) {
            endLine();
        } else if (name == "a") {
            href_ = hrefOf(tag);
            linkStart_ = line_.size() + (blank_ ? 1 : 0);
            linkLine_ = lines_.size();
        } else if (name == "/a" && !href_.isEmpty()) {
            const QByteArray linkText = linkLine_ == lines_.size() ? line_.mid(linkStart_) : QByteArray();
            if (linkText.trimmed().isEmpty())
                text(href_);
            else if (comparable(linkText) != comparable(href_))
                text(" <" + href_ + '>');
            href_.clear();
        }
    }

    // A line ends where the text asks for one (<br>): an empty one stays.
    void breakLine() {
        lines_.append(line_);
        line_.clear();
        blank_ = hasText_ = false;
    }

    // A line ends at a block: only a line with text counts.
    void endLine() {
        if (hasText_)
            lines_.append(line_);
        line_.clear();
        blank_ = hasText_ = false;
    }

    QList<QByteArray> lines_;
    QByteArray line_;
    bool blank_ = false, hasText_ = false;
    QByteArray href_;
    qsizetype linkStart_ = 0, linkLine_ = 0;
};

// The width a reader sees of a word: a field's marker (control bytes, digits, control byte) counts as
// a name.
int shownWidth(QByteArrayView word) {
    int width = 0;
    bool inMarker = false;
    for (char c : word) {
        if (c == '\x01') {
            inMarker = true;
            width += kFieldWidth;
        } else if (inMarker) {
            inMarker = c != '\x02';
        } else {
            ++width;
        }
    }
    return width;
}

QByteArray flowedLine(QByteArray line) {
    if (line.startsWith(' ') || line.startsWith('>') || line.startsWith("From "))
        line.prepend(' ');
    QByteArray out = Check3D(line);
    if (out.endsWith(' ')) {
        out.chop(1);
        out.append("=20");
    }
    return out;
}

}  // namespace

QList<QByteArray> MarkupToPlainLines(const QByteArray& stored) {
    return PlainWriter().convert(stored);
}

QByteArray PlainAddress(const QByteArray& address) {
    const QByteArray trimmed = trimmedBlanks(address);
    const QByteArray upper = asciiUpper(trimmed);
    if (trimmed.contains('@') || upper.contains("HTTP://") || upper.contains("HTTPS://") ||
        upper.contains("MAILTO:"))
        return trimmed;
    return "http://" + trimmed;
}

QList<QByteArray> FlowedLines(const QByteArray& line, int width) {
    QList<QByteArray> out;
    QByteArray current;
    int currentWidth = 0;
    for (const QByteArray& word : trimmedBlanks(line).split(' ')) {
        if (word.isEmpty())
            continue;
        const int wordWidth = shownWidth(word);
        if (!current.isEmpty() && currentWidth + 1 + wordWidth > width) {
            out.append(flowedLine(current + ' '));
            current.clear();
            currentWidth = 0;
        }
        if (!current.isEmpty()) {
            current.append(' ');
            ++currentWidth;
        }
        current.append(word);
        currentWidth += wordWidth;
    }
    out.append(flowedLine(current));
    return out;
}

}  // namespace zw

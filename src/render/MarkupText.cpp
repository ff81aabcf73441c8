#include "render/MarkupText.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "platform/Text.h"
#include "render/TextConversion.h"

namespace zw {

namespace {

// The named entities a German newsletter brings, by the character they stand for.
constexpr struct {
    const char* name;
    char16_t character;
} kEntities[] = {
    {"amp", u'&'},     {"lt", u'<'},      {"gt", u'>'},      {"quot", u'"'},    {"apos", u'\''},
    {"nbsp", 0xA0},    {"euro", 0x20AC},  {"auml", 0xE4},    {"ouml", 0xF6},    {"uuml", 0xFC},
    {"Auml", 0xC4},    {"Ouml", 0xD6},    {"Uuml", 0xDC},    {"szlig", 0xDF},   {"ndash", 0x2013},
    {"mdash", 0x2014}, {"bdquo", 0x201E}, {"ldquo", 0x201C}, {"rdquo", 0x201D}, {"sbquo", 0x201A},
    {"lsquo", 0x2018}, {"rsquo", 0x2019}, {"laquo", 0xAB},   {"raquo", 0xBB},   {"hellip", 0x2026},
    {"copy", 0xA9},    {"reg", 0xAE},     {"trade", 0x2122}, {"middot", 0xB7},  {"bull", 0x2022},
    {"sect", 0xA7},    {"deg", 0xB0},     {"eacute", 0xE9},  {"egrave", 0xE8},  {"agrave", 0xE0},
    {"euml", 0xEB},    {"shy", 0xAD},
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
    const char32_t character = EntityCharacter(QString::fromLatin1(text.sliced(at + 1, end - 1)));
    if (character == 0)
        return std::nullopt;
    return std::pair{toStored(QString::fromUcs4(&character, 1)), end + 1};
}

// Text between tags: entities and "=3D" decoded. Most runs hold neither and are copied whole.
QByteArray decoded(QByteArrayView text) {
    QByteArray out;
    out.reserve(text.size());
    qsizetype copied = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '&' && text[i] != '=')
            continue;
        qsizetype length = 0;
        if (text[i] == '=' && text.sliced(i + 1).startsWith("3D")) {
            out.append(text.sliced(copied, i - copied)).append('=');
            length = 3;
        } else if (const auto entity = text[i] == '&' ? entityAt(text, i) : std::nullopt) {
            out.append(text.sliced(copied, i - copied)).append(entity->first);
            length = entity->second;
        } else {
            continue;
        }
        i += length - 1;
        copied = i + 1;
    }
    return out.append(text.sliced(copied));
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

// The name of a tag ("b", "/li", "br") in small letters; a longer one than any tag of interest is cut.
struct TagName {
    char text[12] = {};
    bool is(const char* name) const { return std::strcmp(text, name) == 0; }
};
TagName tagName(QByteArrayView tag) {
    TagName name;
    qsizetype n = 0;
    for (qsizetype i = 1; i < tag.size() && n < qsizetype(sizeof name.text) - 1; ++i) {
        const char c = tag[i];
        if (!(isalnum(uchar(c)) || (i == 1 && c == '/')))
            break;
        name.text[n++] = char(tolower(uchar(c)));
    }
    return name;
}

bool isBlockTag(const TagName& name) {
    static const char* const blocks[] = {"p",  "div", "ul", "ol", "h1",    "h2",     "h3",        "h4",
                                         "h5", "h6",  "tr", "hr", "table", "center", "blockquote"};
    const char* bare = name.text[0] == '/' ? name.text + 1 : name.text;
    return std::any_of(std::begin(blocks), std::end(blocks),
                       [bare](const char* block) { return std::strcmp(bare, block) == 0; });
}

// Whether text[i] opens a tag: "<" before a letter, "/" or "!", closed by a ">" further on.
bool isTagStart(QByteArrayView text, qsizetype i) {
    return text[i] == '<' && i + 1 < text.size() &&
           (isalpha(uchar(text[i + 1])) || text[i + 1] == '/' || text[i + 1] == '!') &&
           text.indexOf('>', i) > 0;
}

// A news text is converted for every block of every rendering, so the line grows in a plain string,
// character by character, without a call per character.
class PlainWriter {
public:
    QList<QByteArray> convert(QByteArrayView stored) {
        qsizetype i = 0;
        while (i < stored.size()) {
            const char c = stored[i];
            if (c == '<' && isTagStart(stored, i)) {
                if (stored.sliced(i).startsWith("<!--")) {
                    const qsizetype close = stored.indexOf("-->", i);
                    i = close < 0 ? stored.size() : close + 3;
                } else {
                    const qsizetype end = stored.indexOf('>', i);
                    tag(stored.sliced(i, end + 1 - i));
                    i = end + 1;
                }
            } else if (isBlank(c)) {
                blank_ = hasText_;
                ++i;
            } else if (const auto entity = c == '&' ? entityAt(stored, i) : std::nullopt) {
                put(entity->first.constData(), entity->first.size());
                i += entity->second;
            } else if (c == '=' && stored.sliced(i + 1).startsWith("3D")) {
                put("=", 1);
                i += 3;
            } else {
                // The run of ordinary characters up to the next blank, tag, entity or escape, at once.
                qsizetype end = i + 1;
                while (end < stored.size() && !isBlank(stored[end]) && stored[end] != '<' &&
                       stored[end] != '&' && stored[end] != '=')
                    ++end;
                put(stored.data() + i, end - i);
                i = end;
            }
        }
        endLine();
        return lines_;
    }

private:
    void put(const char* bytes, qsizetype n) {
        if (blank_)
            line_.push_back(' ');
        blank_ = false;
        hasText_ = true;
        line_.append(bytes, size_t(n));
    }

    // Decoded text, put as words between single blanks as a browser shows it.
    void text(const QByteArray& run) {
        for (char c : run) {
            if (isBlank(c))
                blank_ = hasText_;
            else
                put(&c, 1);
        }
    }

    void tag(QByteArrayView tag) {
        const TagName name = tagName(tag);
        if (name.is("br")) {
            breakLine();
        } else if (name.is("li")) {
            endLine();
            line_ = "- ";
        } else if (name.is("/li") || isBlockTag(name)) {
            endLine();
        } else if (name.is("a")) {
            href_ = hrefOf(tag);
            linkStart_ = line_.size() + (blank_ ? 1 : 0);
            linkLine_ = lines_.size();
        } else if (name.is("/a") && !href_.isEmpty()) {
            const QByteArray linkText = linkLine_ == lines_.size() && linkStart_ <= line_.size()
                                            ? QByteArray(line_.data() + linkStart_, line_.size() - linkStart_)
                                            : QByteArray();
            if (linkText.trimmed().isEmpty())
                text(href_);
            else if (comparable(linkText) != comparable(href_))
                text(" <" + href_ + '>');
            href_.clear();
        }
    }

    // A line ends where the text asks for one (<br>): an empty one stays.
    void breakLine() {
        lines_.append(QByteArray(line_.data(), qsizetype(line_.size())));
        line_.clear();
        blank_ = hasText_ = false;
    }

    // A line ends at a block: only a line with text counts.
    void endLine() {
        if (hasText_)
            lines_.append(QByteArray(line_.data(), qsizetype(line_.size())));
        line_.clear();
        blank_ = hasText_ = false;
    }

    QList<QByteArray> lines_;
    std::string line_;
    bool blank_ = false, hasText_ = false;
    QByteArray href_;
    size_t linkStart_ = 0;
    qsizetype linkLine_ = 0;
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

QByteArray flowedLine(QByteArrayView line) {
    const bool soft = line.endsWith(' ');
    if (soft)
        line.chop(1);
    QByteArray out;
    out.reserve(line.size() + 4);
    if (line.startsWith(' ') || line.startsWith('>') || line.startsWith("From "))
        out.append(' ');
    if (line.contains('='))
        out.append(Check3D(line.toByteArray()));
    else
        out.append(line);
    if (soft)
        out.append("=20");
    return out;
}

}  // namespace

char32_t EntityCharacter(QStringView name) {
    if (name.startsWith(u'#')) {
        bool ok = false;
        const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
        const uint character = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        return ok && character <= 0x10FFFF ? char32_t(character) : 0;
    }
    for (const auto& entity : kEntities)
        if (name == QLatin1String(entity.name))
            return entity.character;
    return 0;
}

QList<QByteArray> MarkupToPlainLines(const QByteArray& stored) {
    return PlainWriter().convert(QByteArrayView(stored));
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
    const QByteArrayView text = QByteArrayView(line).trimmed();
    const bool hasMarker = text.contains('\x01');
    // The line so far is text[start, end); words are appended by moving its end.
    qsizetype start = 0, end = 0;
    int shown = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            ++i;
            continue;
        }
        qsizetype wordEnd = text.indexOf(' ', i);
        if (wordEnd < 0)
            wordEnd = text.size();
        const QByteArrayView word = text.sliced(i, wordEnd - i);
        const int wordWidth = hasMarker ? shownWidth(word) : int(word.size());
        if (end > start && shown + 1 + wordWidth > width) {
            out.append(flowedLine(text.sliced(start, i - start)));
            start = i;
            shown = 0;
        } else if (end > start) {
            shown += int(i - end);
        }
        end = wordEnd;
        shown += wordWidth;
        i = wordEnd;
    }
    out.append(flowedLine(text.sliced(start, end - start)));
    return out;
}

}  // namespace zw

#include "render/Fields.h"

#include <QUrl>

#include <algorithm>

#include "platform/Text.h"

namespace zw {

namespace {

constexpr char kMarkerOpen = '\x01';
constexpr char kMarkerClose = '\x02';
// A longer text in braces is prose, not a column name.
constexpr qsizetype kMaxFieldText = 200;

// Spellings of the columns every list has, as the list reader takes them: one key each.
struct Synonym {
    const char16_t* spelling;
    const char16_t* key;
};
constexpr Synonym kSynonyms[] = {
    {u"email", u"email"},           {u"mail", u"email"},
    {u"emailadresse", u"email"},    {u"mailadresse", u"email"},
    {u"emailaddress", u"email"},    {u"mailaddress", u"email"},
    {u"vorname", u"vorname"},       {u"firstname", u"vorname"},
    {u"givenname", u"vorname"},     {u"nachname", u"nachname"},
    {u"familienname", u"nachname"}, {u"lastname", u"nachname"},
    {u"surname", u"nachname"},      {u"familyname", u"nachname"},
};

// One piece of a text in field syntax: a typed character, or a field.
struct Piece {
    char literal = 0;
    bool isField = false;
    QByteArray name;
    QByteArray fallback;
    bool hasFallback = false;
};

// The field at text[open] ("{name}" or "{name|fallback}"), or none; end receives the index after it.
bool readField(const QByteArray& text, qsizetype open, Piece& piece, qsizetype& end) {
    // Only as far as a field can reach: a long text full of "{" is read in linear time.
    const QByteArrayView reach =
        QByteArrayView(text).sliced(open + 1).first(qMin(kMaxFieldText + 1, text.size() - open - 1));
    const qsizetype found = reach.indexOf('}');
    if (found < 0)
        return false;
    const qsizetype close = open + 1 + found;
    const QByteArray inner = text.mid(open + 1, close - open - 1);
    for (char c : inner) {
        if (uchar(c) < 0x20 || c == '{')
            return false;
    }
    const qsizetype bar = inner.indexOf('|');
    piece.name = trimmed8(bar < 0 ? inner : inner.left(bar));
    // A column name, not the braces of a style rule ("{color:red}") or of markup.
    bool named = false;
    for (char c : piece.name) {
        if (QByteArrayView(":;<>\"=").contains(c))
            return false;
        named = named || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                uchar(c) >= 0xC0;
    }
    if (!named)
        return false;
    piece.hasFallback = bar >= 0;
    piece.fallback = piece.hasFallback ? inner.mid(bar + 1) : QByteArray();
    piece.isField = true;
    end = close + 1;
    return true;
}

// Walks text piece by piece; each calls take. Returns whether any field syntax was found.
template <typename Take>
bool walkFields(const QByteArray& text, Take take) {
    bool found = false;
    for (qsizetype i = 0; i < text.size();) {
        const char c = text[i];
        Piece piece;
        qsizetype end = i + 1;
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            piece.literal = c;
            end = i + 2;
            found = true;
        } else if (c == '{' && readField(text, i, piece, end)) {
            found = true;
        } else {
            piece.literal = c;
        }
        take(piece);
        i = end;
    }
    return found;
}

QByteArray markFields(const QByteArray& text, FieldSet& set, FieldKind kind) {
    if (!hasFieldSyntax(text))
        return text;
    QByteArray out;
    out.reserve(text.size());
    walkFields(text, [&](const Piece& piece) {
        if (!piece.isField) {
            out += piece.literal;
            return;
        }
        out += set.marker({fromStored(piece.name), fromStored(piece.fallback), piece.hasFallback, kind});
    });
    return out;
}

QByteArray htmlEscaped(const QString& value) {
    return toStored(value.toHtmlEscaped().replace(u'\'', QLatin1String("&#39;")));
}

// A value as it goes in at place; the text parts are quoted-printable, so "=" is escaped there.
QByteArray encodeValue(const QString& value, FieldKind kind, FieldPlace place) {
    if (kind == FieldKind::Query)
        return QUrl::toPercentEncoding(value);
    switch (place) {
        case FieldPlace::Html:
            return htmlEscaped(value).replace("=", "=3D");
        case FieldPlace::Plain:
            return toStored(value).replace("=", "=3D");
        case FieldPlace::Header:
            break;
    }
    return toStored(value);
}

}  // namespace

QByteArray FieldSet::marker(const Field& field) {
    qsizetype index = fields.indexOf(field);
    if (index < 0) {
        index = fields.size();
        fields.append(field);
    }
    return kMarkerOpen + QByteArray::number(index) + kMarkerClose;
}

QStringList FieldSet::names() const {
    QStringList names;
    QStringList keys;
    for (const Field& field : fields) {
        const QString key = fieldKey(field.name);
        if (!keys.contains(key)) {
            keys.append(key);
            names.append(field.name);
        }
    }
    return names;
}

QByteArray FieldSet::serialize() const {
    QByteArray out = "Betreff=" + subject.toBase64() + '\n';
    for (const Field& field : fields)
        out += "Feld=" + QByteArray(1, char(field.kind)) + ';' + field.name.toUtf8().toBase64() + ';' +
               (field.hasFallback ? "1;" : "0;") + field.fallback.toUtf8().toBase64() + '\n';
    return out;
}

FieldSet FieldSet::parse(const QByteArray& bytes) {
    FieldSet set;
    for (const QByteArray& line : bytes.split('\n')) {
        if (line.startsWith("Betreff=")) {
            set.subject = QByteArray::fromBase64(line.mid(8));
        } else if (line.startsWith("Feld=")) {
            const QList<QByteArray> parts = line.mid(5).split(';');
            if (parts.size() != 4)
                continue;
            set.fields.append({QString::fromUtf8(QByteArray::fromBase64(parts[1])),
                               QString::fromUtf8(QByteArray::fromBase64(parts[3])), parts[2] == "1",
                               parts[0] == "Q" ? FieldKind::Query : FieldKind::Text});
        }
    }
    return set;
}

QString fieldKey(const QString& name) {
    QString letters;
    QString key;
    for (QChar c : name) {
        if (c.isLetter())
            letters += c.toLower();
        if (c.isLetterOrNumber())
            key += c.toLower();
    }
    for (const Synonym& synonym : kSynonyms) {
        if (letters == QStringView(synonym.spelling))
            return QString::fromUtf16(synonym.key);
    }
    return key;
}

void appendFieldValue(QString& out, QStringView cell) {
    cell = cell.trimmed();
    const auto plain = [](QChar c) {
        const char16_t u = c.unicode();
        return u >= 0x20 && !(u >= 0x7f && u < 0xa0) && u != 0x2028 && u != 0x2029;
    };
    if (std::all_of(cell.begin(), cell.end(), plain)) {
        out += cell;  // nearly every cell
        return;
    }
    const qsizetype start = out.size();
    for (QChar c : cell) {
        const char16_t u = c.unicode();
        const bool lineBreak = u == u'\n' || u == u'\r' || u == 0x2028 || u == 0x2029;
        if (lineBreak || u == u'\t' || u == u' ') {
            // CR LF, or a break after a blank, is one blank
            if (out.size() > start && !(lineBreak && out.back() == u' '))
                out += u' ';
        } else if (plain(c)) {
            out += c;
        }
    }
    while (out.size() > start && out.back() == u' ') out.chop(1);
}

QString cleanFieldValue(const QString& cell) {
    QString out;
    appendFieldValue(out, cell);
    return out;
}

bool hasFieldSyntax(const QByteArray& text) {
    if (!text.contains('{') && !text.contains('}'))
        return false;
    return walkFields(text, [](const Piece&) {});
}

QByteArray markTextFields(const QByteArray& text, FieldSet& set) {
    return markFields(text, set, FieldKind::Text);
}

QByteArray markLinkFields(const QByteArray& address, FieldSet& set) {
    const qsizetype query = address.indexOf('?');
    if (query < 0)
        return address;
    return address.left(query + 1) + markFields(address.mid(query + 1), set, FieldKind::Query);
}

QByteArray markBodyFields(const QByteArray& text, FieldSet& set) {
    if (!hasFieldSyntax(text))
        return text;
    // Inside a tag each attribute value is a place of its own: an address takes the link's rules, any
    // other value the text's (escaped for an attribute when filled in), and a value typed without
    // quotes gets them, so that no value can end it and add an attribute. The editor writes links as
    // <a href=3D"ADDRESS">: "=3D" is the quoted-printable form of "=".
    auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; };
    auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    QByteArray out;
    out.reserve(text.size() + 16);
    qsizetype done = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype open = text.indexOf('<', i);
        if (open < 0)
            break;
        i = open + 1;
        if (i < text.size() && text[i] == '/')
            ++i;
        if (i >= text.size() || !isLetter(text[i]))
            continue;
        out += markTextFields(text.mid(done, open - done), set);
        done = open;
        while (i < text.size() && !isBlank(text[i]) && text[i] != '>' && text[i] != '/') ++i;
        while (i < text.size() && text[i] != '>') {
            if (isBlank(text[i]) || text[i] == '/') {
                ++i;
                continue;
            }
            const qsizetype nameStart = i;
            while (i < text.size() && !isBlank(text[i]) && text[i] != '>' && text[i] != '/' && text[i] != '=')
                ++i;
            const QByteArray name = asciiLower(text.mid(nameStart, i - nameStart));
            qsizetype j = i;
            while (j < text.size() && isBlank(text[j])) ++j;
            if (j >= text.size() || text[j] != '=') {
                if (i == nameStart)
                    ++i;  // a stray "=" or the like
                continue;
            }
            ++j;
            if (asciiLower(text.mid(j, 2)) == "3d")
                j += 2;
            while (j < text.size() && isBlank(text[j])) ++j;
            const bool quoted = j < text.size() && (text[j] == '"' || text[j] == '\'');
            const qsizetype valueStart = quoted ? j + 1 : j;
            qsizetype valueEnd = valueStart;
            if (quoted) {
                valueEnd = text.indexOf(text[j], valueStart);
                if (valueEnd < 0)
                    valueEnd = text.size();
            } else {
                while (valueEnd < text.size() && !isBlank(text[valueEnd]) && text[valueEnd] != '>') ++valueEnd;
            }
            const QByteArray value = text.mid(valueStart, valueEnd - valueStart);
            i = quoted ? qMin(valueEnd + 1, text.size()) : valueEnd;
            if (!hasFieldSyntax(value))
                continue;
            const bool address = QByteArrayView("|href|src|action|background|cite|longdesc|usemap|poster|"
                                                "formaction|data|srcset|")
                                     .contains("|" + name + "|");
            const QByteArray marked = address ? markLinkFields(value, set) : markTextFields(value, set);
            out += text.mid(done, valueStart - done);
            if (!quoted && hasMarker(marked))
                out += '"' + marked + '"';
            else
                out += marked;
            done = valueEnd;
        }
    }
    return out + markTextFields(text.mid(done), set);
}

QStringList resolveFields(const FieldSet& set, const FieldValues* values) {
    QStringList resolved;
    resolved.reserve(set.fields.size());
    for (const Field& field : set.fields) {
        if (!values) {
            resolved.append(field.hasFallback ? field.fallback : field.name);
            continue;
        }
        const QString value = cleanFieldValue(values->value(fieldKey(field.name)));
        resolved.append(value.isEmpty() ? field.fallback : value);
    }
    return resolved;
}

QByteArray fillMarkers(const QByteArray& line, const FieldSet& set, const QStringList& resolved,
                       FieldPlace place) {
    if (!hasMarker(line))
        return line;
    QByteArray out;
    out.reserve(line.size() + 32);
    qsizetype done = 0;
    for (qsizetype open = line.indexOf(kMarkerOpen); open >= 0; open = line.indexOf(kMarkerOpen, done)) {
        const qsizetype close = line.indexOf(kMarkerClose, open + 1);
        if (close < 0)
            break;
        out += line.mid(done, open - done);
        bool ok = false;
        const qsizetype index = line.mid(open + 1, close - open - 1).toLongLong(&ok);
        if (ok && index >= 0 && index < set.fields.size() && index < resolved.size())
            out += encodeValue(resolved[index], set.fields[index].kind, place);
        done = close + 1;
    }
    return out + line.mid(done);
}

}  // namespace zw

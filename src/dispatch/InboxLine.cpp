#include "dispatch/InboxLine.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>

#include "dispatch/PreviewMessage.h"
#include "platform/Text.h"

namespace zw {

namespace {

// Elements whose content no reader sees as text.
const QStringList kHiddenElements = {u"head"_qs, u"title"_qs, u"style"_qs, u"script"_qs};
// Elements that end a word: their text does not run into the next one.
const QStringList kBreakingElements = {u"br"_qs, u"p"_qs,  u"div"_qs, u"td"_qs, u"th"_qs, u"tr"_qs,
                                       u"li"_qs, u"h1"_qs, u"h2"_qs,  u"h3"_qs, u"h4"_qs, u"table"_qs,
                                       u"ul"_qs, u"ol"_qs, u"hr"_qs,  u"img"_qs};

const QHash<QString, QChar> kNamedReferences = {
    {u"amp"_qs, u'&'},    {u"lt"_qs, u'<'},     {u"gt"_qs, u'>'},      {u"quot"_qs, u'"'},
    {u"apos"_qs, u'\''},  {u"nbsp"_qs, u' '},   {u"auml"_qs, u'ä'},    {u"ouml"_qs, u'ö'},
    {u"uuml"_qs, u'ü'},   {u"Auml"_qs, u'Ä'},   {u"Ouml"_qs, u'Ö'},    {u"Uuml"_qs, u'Ü'},
    {u"szlig"_qs, u'ß'},  {u"euro"_qs, u'€'},   {u"ndash"_qs, u'–'},   {u"mdash"_qs, u'—'},
    {u"hellip"_qs, u'…'}, {u"copy"_qs, u'©'},   {u"bdquo"_qs, u'„'},   {u"ldquo"_qs, u'“'},
    {u"rdquo"_qs, u'”'},  {u"shy"_qs, QChar()}, {u"zwnj"_qs, QChar()},
};

// The character reference at html[i] ("&amp;", "&#228;", "&#xE4;"), appended to out; returns the index
// after it, or i + 1 with "&" appended when it is none.
qsizetype readReference(const QString& html, qsizetype i, QString& out) {
    const qsizetype semicolon = html.indexOf(u';', i + 1);
    if (semicolon > i + 1 && semicolon - i <= 10) {
        const QString name = html.mid(i + 1, semicolon - i - 1);
        if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.startsWith(u"#x", Qt::CaseInsensitive) ? name.mid(2).toUInt(&ok, 16)
                                                                          : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0 && code <= 0x10FFFF) {
                const char32_t c = code;
                out += QString::fromUcs4(&c, 1);
                return semicolon + 1;
            }
        } else if (const auto it = kNamedReferences.constFind(name); it != kNamedReferences.cend()) {
            if (!it->isNull())
                out += *it;
            return semicolon + 1;
        }
    }
    out += u'&';
    return i + 1;
}

QString tagName(const QString& html, qsizetype start) {
    qsizetype end = start;
    while (end < html.size() && (html[end].isLetterOrNumber())) ++end;
    return html.mid(start, end - start).toLower();
}

QString decodeHtml(const PreviewMessage& message) {
    // As browsers do, Latin-1 is read as Windows-1252, whose euro sign and quotes the renderer writes.
    const QByteArray charset = message.htmlCharset.toLower();
    if (charset.isEmpty() || charset == "iso-8859-1" || charset == "latin1" || charset == "us-ascii")
        return decodeWindows1252(message.html);
    QStringDecoder decoder(charset);
    if (!decoder.isValid())
        return decodeWindows1252(message.html);
    return decoder.decode(message.html);
}

}  // namespace

QString InboxLine::text() const {
    QStringList parts;
    for (const QString& part : {sender, subject, snippet})
        if (!part.isEmpty())
            parts.append(part);
    return parts.join(QStringLiteral(" – "));
}

static QString imprintName(const QString& imprintText) {
    // The imprint is a footer of several lines ("Verein e.V. | Straße 1 | Ort<br>Vorsitz: ..."): its
    // name is the first line's first part. A line with a field names nobody in particular.
    static const QRegularExpression lineBreak(QStringLiteral("<br\\s*/?>"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    static const QRegularExpression separator(QStringLiteral("\\s+[|\u00B7\u2013-]\\s+"));
    for (QString line : imprintText.split(lineBreak)) {
        line.remove(tag);
        line = line.section(separator, 0, 0).simplified();
        if (!line.isEmpty() && !line.contains(u'{'))
            return line;
    }
    return {};
}

QString inboxSenderName(const QString& profileName, const QString& profileAddress, const QString& imprintText,
                        const QString& imprintMail) {
    for (const QString& candidate : {profileName, profileAddress, imprintName(imprintText), imprintMail})
        if (!candidate.trimmed().isEmpty())
            return candidate.simplified();
    return {};
}

QString inboxSnippet(const QString& html, qsizetype maxLength) {
    // Everything before the body is head; a fragment without a body is all body.
    qsizetype i = 0;
    const qsizetype body = html.indexOf(QLatin1String("<body"), 0, Qt::CaseInsensitive);
    if (body >= 0)
        i = qMax(body, html.indexOf(u'>', body) + 1);
    QString out;
    bool blank = true;    // the text so far ends in a blank (or is empty): no second one
    QString hiddenFirst;  // the element of a hidden preview text at the top, while in it
    const auto addBlank = [&] {
        if (!blank)
            out += u' ';
        blank = true;
    };
    // One character beyond the limit tells a cut text from one that just fits.
    while (i < html.size() && out.size() <= maxLength + 1) {
        const QChar c = html[i];
        if (c == u'<') {
            if (html.mid(i, 4) == QLatin1String("<!--")) {
                const qsizetype end = html.indexOf(QLatin1String("-->"), i + 4);
                i = end < 0 ? html.size() : end + 3;
                continue;
            }
            const bool closing = i + 1 < html.size() && html[i + 1] == u'/';
            const QString name = tagName(html, i + (closing ? 2 : 1));
            const qsizetype end = html.indexOf(u'>', i);
            if (name.isEmpty() && !closing && (i + 1 >= html.size() || html[i + 1] != u'!')) {
                out += c;  // a "<" of the text itself
                blank = false;
                ++i;
                continue;
            }
            const QString tag = html.mid(i, end < 0 ? -1 : end - i).toLower().remove(u' ');
            i = end < 0 ? html.size() : end + 1;
            // A hidden text before any other is the preview text written for the inbox: it stands alone.
            if (closing && name == hiddenFirst)
                break;
            if (!closing && out.isEmpty() && hiddenFirst.isEmpty() && tag.contains(u"display:none"_qs))
                hiddenFirst = name;
            if (!closing && kHiddenElements.contains(name)) {
                const qsizetype close = html.indexOf(QLatin1String("</") + name, i, Qt::CaseInsensitive);
                const qsizetype closeEnd = close < 0 ? -1 : html.indexOf(u'>', close);
                i = closeEnd < 0 ? html.size() : closeEnd + 1;
            }
            if (kBreakingElements.contains(name))
                addBlank();
            continue;
        }
        if (c == u'&') {
            QString decoded;
            i = readReference(html, i, decoded);
            for (const QChar d : decoded) {
                if (d.isSpace()) {
                    addBlank();
                } else {
                    out += d;
                    blank = false;
                }
            }
            continue;
        }
        if (c.isSpace()) {
            addBlank();
        } else {
            out += c;
            blank = false;
        }
        ++i;
    }
    out = out.trimmed();
    if (out.size() > maxLength)
        out = out.left(maxLength).trimmed() + u'…';
    return out;
}

InboxLine inboxLine(const PreviewMessage& message, const QString& sender) {
    return {sender, message.subject, inboxSnippet(decodeHtml(message))};
}

}  // namespace zw

#include "inbox/BounceReader.h"

#include <gmime/gmime.h>

#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <memory>
#include <mutex>

#include "inbox/BounceVerdict.h"
#include "send/RecipientList.h"

namespace zw::inbox {

namespace {

// GMime's objects, released with the scope that made them.
struct Unref {
    void operator()(gpointer p) const {
        if (p)
            g_object_unref(p);
    }
};
template <typename T>
using Owned = std::unique_ptr<T, Unref>;

void initGMimeOnce() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

// The evidence is a line for people to read, not the whole server dialogue.
constexpr qsizetype kMaxEvidence = 300;
// How far into a reply its request to be removed must stand: below that it is quoted text.
constexpr int kRequestLines = 6;

QString oneLine(const QString& text) {
    const QString line = text.simplified();
    return line.size() > kMaxEvidence ? line.left(kMaxEvidence - 1) + u'…' : line;
}

QString header(GMimeObject* object, const char* name) {
    const char* value = g_mime_object_get_header(object, name);
    return value ? QString::fromUtf8(value).simplified() : QString();
}

QString fromAddress(GMimeMessage* message) {
    InternetAddressList* from = g_mime_message_get_from(message);
    if (!from || internet_address_list_length(from) < 1)
        return {};
    InternetAddress* first = internet_address_list_get_address(from, 0);
    if (!INTERNET_ADDRESS_IS_MAILBOX(first))
        return {};
    return QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(first))).toLower();
}

QString fromName(GMimeMessage* message) {
    InternetAddressList* from = g_mime_message_get_from(message);
    if (!from || internet_address_list_length(from) < 1)
        return {};
    const char* name = internet_address_get_name(internet_address_list_get_address(from, 0));
    return name ? QString::fromUtf8(name) : QString();
}

// A leaf part's content, transfer encoding undone.
QByteArray partBytes(GMimeObject* object) {
    if (!GMIME_IS_PART(object))
        return {};
    GMimeDataWrapper* content = g_mime_part_get_content(GMIME_PART(object));
    if (!content)
        return {};
    Owned<GMimeStream> memory(g_mime_stream_mem_new());
    g_mime_data_wrapper_write_to_stream(content, memory.get());
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(memory.get()));
    return QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
}

QString decodeText(const QByteArray& bytes, const char* charset) {
    if (charset) {
        QStringDecoder decoder(charset);
        if (decoder.isValid()) {
            const QString text = decoder.decode(bytes);
            if (!decoder.hasError())
                return text;
        }
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QString htmlToText(QString html) {
    static const QRegularExpression breaks(QStringLiteral("<(br|/p|/div|/tr|/li)[^>]*>"),
                                           QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression tags(QStringLiteral("<[^>]*>"));
    static const QRegularExpression hidden(
        QStringLiteral("<(style|script)[^>]*>.*?</\\1>"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    html.remove(hidden).replace(breaks, QStringLiteral("\n")).remove(tags);
    return html.replace(QLatin1String("&nbsp;"), QLatin1String(" "))
        .replace(QLatin1String("&lt;"), QLatin1String("<"))
        .replace(QLatin1String("&gt;"), QLatin1String(">"))
        .replace(QLatin1String("&quot;"), QLatin1String("\""))
        .replace(QLatin1String("&amp;"), QLatin1String("&"));
}

// What the walk over the parts collects.
struct Parts {
    QString plain;                     // every text/plain part, in order
    QString html;                      // every text/html part as text, for messages without plain text
    QList<QByteArray> deliveryStatus;  // the message/delivery-status parts
};

void collect(GMimeObject*, GMimeObject* part, gpointer data) {
    Parts& parts = *static_cast<Parts*>(data);
    GMimeContentType* type = g_mime_object_get_content_type(part);
    if (!type || !GMIME_IS_PART(part))
        return;
    // An attached original is the newsletter itself: its text must not speak for the bounce.
    const char* disposition = g_mime_object_get_disposition(part);
    const bool attachment = disposition && g_ascii_strcasecmp(disposition, "attachment") == 0;
    if (g_mime_content_type_is_type(type, "message", "delivery-status") ||
        g_mime_content_type_is_type(type, "message", "global-delivery-status")) {
        parts.deliveryStatus.append(partBytes(part));
    } else if (g_mime_content_type_is_type(type, "text", "plain") && !attachment) {
        parts.plain +=
            decodeText(partBytes(part), g_mime_content_type_get_parameter(type, "charset")) + u'\n';
    } else if (g_mime_content_type_is_type(type, "text", "html") && !attachment) {
        parts.html +=
            htmlToText(decodeText(partBytes(part), g_mime_content_type_get_parameter(type, "charset"))) +
            u'\n';
    }
}

QString subjectOf(GMimeMessage* message) {
    const char* subject = g_mime_message_get_subject(message);
    return subject ? QString::fromUtf8(subject).simplified() : QString();
}

// The field blocks of a delivery-status part: the per-message block, then one per recipient.
QList<QList<std::pair<QByteArray, QByteArray>>> fieldBlocks(const QByteArray& bytes) {
    QList<QList<std::pair<QByteArray, QByteArray>>> blocks(1);
    for (QByteArray line : bytes.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty()) {
            if (!blocks.last().isEmpty())
                blocks.append(QList<std::pair<QByteArray, QByteArray>>());
        } else if ((line.startsWith(' ') || line.startsWith('\t')) && !blocks.last().isEmpty()) {
            blocks.last().last().second += ' ' + line.trimmed();
        } else if (const qsizetype colon = line.indexOf(':'); colon > 0) {
            blocks.last().append(
                std::pair(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()));
        }
    }
    return blocks;
}

// "rfc822; Name@Example.org" or "<name@example.org>" to "name@example.org".
QString addressOfField(const QByteArray& value) {
    QByteArray address = value.mid(value.indexOf(';') + 1).trimmed();
    if (address.startsWith('<') && address.endsWith('>'))
        address = address.mid(1, address.size() - 2);
    return QString::fromUtf8(address).trimmed().toLower();
}

bool containsAny(const QString& text, std::initializer_list<const char*> phrases) {
    for (const char* phrase : phrases)
        if (text.contains(QLatin1String(phrase), Qt::CaseInsensitive))
            return true;
    return false;
}

// Where a bounce's own words end and the copy of the returned message begins.
QString withoutReturnedCopy(const QString& text) {
    static const QRegularExpression copy(
        QStringLiteral("^.*(below this line is a copy of the message|this is a copy of the message|"
                       "message text follows|original message headers|-----original message-----|"
                       "^received: |^return-path: |^from: .*\\n(.*\\n)*?^subject: ).*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = copy.match(text);
    return m.hasMatch() ? text.left(m.capturedStart()) : text;
}

const QRegularExpression& addressPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("[A-Za-z0-9.!#$%&'*+/=?^_`{|}~-]+@[A-Za-z0-9-]+(?:\\.[A-Za-z0-9-]+)+"));
    return pattern;
}

bool isDaemonAddress(const QString& address) {
    const QString local = address.section(u'@', 0, 0).toLower();
    return local == u"mailer-daemon" || local == u"postmaster" || local == u"mail-daemon" ||
           local == u"mailerdaemon" || local == u"noreply" || local == u"no-reply" || local == u"abuse";
}

bool looksLikeBounce(GMimeMessage* message, const QString& subject, const QString& from) {
    static const QRegularExpression bounceSubject(
        QStringLiteral(
            "undeliver|unzustellbar|nicht zustellbar|mail delivery failed|delivery status notification|"
            "failure notice|returned mail|delivery failure|non[- ]?delivery|mail delivery problem|"
            "delivery has failed|delivery notification|warning: message .* delayed|"
            "warning: could not send|message not delivered|could not be delivered|unable to deliver|"
            "failed delivery|delivery error|returned to sender|nondeliverable|"
            "zustellung.*fehlgeschlagen|fehlgeschlagene zustellung|nicht zugestellt|zustellungsfehler|"
            "fehler bei der zustellung|benachrichtigung zum (ü|ue)bermittlungsstatus|mail system error"),
        QRegularExpression::CaseInsensitiveOption);
    if (!header(GMIME_OBJECT(message), "X-Failed-Recipients").isEmpty())
        return true;
    // A report, whatever its subject says: never an auto-reply.
    if (GMimeObject* body = g_mime_message_get_mime_part(message)) {
        GMimeContentType* type = g_mime_object_get_content_type(body);
        const char* report = type ? g_mime_content_type_get_parameter(type, "report-type") : nullptr;
        if (report && g_mime_content_type_is_type(type, "multipart", "report") &&
            (g_ascii_strcasecmp(report, "delivery-status") == 0 ||
             g_ascii_strcasecmp(report, "global-delivery-status") == 0))
            return true;
    }
    if (isDaemonAddress(from) ||
        fromName(message).contains(QLatin1String("Mail Delivery"), Qt::CaseInsensitive))
        return true;
    return bounceSubject.match(subject).hasMatch();
}

bool isAutoReply(GMimeMessage* message, const QString& subject) {
    GMimeObject* object = GMIME_OBJECT(message);
    const QString submitted = header(object, "Auto-Submitted").toLower();
    if (!submitted.isEmpty() && submitted != u"no")
        return true;
    if (!header(object, "X-Autoreply").isEmpty() || !header(object, "X-Autorespond").isEmpty() ||
        !header(object, "X-Autoresponder").isEmpty())
        return true;
    const QString precedence = header(object, "Precedence").toLower();
    if (precedence == u"auto_reply" || precedence == u"bulk" || precedence == u"junk" ||
        precedence == u"list")
        return true;
    return containsAny(subject, {"abwesenheitsnotiz", "out of office", "automatische antwort", "autoreply",
                                 "auto-reply", "automatic reply", "abwesenheit", "abwesend", "auto:"});
}

// The Message-ID of our message that a bounce returns: in the attached original or its headers,
// after the bounce's own header block.
QByteArray returnedMessageId(const QByteArray& raw) {
    qsizetype body = raw.indexOf("\n\n");
    if (const qsizetype crlf = raw.indexOf("\r\n\r\n"); crlf >= 0 && (body < 0 || crlf < body))
        body = crlf;
    if (body < 0)
        return {};
    static const QRegularExpression id(
        QStringLiteral("^Message-ID:[ \\t]*(?:\\r?\\n[ \\t]+)?(<[^>\\s]+>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = id.match(QString::fromLatin1(raw.mid(body)));
    return m.hasMatch() ? m.captured(1).toLatin1() : QByteArray();
}

InboxFinding::Kind kindOf(Verdict verdict) {
    switch (verdict) {
        case Verdict::Permanent:
            return InboxFinding::Permanent;
        case Verdict::SenderSide:
            return InboxFinding::SenderSide;
        default:
            return InboxFinding::Temporary;
    }
}

// A server still trying is no failure yet; it may report what stands in its way.
void markStillTrying(InboxFinding& f) {
    f.stillTrying = true;
    if (f.kind != InboxFinding::SenderSide)
        f.kind = InboxFinding::Temporary;
}

QList<InboxFinding> readDeliveryStatus(const QList<QByteArray>& parts, const QSet<QString>& excluded) {
    QList<InboxFinding> findings;
    for (const QByteArray& part : parts) {
        const auto blocks = fieldBlocks(part);
        for (qsizetype b = 1; b < blocks.size(); ++b) {
            QByteArray final, original, action, status, diagnostic;
            for (const auto& [name, value] : blocks[b]) {
                if (name == "final-recipient")
                    final = value;
                else if (name == "original-recipient")
                    original = value;
                else if (name == "action")
                    action = value.toLower();
                else if (name == "status")
                    status = value;
                else if (name == "diagnostic-code")
                    diagnostic = value.mid(value.indexOf(';') + 1).trimmed();
            }
            // "delivered", "relayed" and "expanded" report success: nothing to act on.
            if (!action.startsWith("failed") && !action.startsWith("delayed"))
                continue;
            QStringList names;
            for (const QByteArray& field : {final, original}) {
                const QString address = addressOfField(field);
                if (!field.isEmpty() && address.contains(u'@') && !excluded.contains(address) &&
                    !names.contains(address))
                    names.append(address);
            }
            if (names.isEmpty())
                continue;
            InboxFinding f;
            f.address = names.takeFirst();
            f.otherAddresses = names;
            f.status = enhancedStatus(QString::fromLatin1(status));
            f.evidence = oneLine(QStringLiteral("Status %1: %2")
                                     .arg(QString::fromLatin1(status), QString::fromUtf8(diagnostic)));
            const Verdict verdict =
                judgeBounceText(QStringLiteral("Status %1 %2")
                                    .arg(QString::fromLatin1(status), QString::fromUtf8(diagnostic)));
            f.kind = kindOf(verdict);
            if (action.startsWith("delayed"))
                markStillTrying(f);
            findings.append(f);
        }
    }
    return findings;
}

// Lines of the bounce's own words that cannot name the failed recipient: quoted text and a
// transcript's commands (">"), and header fields of the returned original.
bool cannotNameRecipient(const QString& line) {
    static const QRegularExpression field(
        QStringLiteral("^(from|to|cc|bcc|reply-to|sender|return-path|received|message-id|date|subject|"
                       "in-reply-to|references|delivered-to|list-unsubscribe)\\s*:"),
        QRegularExpression::CaseInsensitiveOption);
    return line.startsWith(u'>') || field.match(line).hasMatch();
}

// An address stands as the failed one first on its line, in angle brackets or parentheses, or after
// the words that introduce it; anywhere else it is prose ("write to help@...").
bool namesFailedAddress(const QString& line, qsizetype at, qsizetype end) {
    const QString before = line.left(at);
    static const QRegularExpression lead(QStringLiteral("^[\\s<\"'(*|-]*(rcpt to:\\s*<?)?$"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (lead.match(before).hasMatch())
        return true;
    const QChar open = at > 0 ? line[at - 1] : QChar();
    const QChar close = end < line.size() ? line[end] : QChar();
    if ((open == u'<' && close == u'>') || (open == u'(' && close == u')'))
        return true;
    static const QRegularExpression intro(
        QStringLiteral(
            "(deliver(ed)?( your message)? to|message to|zugestellt( werden)? an|zustellen an|recipients?:|"
            "empf(ä|ae)nger:|rfc822;|address(es)?( failed)?:)\\s*[<\"']?$"),
        QRegularExpression::CaseInsensitiveOption);
    return intro.match(before).hasMatch();
}

// A bounce in words: the failed addresses from X-Failed-Recipients or from the text, each judged by
// the text that follows it up to the next address, else by the whole text.
QList<InboxFinding> readBounceText(GMimeMessage* message, const QString& text,
                                   const QSet<QString>& excluded) {
    const QString own = withoutReturnedCopy(text);
    auto usable = [&](const QString& address) {
        return !excluded.contains(address) && !isDaemonAddress(address);
    };
    QStringList addresses;
    for (const QString& field : header(GMIME_OBJECT(message), "X-Failed-Recipients").split(u',')) {
        const QRegularExpressionMatch m = addressPattern().match(field);
        if (m.hasMatch() && usable(m.captured(0).toLower()) && !addresses.contains(m.captured(0).toLower()))
            addresses.append(m.captured(0).toLower());
    }
    struct Place {
        QString address;
        qsizetype at;
    };
    QList<Place> places;
    for (qsizetype lineStart = 0; lineStart < own.size();) {
        qsizetype lineEnd = own.indexOf(u'\n', lineStart);
        if (lineEnd < 0)
            lineEnd = own.size();
        const QString line = own.mid(lineStart, lineEnd - lineStart);
        if (!cannotNameRecipient(line.trimmed())) {
            for (auto it = addressPattern().globalMatch(line); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                const QString address = m.captured(0).toLower();
                if (!usable(address) || !namesFailedAddress(line, m.capturedStart(), m.capturedEnd()))
                    continue;
                if (places.isEmpty() || places.last().address != address)
                    places.append({address, lineStart + m.capturedStart()});
            }
        }
        lineStart = lineEnd + 1;
    }
    if (addresses.isEmpty())
        for (const Place& p : places)
            if (!addresses.contains(p.address))
                addresses.append(p.address);

    const Verdict overall = judgeBounceText(own);
    const bool stillTrying = saysStillTrying(subjectOf(message)) || saysStillTrying(own);
    QList<InboxFinding> findings;
    for (const QString& address : addresses) {
        QString segment;
        for (qsizetype i = 0; i < places.size(); ++i) {
            if (places[i].address != address)
                continue;
            const qsizetype end = i + 1 < places.size() ? places[i + 1].at : own.size();
            segment += own.mid(places[i].at, end - places[i].at) + u'\n';
        }
        Verdict verdict = judgeBounceText(segment);
        if (verdict == Verdict::Unknown)
            verdict = overall;
        InboxFinding f;
        f.address = address;
        f.kind = kindOf(verdict);
        f.status = enhancedStatus(segment.isEmpty() ? own : segment);
        f.evidence = oneLine(segment.isEmpty() ? own : segment);
        if (stillTrying)
            markStillTrying(f);
        findings.append(f);
    }
    return findings;
}

// The sender's addresses a bounce shows besides the given ones: the envelope sender of a transcript
// ("MAIL From:<...>") and the sender fields of the returned original, after the bounce's own headers.
QSet<QString> sendersNamed(const QByteArray& raw, const QStringList& ownAddresses) {
    QSet<QString> senders;
    for (const QString& a : ownAddresses) senders.insert(a.trimmed().toLower());
    qsizetype body = raw.indexOf("\n\n");
    if (const qsizetype crlf = raw.indexOf("\r\n\r\n"); crlf >= 0 && (body < 0 || crlf < body))
        body = crlf;
    if (body < 0)
        return senders;
    static const QRegularExpression fields(
        QStringLiteral("(^(return-path|from|sender|reply-to):[^\\n]*|mail from:\\s*<[^>\\n]*>)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    const QString rest = QString::fromLatin1(raw.mid(body));
    for (auto it = fields.globalMatch(rest); it.hasNext();) {
        const QString field = it.next().captured(0);
        for (auto a = addressPattern().globalMatch(field); a.hasNext();)
            senders.insert(a.next().captured(0).toLower());
    }
    return senders;
}

bool asksToLeave(const QString& text) {
    return containsAny(text, {"abmelden", "abmeldung", "austragen", "unsubscribe", "abbestellen",
                              "keine newsletter mehr", "keinen newsletter mehr"});
}

// The first lines the writer typed, before a quoted original.
QString firstLines(const QString& text) {
    static const QRegularExpression quoteStart(
        QStringLiteral("^(>|-----|_{5,}|am .* schrieb|on .* wrote|von: |from: |gesendet: |sent: )"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList lines;
    for (const QString& line : text.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty())
            continue;
        if (quoteStart.match(trimmed).hasMatch() || lines.size() == kRequestLines)
            break;
        lines.append(trimmed);
    }
    return lines.join(u'\n');
}

QByteArray repliedMessageId(GMimeMessage* message) {
    static const QRegularExpression id(QStringLiteral("<[^<>\\s]+>"));
    const QString inReplyTo = header(GMIME_OBJECT(message), "In-Reply-To");
    if (const QRegularExpressionMatch m = id.match(inReplyTo); m.hasMatch())
        return m.captured(0).toLatin1();
    QString last;
    for (auto it = id.globalMatch(header(GMIME_OBJECT(message), "References")); it.hasNext();)
        last = it.next().captured(0);
    return last.toLatin1();
}

QDateTime dateOf(GMimeMessage* message) {
    GDateTime* date = g_mime_message_get_date(message);
    return date ? QDateTime::fromSecsSinceEpoch(g_date_time_to_unix(date)) : QDateTime();
}

Owned<GMimeMessage> parse(const QByteArray& raw) {
    initGMimeOnce();
    Owned<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(raw.constData(), size_t(raw.size())));
    Owned<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    return Owned<GMimeMessage>(g_mime_parser_construct_message(parser.get(), nullptr));
}

// The unsubscribe address's own subject: whatever program sent it, it is a request.
bool isMailtoRequest(const QString& subject) {
    return subject.compare(QLatin1String("Abmelden"), Qt::CaseInsensitive) == 0;
}

}  // namespace

ReadResult readInboxMessage(const QByteArray& raw, const QStringList& ownAddresses) {
    ReadResult result;
    Owned<GMimeMessage> message = parse(raw);
    if (!message)
        return result;
    const QString subject = subjectOf(message.get());
    const QString from = fromAddress(message.get());
    const QDateTime date = dateOf(message.get());

    Parts parts;
    if (GMimeObject* body = g_mime_message_get_mime_part(message.get())) {
        if (GMIME_IS_MULTIPART(body))
            g_mime_multipart_foreach(GMIME_MULTIPART(body), collect, &parts);
        else
            collect(nullptr, body, &parts);
    }
    const QString text = parts.plain.trimmed().isEmpty() ? parts.html : parts.plain;

    auto finish = [&](MessageClass kind, QList<InboxFinding> findings, const QByteArray& original) {
        result.kind = kind;
        for (InboxFinding& f : findings) {
            f.date = date;
            f.originalMessageId = original;
        }
        result.findings = std::move(findings);
        return result;
    };

    QSet<QString> senders = sendersNamed(raw, ownAddresses);
    senders.insert(from);
    if (!parts.deliveryStatus.isEmpty()) {
        QList<InboxFinding> findings = readDeliveryStatus(parts.deliveryStatus, senders);
        return finish(findings.isEmpty() ? MessageClass::Other : MessageClass::Bounce, findings,
                      returnedMessageId(raw));
    }
    if (looksLikeBounce(message.get(), subject, from)) {
        // A report of success, or a bounce that names nobody: nothing to act on, and no auto-reply.
        if (saysDelivered(subject) ||
            (saysDelivered(text) && judgeBounceText(withoutReturnedCopy(text)) == Verdict::Unknown))
            return result;
        QList<InboxFinding> findings = readBounceText(message.get(), text, senders);
        return finish(findings.isEmpty() ? MessageClass::Other : MessageClass::Bounce, findings,
                      returnedMessageId(raw));
    }
    if (!isMailtoRequest(subject) && isAutoReply(message.get(), subject))
        return finish(MessageClass::AutoReply, {}, {});
    if (send::checkAddress(from).isEmpty() && !isDaemonAddress(from) &&
        (asksToLeave(subject) || asksToLeave(firstLines(text)))) {
        InboxFinding f;
        f.kind = InboxFinding::Unsubscribe;
        f.address = from;
        f.evidence = oneLine(subject.isEmpty() ? firstLines(text) : subject);
        return finish(MessageClass::Unsubscribe, {f}, repliedMessageId(message.get()));
    }
    return result;
}

bool worthFetching(const QByteArray& headerBlock) {
    Owned<GMimeMessage> message = parse(headerBlock + "\r\n");
    if (!message)
        return true;
    const QString subject = subjectOf(message.get());
    if (headerBlock.toLower().contains("multipart/report") ||
        looksLikeBounce(message.get(), subject, fromAddress(message.get())) || isMailtoRequest(subject))
        return true;
    if (isAutoReply(message.get(), subject) || !header(GMIME_OBJECT(message.get()), "List-Id").isEmpty())
        return false;
    // A request says so in its subject, or answers one of our copies; other mail matters only from an
    // address of a list, which the caller knows.
    return asksToLeave(subject) || !repliedMessageId(message.get()).isEmpty();
}

QString senderAddress(const QByteArray& headerBlock) {
    Owned<GMimeMessage> message = parse(headerBlock + "\r\n");
    return message ? fromAddress(message.get()) : QString();
}

}  // namespace zw::inbox

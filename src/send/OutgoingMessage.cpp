#include "send/OutgoingMessage.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTimeZone>
#include <QUrl>

#include <utility>

#include "platform/Error.h"
#include "platform/Text.h"
#include "render/MessageTexts.h"
#include "render/RenderMessage.h"

namespace zw::send {

namespace {

// SMTP's limit is 1000 octets with CR LF; a soft line break takes one more.
constexpr qsizetype kMaxBodyLine = 998;
// RFC 5322: a header line has at most 998 octets and should have at most 78.
constexpr qsizetype kMaxHeaderLine = 998;
constexpr qsizetype kFoldWidth = 78;

// A list header (List-Unsubscribe) with CR LF, as it stands while it fits a header line; a longer
// one is folded at 78 characters, between its addresses or inside an address's angle brackets, where
// RFC 2369 has readers ignore the blank.
QByteArray listHeader(const QByteArray& line) {
    if (line.size() <= kMaxHeaderLine)
        return line + "\r\n";
    QByteArray out;
    out.reserve(line.size() + line.size() / 25);
    qsizetype column = 0;
    bool inAngle = false;
    for (const char c : line) {
        if (column >= kFoldWidth - 1 && (c == ' ' || (inAngle && c != '>'))) {
            out += c == ' ' ? "\r\n" : "\r\n ";
            column = c == ' ' ? 0 : 1;
        }
        inAngle = c == '<' || (inAngle && c != '>');
        out += c;
        ++column;
    }
    return out + "\r\n";
}

bool startsWithField(const QByteArray& line, const char* name) {
    const qsizetype n = qsizetype(qstrlen(name));
    return line.size() > n && line[n] == ':' && asciiLower(line.left(n)) == asciiLower(QByteArray(name));
}

bool isDelimiter(const QByteArray& line) {
    for (const char* delimiter : {texts::kRelatedDelimiter, texts::kAlternativeDelimiter}) {
        if (line == delimiter || line == QByteArray(delimiter) + "--")
            return true;
    }
    return false;
}

bool needsEscape(uchar c) {
    return (c < 0x20 && c != '\t') || c >= 0x7f;
}

// A line of a quoted-printable part as SMTP may carry it: 8-bit and control bytes as "=XX", and
// soft line breaks where it is too long, never inside an "=XX".
void appendQuotedPrintableLine(QByteArray& out, const QByteArray& line) {
    static constexpr char hex[] = "0123456789ABCDEF";
    qsizetype length = 0;
    auto put = [&](const char* bytes, qsizetype n) {
        if (length + n > kMaxBodyLine - 1) {
            out.append("=\r\n");
            length = 0;
        }
        out.append(bytes, n);
        length += n;
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const uchar c = uchar(line[i]);
        if (needsEscape(c)) {
            const char escaped[3] = {'=', hex[c >> 4], hex[c & 15]};
            put(escaped, 3);
        } else if (c == '=' && i + 2 < line.size() && isxdigit(uchar(line[i + 1])) &&
                   isxdigit(uchar(line[i + 2]))) {
            put(line.constData() + i, 3);  // an escape of the rendering stays whole
            i += 2;
        } else {
            put(line.constData() + i, 1);
        }
    }
    out.append("\r\n");
}

// With personal fields, the line of a text part that holds a marker, with the lines its soft line
// breaks continued it on joined (a line ending in "=" goes on in the next); empty without a marker.
QByteArray markedLine(const QList<QByteArray>& lines, qsizetype& i) {
    qsizetype last = i;
    bool marked = hasMarker(lines[i]);
    while (last + 1 < lines.size() && lines[last].endsWith('=')) marked |= hasMarker(lines[++last]);
    if (!marked)
        return {};
    QByteArray joined;
    for (qsizetype j = i; j <= last; ++j) joined += j < last ? lines[j].chopped(1) : lines[j];
    i = last;
    return joined;
}

// The body after the header block, made fit for SMTP with its decoded content unchanged: the text
// parts (quoted-printable) get escapes and soft breaks, every other line passes as it is. With pieces,
// the lines with personal fields are left out for each recipient's own and the body comes in pieces.
QByteArray smtpSafeBody(const QList<QByteArray>& lines, qsizetype first,
                        QList<OutgoingMessage::BodyPiece>* pieces = nullptr) {
    QByteArray out;
    bool inPartHeader = false;
    bool quotedPrintable = false;
    FieldPlace place = FieldPlace::Plain;
    for (qsizetype i = first; i < lines.size(); ++i) {
        const QByteArray& line = lines[i];
        if (isDelimiter(line)) {
            inPartHeader = true;
            quotedPrintable = false;
        } else if (inPartHeader) {
            if (line.isEmpty())
                inPartHeader = false;
            else if (startsWithField(line, "Content-Transfer-Encoding"))
                quotedPrintable = asciiLower(line).contains("quoted-printable");
            else if (startsWithField(line, "Content-Type"))
                place = asciiLower(line).contains("text/html") ? FieldPlace::Html : FieldPlace::Plain;
        } else if (quotedPrintable) {
            if (pieces) {
                if (QByteArray joined = markedLine(lines, i); !joined.isEmpty()) {
                    pieces->append({std::exchange(out, {}), joined, place});
                    continue;
                }
            }
            appendQuotedPrintableLine(out, line);
            continue;
        }
        out.append(line);
        out.append("\r\n");
    }
    if (pieces)
        pieces->append({std::exchange(out, {}), {}, place});
    return out;
}

// A mailbox header's lines, CRLF after each. A recipient's address is checked when the list is read
// and the sender's when the profile is saved: one a header cannot carry goes as the bare address.
QByteArray mailboxHeader(const QByteArray& head, const QString& name, const QString& address) {
    QList<QByteArray> lines = MailboxLines(head, name, address);
    if (lines.isEmpty())
        lines = {head + '<' + address.toUtf8() + '>'};
    return lines.join("\r\n") + "\r\n";
}

// "Tue, 08 Dec 2026 10:15:00 +0100", in the zone of the moment given.
QByteArray rfc5322Date(const QDateTime& moment) {
    const QDateTime local = moment.toLocalTime();
    const int offset = local.offsetFromUtc() / 60;
    const QByteArray zone = QByteArray(offset < 0 ? "-" : "+") +
                            QByteArray::number(qAbs(offset) / 60).rightJustified(2, '0') +
                            QByteArray::number(qAbs(offset) % 60).rightJustified(2, '0');
    return QLocale::c().toString(local, QStringLiteral("ddd, dd MMM yyyy hh:mm:ss ")).toLatin1() + zone;
}

// An encoded word's text, or the word as it stands when it is not one we can read.
QString decodeWord(const QByteArray& word) {
    const QList<QByteArray> pieces = word.split('?');
    if (pieces.size() != 5 || pieces[0] != "=" || pieces[4] != "=")
        return QString::fromLatin1(word);
    QByteArray bytes;
    const QByteArray kind = asciiUpper(pieces[2]);
    if (kind == "B") {
        bytes = QByteArray::fromBase64(pieces[3]);
    } else if (kind == "Q") {
        QByteArray q = pieces[3];
        q.replace('_', ' ');
        bytes = QByteArray::fromPercentEncoding(q, '=');
    } else {
        return QString::fromLatin1(word);
    }
    QStringDecoder decoder(pieces[1].constData());
    return decoder.isValid() ? decoder.decode(bytes) : decodeWindows1252(bytes);
}

// The Subject header's text: encoded words decoded, the blanks between two of them dropped.
QString decodeSubject(const QByteArray& unfolded) {
    QString out;
    bool lastWasEncoded = false;
    QString pendingBlank;
    for (const QByteArray& token : unfolded.split(' ')) {
        const bool encoded = token.startsWith("=?") && token.endsWith("?=");
        if (!(encoded && lastWasEncoded))
            out += pendingBlank;
        out += encoded ? decodeWord(token) : decodeWindows1252(token);
        pendingBlank = QStringLiteral(" ");
        lastWasEncoded = encoded;
    }
    return out;
}

// The template's unsubscribe link as a List-Unsubscribe address: what the rendering links (mail
// addresses get "mailto:", addresses without a scheme "http://"), the "=3D" of the stored form
// turned back into "=", and encoded as a URL so that no blank, angle bracket or line break gets in.
QByteArray unsubscribeAddress(const QByteArray& stored) {
    QByteArray link = trimmed8(stored);
    if (link.isEmpty())
        return {};
    link.replace("=3D", "=");
    const QByteArray lower = asciiLower(link);
    if (link.contains('@') && !lower.contains("mailto:"))
        link.prepend("mailto:");
    else if (!link.contains('@') && !lower.contains("://"))
        link.prepend("http://");
    const QUrl url(decodeWindows1252(link), QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https" && scheme != u"mailto"))
        return {};
    return url.toEncoded();
}

}  // namespace

OutgoingMessage::OutgoingMessage(const Newsletter& newsletter)
    : unsubscribeLink_(unsubscribeAddress(newsletter.unsubscribeLink)), fields_(newsletter.fields) {
    QList<QByteArray> lines = newsletter.rendered.split('\n');
    for (QByteArray& line : lines) {
        if (line.endsWith('\r'))
            line.chop(1);
    }
    qsizetype end = lines.indexOf(QByteArray());
    if (end <= 0 || !startsWithField(lines[0], "From"))
        throw Error(QStringLiteral("Die Datei ist keine Newsletter-Nachricht von Zettelwerk."));

    // Which field each header line belongs to: continuation lines follow their field.
    enum class Keep { No, Subject, Content } keep = Keep::No;
    QByteArray unfoldedSubject;
    for (qsizetype i = 0; i < end; ++i) {
        const QByteArray& line = lines[i];
        const bool continuation = line.startsWith(' ') || line.startsWith('\t');
        if (!continuation) {
            keep = startsWithField(line, "Subject") ? Keep::Subject
                   : startsWithField(line, "MIME-Version") || startsWithField(line, "Content-Type")
                       ? Keep::Content
                       : Keep::No;
        }
        if (keep == Keep::Subject) {
            subjectLines_ += line + "\r\n";
            // Unfolding takes out the line breaks alone: a subject folded at its blanks keeps every blank.
            unfoldedSubject += continuation ? line : line.mid(qsizetype(sizeof("Subject:"))).trimmed();
        } else if (keep == Keep::Content) {
            contentHeader_.append(line);
        }
    }
    if (contentHeader_.isEmpty())
        throw Error(QStringLiteral("Die Datei ist keine Newsletter-Nachricht von Zettelwerk."));
    subject_ = decodeSubject(unfoldedSubject);
    if (fields_.isEmpty()) {
        body_ = smtpSafeBody(lines, end);
        return;
    }
    smtpSafeBody(lines, end, &pieces_);
    unsubscribeFields_ = markLinkFields(trimmed8(newsletter.unsubscribeLink), fields_);
    if (!hasMarker(unsubscribeFields_))
        unsubscribeFields_.clear();
}

QString OutgoingMessage::subject() const {
    return subject_;
}

qsizetype OutgoingMessage::size() const {
    // The header block of one recipient is a few hundred bytes beside the body.
    qsizetype body = body_.size();
    for (const BodyPiece& piece : pieces_) body += piece.ready.size() + piece.fill.size();
    return body + subjectLines_.size() + 600;
}

bool OutgoingMessage::hasUnsubscribe() const {
    return !unsubscribeLink_.isEmpty();
}

QByteArray OutgoingMessage::forRecipient(const Recipient& to, const SenderProfile& from, const QDateTime& now,
                                         const FieldValues* values) const {
    return forRecipient(to, from, now, newMessageId(from.address), values);
}

QByteArray OutgoingMessage::forRecipient(const Recipient& to, const SenderProfile& from, const QDateTime& now,
                                         const QByteArray& messageId, const FieldValues* values) const {
    const QStringList resolved = fields_.isEmpty() ? QStringList() : resolveFields(fields_, values);
    QByteArray out;
    out.reserve(size() + 1024);
    out += mailboxHeader("From: ", from.name, from.address);
    out += mailboxHeader("To: ", to.name, to.address);
    if (hasMarker(fields_.subject))
        out +=
            SubjectLines(fillMarkers(fields_.subject, fields_, resolved, FieldPlace::Header)).join("\r\n") +
            "\r\n";
    else
        out += subjectLines_;
    out += "Date: " + rfc5322Date(now) + "\r\n";
    out += "Message-ID: " + messageId + "\r\n";
    for (const QByteArray& line : contentHeader_) out += line + "\r\n";
    const QByteArray unsubscribe =
        unsubscribeFields_.isEmpty()
            ? unsubscribeLink_
            : unsubscribeAddress(fillMarkers(unsubscribeFields_, fields_, resolved, FieldPlace::Header));
    // With an inbox to read, a reader can leave by mail as well (the inbox check picks the request up),
    // so mail programs show their unsubscribe button even where the template links no page.
    const QByteArray byMail = from.imapServer.isEmpty() || from.address.isEmpty()
                                  ? QByteArray()
                                  : "<mailto:" + from.address.toUtf8() + "?subject=Abmelden>";
    if (!byMail.isEmpty() && unsubscribe.isEmpty())
        out += listHeader("List-Unsubscribe: " + byMail);
    if (!unsubscribe.isEmpty()) {
        out += listHeader("List-Unsubscribe: " + (byMail.isEmpty() ? QByteArray() : byMail + ", ") + '<' +
                          unsubscribe + '>');
        // One-click unsubscribing (RFC 8058) is a POST to a web address; a mail address cannot take it.
        if (from.oneClickUnsubscribe && unsubscribe.startsWith("https:"))
            out += "List-Unsubscribe-Post: List-Unsubscribe=One-Click\r\n";
    }
    out += "\r\n";
    if (pieces_.isEmpty()) {
        out += body_;
        return out;
    }
    for (const BodyPiece& piece : pieces_) {
        out += piece.ready;
        if (piece.fill.isEmpty())
            continue;
        const QByteArray filled = fillMarkers(piece.fill, fields_, resolved, piece.place);
        if (piece.place == FieldPlace::Html) {
            // Cut as the rendering cuts its HTML lines, so the lines are as long as in any message.
            for (const QByteArray& line : softLinePieces(filled)) appendQuotedPrintableLine(out, line);
        } else {
            appendQuotedPrintableLine(out, filled);
        }
    }
    return out;
}

QByteArray newMessageId(const QString& senderAddress) {
    QByteArray domain = senderAddress.section(u'@', -1).toUtf8();
    if (domain.isEmpty() || !senderAddress.contains(u'@'))
        domain = "zettelwerk.invalid";
    quint64 random[2];
    QRandomGenerator::system()->fillRange(random);
    return '<' + QByteArray::number(QDateTime::currentMSecsSinceEpoch(), 36) + '.' +
           QByteArray::number(random[0], 36) + QByteArray::number(random[1], 36) + '@' + domain + '>';
}

}  // namespace zw::send

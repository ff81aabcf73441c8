// The header lines that carry user text: the subject and the sender.
#include <QString>

#include "platform/Text.h"
#include "render/MessageTexts.h"
#include "render/RenderMessage.h"

namespace zw {

using namespace texts;

namespace {

// RFC 2047: an encoded word has at most 75 characters, a header line at most 76.
constexpr qsizetype kMaxWord = 75;
constexpr qsizetype kMaxLine = 76;
// RFC 5322: no header line may be longer than 998 octets, and one should not be longer than 78.
constexpr qsizetype kLineLimit = 998;
constexpr qsizetype kFoldWidth = 78;

// A text a reader would take for an encoded word of its own goes out encoded itself, so that no
// mail program decodes what somebody typed.
bool looksEncoded(const QByteArray& text) {
    return text.contains("=?");
}

bool isPlainAscii(const QByteArray& text) {
    for (char c : text) {
        if (static_cast<unsigned char>(c) > 127)
            return false;
    }
    return true;
}

// Characters that stand for themselves in a Q-encoded word; the set a phrase allows, which an
// unstructured header allows too.
bool isQLiteral(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' ||
           c == '*' || c == '+' || c == '-' || c == '/';
}

// Encoded words in Q encoding for text given character by character (each one's bytes in charset):
// the first word shares its line with head, every further one gets a continuation line of its own.
// A character is never split between two words.
QList<QByteArray> encodedWordLines(const QByteArray& head, const QList<QByteArray>& characters,
                                   const QByteArray& charset) {
    const QByteArray open = "=?" + charset + "?Q?";
    const QByteArray close = "?=";
    const qsizetype firstRoom = kMaxLine - head.size() - open.size() - close.size();
    const qsizetype nextRoom = kMaxWord - open.size() - close.size();

    QList<QByteArray> lines;
    QByteArray payload;
    auto finishWord = [&] {
        lines.append((lines.isEmpty() ? head : QByteArray(" ")) + open + payload + close);
        payload.clear();
    };
    for (const QByteArray& character : characters) {
        QByteArray token;
        for (char c : character) {
            if (isQLiteral(c))
                token += c;
            else if (c == ' ')
                token += '_';
            else
                token += '=' + QByteArray(1, c).toHex().toUpper();
        }
        const qsizetype room = lines.isEmpty() ? firstRoom : nextRoom;
        if (!payload.isEmpty() && payload.size() + token.size() > room)
            finishWord();
        payload += token;
    }
    finishWord();
    return lines;
}

// An address as a header carries it without quoting: printable ASCII, no blank, none of the characters
// that would end it or start a comment, and an "@" between two parts.
bool isPlainAddress(const QString& address) {
    for (QChar c : address)
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F || QStringView(u"<>()[],;:\"\\").contains(c))
            return false;
    const qsizetype at = address.lastIndexOf(u'@');
    return at > 0 && at < address.size() - 1;
}

}  // namespace

QList<QByteArray> FoldedLines(const QByteArray& line, qsizetype width) {
    // A fold goes in before a blank that a visible character follows: unfolding takes out the line
    // break alone, and no continuation line is blank.
    auto foldable = [&](qsizetype at) {
        return line[at] == ' ' && at + 1 < line.size() && line[at + 1] != ' ' && line[at + 1] != '\t';
    };
    QList<QByteArray> lines;
    qsizetype start = 0;
    while (line.size() - start > width) {
        qsizetype fold = -1;
        for (qsizetype at = start + width; at > start && fold < 0; --at)
            if (foldable(at))
                fold = at;
        for (qsizetype at = start + width + 1; at < line.size() && fold < 0; ++at)
            if (foldable(at))
                fold = at;
        if (fold < 0)
            break;
        lines.append(line.mid(start, fold - start));
        start = fold;
    }
    lines.append(line.mid(start));
    for (const QByteArray& piece : lines)
        if (piece.size() > kLineLimit)
            return {};
    return lines;
}

QList<QByteArray> SubjectLines(const QByteArray& subject) {
    // A character that Windows-1252 cannot hold (an emoji) is stored as a character reference; the
    // subject then goes out in UTF-8 with the characters themselves, not as "&#9917;".
    const QString typed = fromStored(subject);
    if (typed != decodeWindows1252(subject)) {
        QList<QByteArray> characters;
        for (char32_t c : typed.toUcs4()) characters.append(QString::fromUcs4(&c, 1).toUtf8());
        return encodedWordLines(kSubject, characters, kWideCharset);
    }
    if (isPlainAscii(subject) && !looksEncoded(subject)) {
        const QByteArray line = kSubject + subject;
        if (line.size() <= kLineLimit)
            return {line};
        if (QList<QByteArray> folded = FoldedLines(line, kFoldWidth); !folded.isEmpty())
            return folded;
    }
    QList<QByteArray> characters;
    for (char c : subject) characters.append(QByteArray(1, c));
    return encodedWordLines(kSubject, characters, kSubjectCharset);
}

QList<QByteArray> MailboxLines(const QByteArray& head, const QString& name, const QString& address) {
    const QString mailbox = address.trimmed();
    if (!isPlainAddress(mailbox))
        return {};
    QString phrase = name;
    for (QChar& c : phrase)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    phrase = phrase.trimmed();
    const QByteArray angleAddress = '<' + mailbox.toLatin1() + '>';
    if (phrase.isEmpty())
        return {head + mailbox.toLatin1()};
    if (isPlainAscii(phrase.toUtf8()) && !looksEncoded(phrase.toLatin1())) {
        QByteArray quoted = phrase.toLatin1();
        quoted.replace('\\', "\\\\").replace('"', "\\\"");
        const QByteArray line = head + '"' + quoted + "\" " + angleAddress;
        if (line.size() <= kLineLimit)
            return {line};
    }
    QList<QByteArray> characters;
    for (qsizetype i = 0; i < phrase.size(); ++i) {
        const qsizetype length = phrase.at(i).isHighSurrogate() && i + 1 < phrase.size() ? 2 : 1;
        characters.append(phrase.mid(i, length).toUtf8());
        i += length - 1;
    }
    QList<QByteArray> lines = encodedWordLines(head, characters, kWideCharset);
    if (lines.last().size() + 1 + angleAddress.size() <= kMaxLine)
        lines.last() += ' ' + angleAddress;
    else
        lines.append(' ' + angleAddress);
    return lines;
}

QList<QByteArray> FromLines(const QString& name, const QString& address) {
    const QList<QByteArray> lines = MailboxLines("From: ", name, address);
    return lines.isEmpty() ? QList<QByteArray>{kFrom} : lines;
}

}  // namespace zw

#include "inbox/ImapAnswer.h"

#include <QRegularExpression>

#include <limits>

namespace zw::inbox {

qsizetype ImapResponseReader::held() const {
    qsizetype bytes = buffer_.size() - start_;
    for (const QByteArray& literal : current_.literals) bytes += literal.size();
    return bytes + current_.text.size();
}

void ImapResponseReader::notePeak() {
    qsizetype bytes = buffer_.size() + current_.text.size();
    for (const QByteArray& literal : current_.literals) bytes += literal.size();
    peak_ = qMax(peak_, bytes);
}

void ImapResponseReader::append(QByteArrayView bytes) {
    // What is taken goes before more comes, so the buffer never holds more than one response's rest.
    if (start_ > 0) {
        buffer_.remove(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
    notePeak();
}

std::optional<ImapResponse> ImapResponseReader::take() {
    if (problem_ != Problem::None)
        return std::nullopt;
    for (;;) {
        if (literalLeft_ >= 0) {
            if (buffer_.size() - start_ < literalLeft_)
                return std::nullopt;
            current_.literals.append(buffer_.mid(start_, literalLeft_));
            start_ += literalLeft_;
            literalLeft_ = -1;
            notePeak();
            continue;
        }
        const qsizetype end = buffer_.indexOf("\r\n", start_ + searched_);
        if (end < 0) {
            searched_ = qMax<qsizetype>(0, buffer_.size() - start_ - 1);
            if (current_.text.size() + searched_ > maxText_)
                problem_ = Problem::TextTooLong;
            return std::nullopt;
        }
        searched_ = 0;
        const QByteArrayView line(buffer_.constData() + start_, end - start_);
        start_ = end + 2;
        if (current_.text.size() + line.size() > maxText_) {
            problem_ = Problem::TextTooLong;
            return std::nullopt;
        }
        current_.text += line;
        // "{n}" or the non-synchronising "{n+}" at the end of a line announces n bytes.
        if (line.endsWith('}')) {
            const qsizetype open = line.lastIndexOf('{');
            if (open >= 0) {
                QByteArrayView size = line.sliced(open + 1, line.size() - open - 2);
                if (size.endsWith('+'))
                    size.chop(1);
                const std::optional<quint32> n = imapNumber(size);
                if (!n) {
                    problem_ = Problem::BadLiteral;
                    return std::nullopt;
                }
                if (qsizetype(*n) > literalLimit_) {
                    problem_ = Problem::LiteralTooLarge;
                    return std::nullopt;
                }
                literalLeft_ = qsizetype(*n);
                continue;
            }
        }
        ImapResponse done = std::move(current_);
        current_ = {};
        return done;
    }
}

std::optional<quint32> imapNumber(QByteArrayView digits) {
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    quint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + quint64(c - '0');
    }
    if (value > std::numeric_limits<quint32>::max())
        return std::nullopt;
    return quint32(value);
}

std::optional<quint32> imapUid(QByteArrayView digits) {
    const std::optional<quint32> n = imapNumber(digits);
    return n && *n > 0 ? n : std::nullopt;
}

namespace {

// The number after a name in a response ("UIDVALIDITY 7" gives "7"), up to a blank, ']' or ')'.
std::optional<QByteArrayView> after(QByteArrayView text, QByteArrayView name) {
    const qsizetype at = text.indexOf(name);
    if (at < 0)
        return std::nullopt;
    qsizetype from = at + name.size();
    qsizetype to = from;
    while (to < text.size() && text[to] != ' ' && text[to] != ']' && text[to] != ')') ++to;
    return text.sliced(from, to - from);
}

}  // namespace

Parsed parseMailboxData(const ImapResponse& response, MailboxData& data) {
    const QByteArrayView text(response.text);
    if (!text.startsWith("* "))
        return Parsed::NotThis;
    if (const auto v = after(text, "[UIDVALIDITY ")) {
        const auto n = imapUid(*v);
        if (!n)
            return Parsed::Broken;
        data.uidValidity = *n;
        return Parsed::Taken;
    }
    if (const auto v = after(text, "[UIDNEXT ")) {
        const auto n = imapUid(*v);
        if (!n)
            return Parsed::Broken;
        data.uidNext = *n;
        return Parsed::Taken;
    }
    if (text.size() > 9 && text.endsWith(" EXISTS")) {
        const auto n = imapNumber(text.sliced(2, text.size() - 9));
        if (!n)
            return Parsed::Broken;
        data.exists = *n;
        return Parsed::Taken;
    }
    return Parsed::NotThis;
}

Parsed parseSearch(const ImapResponse& response, QList<quint32>& uids) {
    const QByteArrayView text(response.text);
    if (text != "* SEARCH" && !text.startsWith("* SEARCH "))
        return Parsed::NotThis;
    for (const QByteArray& word : response.text.sliced(8).split(' ')) {
        if (word.isEmpty())
            continue;
        const auto uid = imapUid(word);
        if (!uid)
            return Parsed::Broken;
        uids.append(*uid);
    }
    return Parsed::Taken;
}

Parsed parseFetch(const ImapResponse& response, quint32& uid, QByteArray& bytes) {
    static const QRegularExpression fetch(QStringLiteral("^\\* \\d+ FETCH \\("));
    const QString start = QString::fromLatin1(response.text.left(40));
    if (!fetch.match(start).hasMatch())
        return Parsed::NotThis;
    const qsizetype open = response.text.indexOf('(');
    const QByteArrayView items = QByteArrayView(response.text).sliced(open);
    qsizetype at = items.indexOf("(UID ");
    if (at < 0)
        at = items.indexOf(" UID ");
    if (at < 0 || response.literals.isEmpty())
        return Parsed::NotThis;  // a flag update or the like
    const auto value = after(items.sliced(at), "UID ");
    const auto n = value ? imapUid(*value) : std::nullopt;
    if (!n)
        return Parsed::Broken;
    uid = *n;
    bytes = response.literals.first();
    return Parsed::Taken;
}

}  // namespace zw::inbox

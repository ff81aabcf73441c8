#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

namespace zw::inbox {

// One response of an IMAP server: its lines with every literal taken out into literals, each left as
// "{n}" in the text as the server wrote it.
struct ImapResponse {
    QByteArray text;
    QList<QByteArray> literals;
};

// Cuts what a server sends into responses without ever holding more than its limits: a response's
// text up to maxText bytes, each literal up to the limit the caller sets for the command it sent.
// Pure bytes in, responses out; the session feeds it from the connection.
class ImapResponseReader {
public:
    enum class Problem { None, TextTooLong, LiteralTooLarge, BadLiteral };

    explicit ImapResponseReader(qsizetype maxText) : maxText_(maxText) {}

    void setLiteralLimit(qsizetype bytes) { literalLimit_ = bytes; }
    void append(QByteArrayView bytes);
    // The next complete response, when one is buffered; nothing when more is needed or problem() says
    // why the server's answer cannot be taken.
    std::optional<ImapResponse> take();

    Problem problem() const { return problem_; }
    // What it holds now, and the most it ever held (the buffer and the current response's literals).
    qsizetype held() const;
    qsizetype peakHeld() const { return peak_; }

private:
    void notePeak();

    QByteArray buffer_;
    qsizetype start_ = 0;     // what is taken from buffer_ already
    qsizetype searched_ = 0;  // of the line being read, bytes known to hold no line end
    qsizetype literalLeft_ = -1;
    qsizetype literalLimit_ = 0;
    qsizetype maxText_;
    qsizetype peak_ = 0;
    ImapResponse current_;
    Problem problem_ = Problem::None;
};

// A number of the protocol (a count, UIDVALIDITY, a UID) is an unsigned 32-bit number written in digits
// only; a UID is above 0. Anything else is refused, never wrapped or cut.
std::optional<quint32> imapNumber(QByteArrayView digits);
std::optional<quint32> imapUid(QByteArrayView digits);

// What the untagged responses tell: Broken when the response is of that kind but names a number that
// is none.
enum class Parsed { NotThis, Taken, Broken };

struct MailboxData {
    quint32 uidValidity = 0;
    quint32 uidNext = 0;
    quint32 exists = 0;
};
Parsed parseMailboxData(const ImapResponse& response, MailboxData& data);
// "* SEARCH 4 7 9"
Parsed parseSearch(const ImapResponse& response, QList<quint32>& uids);
// "* 12 FETCH (UID 4711 BODY[HEADER]<0> {n}": the UID and the first literal.
Parsed parseFetch(const ImapResponse& response, quint32& uid, QByteArray& bytes);

}  // namespace zw::inbox

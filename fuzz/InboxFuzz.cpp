// The inbox reader, the block list and the IMAP answer parser on any bytes: no crash; every finding
// names an address in small letters with one line of evidence; a bounce has findings and an auto-reply
// none; the block list written and read again is the same list; the answer parser gives the same
// responses however the bytes arrive, never a literal above its limit nor a UID of 0.
#include <cstdint>

#include "FuzzCheck.h"

#include "inbox/BounceReader.h"
#include "inbox/ImapAnswer.h"
#include "send/BlockList.h"

using zw::fuzz::check;

namespace {

using namespace zw::inbox;

constexpr qsizetype kMaxText = 4096;

struct Parse {
    QList<ImapResponse> responses;
    ImapResponseReader::Problem problem;
};

// The bytes fed in pieces of the given size (0: all at once); every response taken and read as the
// session reads it.
Parse parseAnswer(const QByteArray& bytes, qsizetype literalLimit, qsizetype piece) {
    ImapResponseReader reader(kMaxText);
    reader.setLiteralLimit(literalLimit);
    Parse out;
    for (qsizetype at = 0; at<bytes.size(); at += piece> 0 ? piece : bytes.size()) {
        reader.append(
            QByteArrayView(bytes).sliced(at, qMin(bytes.size() - at, piece > 0 ? piece : bytes.size())));
        while (std::optional<ImapResponse> r = reader.take()) {
            check(r->text.size() <= kMaxText);
            for (const QByteArray& literal : r->literals) check(literal.size() <= literalLimit);
            MailboxData box;
            QList<quint32> uids;
            quint32 uid = 0;
            QByteArray message;
            (void)parseMailboxData(*r, box);
            if (parseSearch(*r, uids) == Parsed::Taken)
                for (quint32 u : uids) check(u > 0);
            if (parseFetch(*r, uid, message) == Parsed::Taken)
                check(uid > 0 && message == r->literals.first());
            out.responses.append(*r);
        }
        // Never more than what came in, and the copies of the response being taken.
        check(reader.peakHeld() <= 2 * bytes.size());
    }
    out.problem = reader.problem();
    return out;
}

bool same(const Parse& a, const Parse& b) {
    if (a.problem != b.problem || a.responses.size() != b.responses.size())
        return false;
    for (qsizetype i = 0; i < a.responses.size(); ++i)
        if (a.responses[i].text != b.responses[i].text || a.responses[i].literals != b.responses[i].literals)
            return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const ReadResult read = readInboxMessage(bytes);
    check((read.kind == MessageClass::Bounce || read.kind == MessageClass::Unsubscribe) ==
          !read.findings.isEmpty());
    for (const InboxFinding& f : read.findings) {
        check(f.address.contains(u'@') && f.address == f.address.toLower());
        check(!f.evidence.contains(u'\n') && !f.evidence.contains(u'\r') && f.evidence.size() <= 300);
        check((f.kind == InboxFinding::Unsubscribe) == (read.kind == MessageClass::Unsubscribe));
        check(!f.otherAddresses.contains(f.address));
    }
    (void)worthFetching(bytes);
    (void)senderAddress(bytes);

    const zw::send::BlockList once = zw::send::BlockList::parse(bytes);
    const QByteArray written = once.toCsv();
    const zw::send::BlockList twice = zw::send::BlockList::parse(written);
    check(twice.entries().size() == once.entries().size() && twice.toCsv() == written);

    // The first byte chooses the literal limit and the size of the pieces, the rest is the answer.
    if (size > 0) {
        const QByteArray answer = bytes.mid(1);
        const qsizetype limit = qsizetype(data[0] & 0x0f) * 64;
        const Parse whole = parseAnswer(answer, limit, 0);
        check(same(whole, parseAnswer(answer, limit, 1 + (data[0] >> 4))));
    }
    return 0;
}

// The recipient list reader on any bytes: no crash, and what it takes is checked, unique, one line of
// the file each, in the file's order; a list excluded from itself leaves nobody.
#include <QSet>

#include <cstdint>

#include "FuzzCheck.h"

#include "send/RecipientList.h"

using zw::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zw::send;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    RecipientList list = readRecipientList(bytes);

    const qsizetype lines = bytes.count('\n') + bytes.count('\r') + 1;
    QSet<QString> seen;
    qsizetype line = 1;
    for (const Recipient& r : list.recipients) {
        check(checkAddress(r.address).isEmpty());
        check(!seen.contains(r.address.toLower()));
        seen.insert(r.address.toLower());
        check(r.line >= line && r.line <= lines);
        line = r.line;
        for (QChar c : r.name) check(c.unicode() >= 0x20 && c != u'\x7f');
    }
    line = 1;
    for (const RejectedRow& r : list.rejected) {
        check(r.line >= line && r.line <= lines);
        line = r.line;
        check(!r.reason.isEmpty() && r.text.size() <= 201);
    }

    const qsizetype everyone = list.recipients.size() + list.rejected.size();
    const RecipientList exclusions = list;
    applyExclusions(list, exclusions);
    check(list.recipients.isEmpty() && list.rejected.size() == everyone);
    return 0;
}

// The inbox reader and the block list on any bytes: no crash; every finding names an address in small
// letters with one line of evidence; a bounce has findings and an auto-reply none; the block list
// written and read again is the same list.
#include <cstdint>

#include "FuzzCheck.h"

#include "inbox/BounceReader.h"
#include "send/BlockList.h"

using zw::fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace zw::inbox;
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));

    const ReadResult read = readInboxMessage(bytes);
    check((read.kind == MessageClass::Bounce || read.kind == MessageClass::Unsubscribe) ==
          !read.findings.isEmpty());
    for (const InboxFinding& f : read.findings) {
        check(f.address.contains(u'@') && f.address == f.address.toLower());
        check(!f.evidence.contains(u'\n') && !f.evidence.contains(u'\r') && f.evidence.size() <= 300);
        check((f.kind == InboxFinding::Unsubscribe) == (read.kind == MessageClass::Unsubscribe));
    }
    (void)worthFetching(bytes);
    (void)senderAddress(bytes);

    const zw::send::BlockList once = zw::send::BlockList::parse(bytes);
    const QByteArray written = once.toCsv();
    const zw::send::BlockList twice = zw::send::BlockList::parse(written);
    check(twice.entries().size() == once.entries().size() && twice.toCsv() == written);
    return 0;
}

#include "editing/HeifBoxes.h"

#include "editing/HevcHeaders.h"

#include <QHash>
#include <QList>
#include <QSet>

#include <algorithm>

namespace zw {

namespace {

// A run of bytes read from the front; reading past its end yields zeros and marks it bad.
class Reader {
public:
    Reader(const char* data, qint64 size) : at_(data), left_(size) {}
    quint64 take(int bytes) {
        quint64 value = 0;
        for (int i = 0; i < bytes; ++i) value = value << 8 | (left_ > 0 ? quint8(*at_) : 0), next();
        return value;
    }
    QByteArray fourCc() {
        const QByteArray type = left_ >= 4 ? QByteArray(at_, 4) : QByteArray();
        take(4);
        return type;
    }
    void skip(qint64 bytes) {
        if (bytes > left_)
            bad_ = true;
        bytes = std::min(bytes, left_);
        at_ += bytes, left_ -= bytes;
    }
    const char* at() const { return at_; }
    qint64 left() const { return left_; }
    bool bad() const { return bad_; }

private:
    void next() {
        if (left_ > 0)
            ++at_, --left_;
        else
            bad_ = true;
    }
    const char* at_;
    qint64 left_;
    bool bad_ = false;
};

struct Box {
    QByteArray type;
    const char* body = nullptr;
    qint64 size = 0;
};

// The boxes lying one after another in data.
QList<Box> boxes(const char* data, qint64 size) {
    QList<Box> found;
    Reader r(data, size);
    while (r.left() >= 8) {
        const char* start = r.at();
        quint64 length = r.take(4);
        Box box{r.fourCc()};
        qint64 header = 8;
        if (length == 1)
            length = r.take(8), header = 16;
        else if (length == 0)
            length = quint64(r.left() + 8);
        if (r.bad() || length < quint64(header) || length - quint64(header) > quint64(r.left()))
            break;
        box.body = start + header;
        box.size = qint64(length) - header;
        found.append(box);
        r.skip(box.size);
    }
    return found;
}

const Box* find(const QList<Box>& list, const char* type) {
    for (const Box& b : list)
        if (b.type == type)
            return &b;
    return nullptr;
}

// The children of a full box (version and flags first).
QList<Box> fullBoxChildren(const Box& box, int skip) {
    return box.size < skip ? QList<Box>() : boxes(box.body + skip, box.size - skip);
}

// Every item's type, by its ID ("infe" entries of version 2 and 3).
QHash<quint64, QByteArray> itemTypes(const Box& iinf) {
    QHash<quint64, QByteArray> types;
    Reader r(iinf.body, iinf.size);
    const int countBytes = r.take(1) == 0 ? 2 : 4;
    r.skip(3 + countBytes);  // flags, entry count
    for (const Box& infe : boxes(r.at(), r.left())) {
        Reader e(infe.body, infe.size);
        const quint64 version = e.take(1);
        e.skip(3);
        if (infe.type != "infe" || version < 2)
            continue;
        const quint64 id = e.take(version == 2 ? 2 : 4);
        e.skip(2);  // protection index
        types.insert(id, e.fourCc());
    }
    return types;
}

// Every item's bytes, as the "iloc" box places them in the file or in the "idat" box. An extent of
// length 0 means "to the end of the file", and a box may list 65,535 of them for each item: gathered
// as listed, a file of a few kilobytes would claim gigabytes. No honest item is larger than the file
// that holds it, so an item stops at that size and the file is marked as lying about its items. Only
// the items that are looked into are gathered, and all of them together at most four times the file.
QHash<quint64, QByteArray> itemData(const QByteArray& file, const Box* iloc, const Box* idat,
                                    const QSet<quint64>& wanted, bool& oversized) {
    QHash<quint64, QByteArray> data;
    if (!iloc)
        return data;
    const QByteArray inIdat = idat ? QByteArray::fromRawData(idat->body, idat->size) : QByteArray();
    Reader r(iloc->body, iloc->size);
    const quint64 version = r.take(1);
    r.skip(3);
    const quint64 sizes = r.take(1), moreSizes = r.take(1);
    const int offsetBytes = int(sizes >> 4), lengthBytes = int(sizes & 15), baseBytes = int(moreSizes >> 4);
    const int indexBytes = version >= 1 ? int(moreSizes & 15) : 0;
    const quint64 most = quint64(file.size());
    quint64 budget = 4 * most;
    for (quint64 items = r.take(version < 2 ? 2 : 4); items > 0 && !r.bad() && !oversized; --items) {
        const quint64 id = r.take(version < 2 ? 2 : 4);
        const quint64 method = version >= 1 ? r.take(2) & 15 : 0;
        r.skip(2);  // data reference
        const quint64 base = r.take(baseBytes);
        const QByteArray& source = method == 0 ? file : inIdat;
        const quint64 available = quint64(source.size());
        const bool gather = wanted.contains(id);
        QByteArray bytes;
        quint64 counted = 0;
        for (quint64 extents = r.take(2); extents > 0 && !r.bad(); --extents) {
            r.skip(indexBytes);
            const quint64 start = base + r.take(offsetBytes), length = r.take(lengthBytes);
            if (method > 1 || start >= available)
                continue;
            const quint64 rest = available - start;
            const quint64 taken = length == 0 || length > rest ? rest : length;
            counted += taken;
            if (counted > most || (gather && taken > budget)) {
                oversized = true;
                break;
            }
            if (gather) {
                budget -= taken;
                bytes += source.mid(qsizetype(start), qsizetype(taken));
            }
        }
        if (gather)
            data.insert(id, bytes);
    }
    return data;
}

// The canvas of a picture put together from others: a grid of tiles or an overlay.
QSize canvasSize(const QByteArray& type, const QByteArray& bytes) {
    Reader r(bytes.constData(), bytes.size());
    r.skip(1);  // version
    const int fieldBytes = r.take(1) & 1 ? 4 : 2;
    r.skip(type == "grid" ? 2 : 8);  // rows and columns, or the fill colour
    const quint64 width = r.take(fieldBytes), height = r.take(fieldBytes);
    if (r.bad())
        return QSize();  // libheif refuses it
    return QSize(int(std::min<quint64>(width, 0x7FFFFFFF)), int(std::min<quint64>(height, 0x7FFFFFFF)));
}

}  // namespace

HeifPrimary heifPrimary(const QByteArray& file) {
    HeifPrimary primary;
    const QList<Box> top = boxes(file.constData(), file.size());
    const Box* meta = find(top, "meta");
    if (!meta)
        return primary;
    const QList<Box> inMeta = fullBoxChildren(*meta, 4);
    const Box* pitm = find(inMeta, "pitm");
    const Box* iinf = find(inMeta, "iinf");
    if (!pitm || !iinf)
        return primary;
    Reader p(pitm->body, pitm->size);
    const int idBytes = p.take(1) == 0 ? 2 : 4;  // version 0: 16-bit item IDs
    p.skip(3);
    const quint64 id = p.take(idBytes);
    const QHash<quint64, QByteArray> types = itemTypes(*iinf);
    primary.itemType = types.value(id);

    // What the decoders will allocate: the sizes in the HEVC set-ups (in the properties and in the
    // coded data), and the canvases of pictures put together from tiles or overlaid.
    QSet<quint64> lookedInto;
    for (auto item = types.begin(); item != types.end(); ++item)
        if (item.value() == "hvc1" || item.value() == "grid" || item.value() == "iovl")
            lookedInto.insert(item.key());
    const QHash<quint64, QByteArray> data =
        itemData(file, find(inMeta, "iloc"), find(inMeta, "idat"), lookedInto, primary.oversizedItem);
    for (auto item = types.begin(); item != types.end(); ++item) {
        const QByteArray bytes = data.value(item.key());
        if (item.value() == "hvc1")
            primary.largestDecoded = largerArea(primary.largestDecoded, hevcStreamSize(bytes));
        else if (item.value() == "grid" || item.value() == "iovl")
            primary.largestDecoded = largerArea(primary.largestDecoded, canvasSize(item.value(), bytes));
    }

    const Box* iprp = find(inMeta, "iprp");
    const QList<Box> inIprp = iprp ? boxes(iprp->body, iprp->size) : QList<Box>();
    const Box* ipco = find(inIprp, "ipco");
    const Box* ipma = find(inIprp, "ipma");
    if (!ipco || !ipma)
        return primary;
    const QList<Box> properties = boxes(ipco->body, ipco->size);
    for (const Box& property : properties)
        if (property.type == "hvcC")
            primary.largestDecoded = largerArea(primary.largestDecoded,
                                                hvcCSize(QByteArray::fromRawData(property.body, property.size)));
    Reader a(ipma->body, ipma->size);
    const quint64 version = a.take(1);
    const bool wideIndex = a.take(3) & 1;
    for (quint64 entries = a.take(4); entries > 0 && !a.bad(); --entries) {
        const quint64 item = a.take(version < 1 ? 2 : 4);
        for (quint64 n = a.take(1); n > 0 && !a.bad(); --n) {
            const quint64 index = wideIndex ? a.take(2) & 0x7FFF : a.take(1) & 0x7F;
            if (item != id || index == 0 || index > quint64(properties.size()))
                continue;
            const Box& property = properties[qsizetype(index - 1)];
            const bool turned = property.type == "irot" && property.size >= 1 && (property.body[0] & 3);
            if (turned || property.type == "imir")
                primary.transformed = true;
        }
    }
    return primary;
}

}  // namespace zw

#include "editing/HeifBoxes.h"

#include <QList>

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

// Exp-Golomb and fixed-width fields of a NAL unit's payload, its emulation prevention bytes removed.
class BitReader {
public:
    explicit BitReader(const QByteArray& nal) {
        int zeros = 0;
        for (const char b : nal) {
            if (zeros >= 2 && b == 3) {  // 00 00 03: the 03 only keeps the payload from looking like a start code
                zeros = 0;
                continue;
            }
            dropped_ += b;
            zeros = b == 0 ? zeros + 1 : 0;
        }
    }
    quint32 bits(int n) {
        quint32 v = 0;
        for (int i = 0; i < n; ++i) {
            const qsizetype byte = at_ >> 3;
            const int bit = byte < dropped_.size() ? (quint8(dropped_[byte]) >> (7 - (at_ & 7))) & 1 : 0;
            bad_ = bad_ || byte >= dropped_.size();
            v = v << 1 | quint32(bit);
            ++at_;
        }
        return v;
    }
    quint32 golomb() {
        int zeros = 0;
        while (bits(1) == 0 && !bad_ && zeros < 32) ++zeros;
        return zeros >= 32 ? 0xFFFFFFFF : (quint32(1) << zeros) - 1 + bits(zeros);
    }
    bool bad() const { return bad_; }

private:
    QByteArray dropped_;
    qint64 at_ = 0;
    bool bad_ = false;
};

qint64 area(QSize size) {
    return size.isValid() ? qint64(size.width()) * size.height() : 0;
}

// The picture size of an HEVC sequence parameter set (a NAL unit, its 2-byte header first).
QSize spsSize(const QByteArray& nal) {
    BitReader r(nal.mid(2));
    r.bits(4);  // video parameter set
    const int subLayers = int(r.bits(3));
    r.bits(1);
    r.bits(96);  // the general profile, tier and level
    int profiles = 0, levels = 0;
    for (int i = 0; i < subLayers; ++i) {
        profiles += int(r.bits(1));
        levels += int(r.bits(1));
    }
    if (subLayers > 0)
        r.bits(2 * (8 - subLayers));
    r.bits(88 * profiles + 8 * levels);
    r.golomb();  // sequence parameter set
    if (r.golomb() == 3)
        r.bits(1);  // separate colour planes
    const quint32 width = r.golomb(), height = r.golomb();
    if (r.bad() || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return QSize(0x7FFFFFFF, 0x7FFFFFFF);  // unreadable: as large as can be
    return QSize(int(width), int(height));
}

// The largest picture of the sequence parameter sets in an "hvcC" box.
QSize hvcCSize(const Box& hvcC) {
    QSize largest;
    Reader r(hvcC.body, hvcC.size);
    r.skip(22);
    for (quint64 arrays = r.take(1); arrays > 0 && !r.bad(); --arrays) {
        const bool sps = (r.take(1) & 0x3F) == 33;
        for (quint64 units = r.take(2); units > 0 && !r.bad(); --units) {
            const qint64 length = qint64(r.take(2));
            const QByteArray nal(r.at(), qsizetype(std::min(length, r.left())));
            r.skip(length);
            const QSize size = sps ? spsSize(nal) : QSize();
            if (area(size) > area(largest))
                largest = size;
        }
    }
    return largest;
}

// The children of a full box (version and flags first).
QList<Box> fullBoxChildren(const Box& box, int skip) {
    return box.size < skip ? QList<Box>() : boxes(box.body + skip, box.size - skip);
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
    Reader ir(iinf->body, iinf->size);
    const int countBytes = ir.take(1) == 0 ? 2 : 4;
    ir.skip(3 + countBytes);  // flags, entry count
    for (const Box& infe : boxes(ir.at(), ir.left())) {
        Reader e(infe.body, infe.size);
        const quint64 version = e.take(1);
        e.skip(3);
        if (infe.type != "infe" || version < 2)
            continue;
        if (e.take(version == 2 ? 2 : 4) == id) {
            e.skip(2);  // protection index
            primary.itemType = e.fourCc();
            break;
        }
    }

    const Box* iprp = find(inMeta, "iprp");
    const QList<Box> inIprp = iprp ? boxes(iprp->body, iprp->size) : QList<Box>();
    const Box* ipco = find(inIprp, "ipco");
    const Box* ipma = find(inIprp, "ipma");
    if (!ipco || !ipma)
        return primary;
    const QList<Box> properties = boxes(ipco->body, ipco->size);
    for (const Box& property : properties) {
        const QSize size = property.type == "hvcC" ? hvcCSize(property) : QSize();
        if (area(size) > area(primary.largestCoded))
            primary.largestCoded = size;
    }
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

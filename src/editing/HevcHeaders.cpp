#include "editing/HevcHeaders.h"

#include <algorithm>

namespace zw {

namespace {

constexpr QSize kUnreadable(0x7FFFFFFF, 0x7FFFFFFF);

// Fixed-width and Exp-Golomb fields of a NAL unit's payload, its emulation prevention bytes removed.
// Reading past the end yields zeros and marks it bad.
class BitReader {
public:
    explicit BitReader(const QByteArray& payload) {
        int zeros = 0;
        for (const char b : payload) {
            if (zeros >= 2 && b == 3) {  // 00 00 03: the 03 only keeps the payload from looking like a start code
                zeros = 0;
                continue;
            }
            bytes_ += b;
            zeros = b == 0 ? zeros + 1 : 0;
        }
    }
    quint32 bits(int n) {
        quint32 v = 0;
        for (int i = 0; i < n; ++i, ++at_) {
            const qsizetype byte = qsizetype(at_ >> 3);
            bad_ = bad_ || byte >= bytes_.size();
            v = v << 1 | (bad_ ? 0 : (quint8(bytes_[byte]) >> (7 - (at_ & 7))) & 1);
        }
        return v;
    }
    quint32 golomb() {
        int zeros = 0;
        while (!bad_ && zeros < 32 && bits(1) == 0) ++zeros;
        if (zeros >= 32)
            bad_ = true;
        return bad_ ? 0 : (quint32(1) << zeros) - 1 + bits(zeros);
    }
    bool bad() const { return bad_; }

private:
    QByteArray bytes_;
    qint64 at_ = 0;
    bool bad_ = false;
};

quint64 bigEndian(const QByteArray& bytes, qsizetype at, int count) {
    quint64 v = 0;
    for (int i = 0; i < count; ++i) v = v << 8 | quint8(bytes[at + i]);
    return v;
}

}  // namespace

QSize largerArea(QSize a, QSize b) {
    const auto area = [](QSize s) { return s.isValid() ? qint64(s.width()) * s.height() : qint64(-1); };
    return area(b) > area(a) ? b : a;
}

QSize hevcSpsSize(const QByteArray& nal) {
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
    for (int i = 0; i < profiles; ++i) r.bits(88);
    r.bits(8 * levels);
    r.golomb();  // sequence parameter set
    if (r.golomb() == 3)
        r.bits(1);  // separate colour planes
    const quint32 width = r.golomb(), height = r.golomb();
    if (r.bad() || width > 0x7FFFFFFF || height > 0x7FFFFFFF)
        return kUnreadable;
    return QSize(int(width), int(height));
}

QSize hvcCSize(const QByteArray& hvcC) {
    QSize largest;
    qsizetype at = 23;  // the fixed fields, then the count of NAL unit arrays
    for (int arrays = hvcC.size() > 22 ? quint8(hvcC[22]) : 0; arrays > 0; --arrays) {
        if (at + 3 > hvcC.size())
            return kUnreadable;
        const bool sps = (quint8(hvcC[at]) & 0x3F) == 33;
        quint64 units = bigEndian(hvcC, at + 1, 2);
        at += 3;
        for (; units > 0; --units) {
            if (at + 2 > hvcC.size())
                return kUnreadable;
            const qsizetype length = qsizetype(bigEndian(hvcC, at, 2));
            if (sps)
                largest = largerArea(largest, hevcSpsSize(hvcC.mid(at + 2, length)));
            at += 2 + length;
        }
    }
    return largest;
}

QSize hevcStreamSize(const QByteArray& data) {
    QSize largest;
    for (qsizetype at = 0; at + 4 < data.size();) {
        const quint64 length = bigEndian(data, at, 4);
        if (((quint8(data[at + 4]) >> 1) & 0x3F) == 33)
            largest = largerArea(largest, hevcSpsSize(data.mid(at + 4, qsizetype(std::min<quint64>(length, 1 << 16)))));
        if (length > quint64(data.size()))
            break;
        at += 4 + qsizetype(length);
    }
    return largest;
}

}  // namespace zw

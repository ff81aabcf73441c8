#pragma once

#include <QByteArray>
#include <QSize>

namespace zw {

// Picture sizes that HEVC headers declare: what the decoder will allocate, read before it runs.
// An unreadable header counts as the largest size there is.

// Of a sequence parameter set (a NAL unit, its 2-byte header first).
QSize hevcSpsSize(const QByteArray& nal);
// The largest of the sequence parameter sets in an "hvcC" box's body.
QSize hvcCSize(const QByteArray& hvcC);
// The largest of those among the NAL units of coded data (each after a 4-byte length); an empty size
// when there are none.
QSize hevcStreamSize(const QByteArray& data);

// The larger of two sizes by their area.
QSize largerArea(QSize a, QSize b);

}  // namespace zw

// The pictures of the program's own windows: the top band of the main window and the about box.
// Both carry the product's paper-note mark: two slips of paper, one pinned over the other.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>

namespace art {
namespace {

const QColor kSlate("#2F3E4E");
const QColor kAccent("#E8833A");
const QColor kNote("#FFE89A");
const QColor kNoteBack("#D6E8F7");

// The paper-note mark, about 1.0 * s wide and 1.1 * s high, top left at origin.
void noteMark(QPainter& p, QPointF origin, qreal s) {
    p.save();
    p.translate(origin);
    // Back slip, tilted to the left.
    p.save();
    p.translate(s * 0.42, s * 0.55);
    p.rotate(-9);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 22));
    p.drawRoundedRect(QRectF(-s * 0.4 + s * 0.03, -s * 0.46 + s * 0.04, s * 0.8, s * 0.92), s * 0.04, s * 0.04);
    p.setBrush(kNoteBack);
    p.drawRoundedRect(QRectF(-s * 0.4, -s * 0.46, s * 0.8, s * 0.92), s * 0.04, s * 0.04);
    p.restore();
    // Front slip with a folded corner, written lines and a pin.
    p.save();
    p.translate(s * 0.58, s * 0.6);
    p.rotate(5);
    const qreal w = s * 0.78, h = s * 0.86, fold = s * 0.2;
    QPainterPath slip(QPointF(-w / 2, -h / 2));
    slip.lineTo(w / 2, -h / 2);
    slip.lineTo(w / 2, h / 2 - fold);
    slip.lineTo(w / 2 - fold, h / 2);
    slip.lineTo(-w / 2, h / 2);
    slip.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 30));
    p.drawPath(slip.translated(s * 0.03, s * 0.04));
    QLinearGradient paper(0, -h / 2, 0, h / 2);
    paper.setColorAt(0, QColor("#FFF1B8"));
    paper.setColorAt(1, kNote);
    p.setBrush(paper);
    p.drawPath(slip);
    p.setBrush(QColor("#F2C94C"));
    p.drawPolygon(QPolygonF({QPointF(w / 2, h / 2 - fold), QPointF(w / 2 - fold, h / 2),
                             QPointF(w / 2 - fold * 0.9, h / 2 - fold * 0.9)}));
    p.setPen(QPen(QColor("#B8A46A"), qMax(1.0, s * 0.045), Qt::SolidLine, Qt::RoundCap));
    const qreal lines[] = {0.62, 0.5, 0.56, 0.34};
    for (int i = 0; i < 4; ++i) {
        const qreal y = -h / 2 + h * (0.3 + i * 0.16);
        p.drawLine(QPointF(-w / 2 + w * 0.14, y), QPointF(-w / 2 + w * (0.14 + lines[i]), y));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(0, -h / 2 + s * 0.07), s * 0.075, s * 0.075);
    p.setBrush(QColor(255, 255, 255, 160));
    p.drawEllipse(QPointF(-s * 0.02, -h / 2 + s * 0.05), s * 0.025, s * 0.025);
    p.restore();
    p.restore();
}

// "Zettelwerk" in slate and "pro" in the accent colour, on one baseline; returns the width drawn.
qreal wordmark(QPainter& p, QPointF leftBaseline, qreal size) {
    const QFont name = font("URW Gothic", size, QFont::DemiBold);
    const QFont pro = font("URW Gothic", size, QFont::Normal);
    p.save();
    p.setFont(name);
    p.setPen(kSlate);
    p.drawText(leftBaseline, "Zettelwerk");
    const qreal w = textWidth("Zettelwerk", name) + size * 0.22;
    p.setFont(pro);
    p.setPen(kAccent);
    p.drawText(leftBaseline + QPointF(w, 0), "pro");
    p.restore();
    return w + textWidth("pro", pro);
}

QImage headBand() {
    QImage img = canvas(1280, 57, QColor("#FFFFFF"));
    QPainter p(&img);
    prepare(p);
    QLinearGradient bg(0, 0, 0, 57);
    bg.setColorAt(0, QColor("#FFFFFF"));
    bg.setColorAt(0.7, QColor("#FAFBFC"));
    bg.setColorAt(1, QColor("#EEF2F6"));
    p.fillRect(QRectF(0, 0, 1280, 57), bg);
    p.fillRect(QRectF(0, 56, 1280, 1), QColor("#D5DDE5"));
    QLinearGradient accent(0, 0, 420, 0);
    accent.setColorAt(0, kAccent);
    accent.setColorAt(1, QColor(232, 131, 58, 0));
    p.fillRect(QRectF(0, 54, 420, 2), accent);

    noteMark(p, QPointF(16, 4), 44);
    const qreal w = wordmark(p, QPointF(76, 37), 27);
    const qreal x = 76 + w + 18;
    p.fillRect(QRectF(x, 16, 1, 26), QColor("#CFD8E0"));
    text(p, QRectF(x + 16, 14, 400, 30), QString::fromUtf8("HTML-Newsletter gestalten, ansehen und versenden"),
         font("Liberation Sans", 13), QColor("#7A8896"), Qt::AlignLeft | Qt::AlignVCenter);
    return img;
}

void envelope(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 25));
    p.drawRoundedRect(r.translated(2, 3), 3, 3);
    p.setBrush(QColor("#FFFFFF"));
    p.drawRoundedRect(r, 3, 3);
    p.setBrush(QColor("#E3ECF5"));
    p.drawPolygon(QPolygonF({r.bottomLeft(), QPointF(r.center().x(), r.center().y() + r.height() * 0.05),
                             r.bottomRight()}));
    p.setBrush(QColor("#4A90D9"));
    p.drawPolygon(QPolygonF({r.topLeft(), r.topRight(), QPointF(r.center().x(), r.center().y() + r.height() * 0.08)}));
    p.restore();
}

QImage aboutPicture() {
    QImage img = canvas(300, 200, QColor("#FFFFFF"));
    QPainter p(&img);
    prepare(p);
    QLinearGradient bg(0, 0, 300, 200);
    bg.setColorAt(0, QColor("#FFFFFF"));
    bg.setColorAt(1, QColor("#E6EEF6"));
    p.fillRect(QRectF(0, 0, 300, 200), bg);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(232, 131, 58, 28));
    p.drawEllipse(QPointF(150, 66), 70, 54);

    // A flight path of dots from the note to the letter.
    p.setBrush(QColor("#B7C6D6"));
    for (int i = 0; i < 7; ++i)
        p.drawEllipse(QPointF(162 + i * 8, 40 - (i * i) * 0.35), 1.6, 1.6);
    noteMark(p, QPointF(92, 18), 92);
    envelope(p, QRectF(172, 58, 62, 42));

    const qreal size = 30;
    const QFont name = font("URW Gothic", size, QFont::DemiBold);
    const QFont pro = font("URW Gothic", size, QFont::Normal);
    const qreal w = textWidth("Zettelwerk", name) + size * 0.22 + textWidth("pro", pro);
    wordmark(p, QPointF((300 - w) / 2, 158), size);
    text(p, QRectF(0, 164, 300, 22), "Newsletter-Editor", font("Liberation Sans", 12, QFont::Normal, false, 2.0),
         QColor("#7A8896"), Qt::AlignHCenter | Qt::AlignVCenter);
    return img;
}

}  // namespace

void drawProgram(const Output& out) {
    out.recom("kopf.jpg", headBand());
    out.recom("about.jpg", aboutPicture());
}

}  // namespace art

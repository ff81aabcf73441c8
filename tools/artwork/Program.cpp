// The pictures of the program's own windows: the top band of the main window and the about box.
// Both carry the product's paper-note mark: two slips of paper, one pinned over the other.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

#include <cmath>
#include <functional>

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

// A soft background for the small window pictures.
QImage tile(int w, int h) {
    QImage img = canvas(w, h, QColor("#FFFFFF"));
    QPainter p(&img);
    prepare(p);
    QLinearGradient bg(0, 0, w, h);
    bg.setColorAt(0, QColor("#FFFFFF"));
    bg.setColorAt(1, QColor("#E6EEF6"));
    p.fillRect(QRectF(0, 0, w, h), bg);
    return img;
}

// The tip: the note mark with a light bulb of ideas.
QImage tipPicture() {
    QImage img = tile(96, 96);
    QPainter p(&img);
    prepare(p);
    noteMark(p, QPointF(6, 22), 62);
    const QPointF c(68, 30);
    p.setPen(QPen(QColor("#F2C94C"), 2.5, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        const qreal a = qDegreesToRadians(-180.0 + i * 30.0);
        p.drawLine(c + QPointF(std::cos(a), std::sin(a)) * 19, c + QPointF(std::cos(a), std::sin(a)) * 25);
    }
    p.setPen(Qt::NoPen);
    QRadialGradient glass(c - QPointF(4, 4), 18);
    glass.setColorAt(0, QColor("#FFF8D0"));
    glass.setColorAt(1, QColor("#F5C542"));
    p.setBrush(glass);
    p.drawEllipse(c, 14, 14);
    p.setBrush(QColor("#7A8896"));
    p.drawRoundedRect(QRectF(c.x() - 6, c.y() + 12, 12, 9), 2, 2);
    return img;
}

// Serial mail: one newsletter fanned out into many envelopes.
void envelopeFan(QPainter& p, QPointF origin, qreal scale) {
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(origin + QPointF(i * 13 * scale, -i * 9 * scale));
        p.rotate(-6 + i * 5);
        envelope(p, QRectF(0, 0, 46 * scale, 31 * scale));
        p.restore();
    }
}

QImage serialMailPicture() {
    QImage img = tile(96, 96);
    QPainter p(&img);
    prepare(p);
    envelopeFan(p, QPointF(8, 52), 0.95);
    p.setPen(Qt::NoPen);
    p.setBrush(kAccent);
    p.drawEllipse(QPointF(76, 74), 11, 11);
    text(p, QRectF(65, 63, 22, 22), "+", font("Liberation Sans", 18, QFont::Bold), QColor("#FFFFFF"),
         Qt::AlignCenter);
    return img;
}

// The showcase's product pictures: 240 x 150, a scene on the soft background with the product's name.
QImage productPicture(const QString& name, const std::function<void(QPainter&)>& scene) {
    QImage img = tile(240, 150);
    QPainter p(&img);
    prepare(p);
    scene(p);
    text(p, QRectF(0, 118, 240, 26), name, font("URW Gothic", 19, QFont::DemiBold), kSlate, Qt::AlignCenter);
    return img;
}

void labelSheet(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 25));
    p.drawRect(QRectF(73, 13, 98, 100));
    p.setBrush(QColor("#FFFFFF"));
    p.drawRect(QRectF(70, 10, 98, 100));
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 2; ++col) {
            const QRectF label(76 + col * 46, 16 + row * 23, 41, 19);
            p.setBrush(row == 1 && col == 1 ? QColor("#FDE3CF") : QColor("#EEF3F8"));
            p.drawRoundedRect(label, 3, 3);
            p.setBrush(QColor("#9AAABA"));
            p.drawRect(QRectF(label.left() + 4, label.top() + 5, 26, 2));
            p.drawRect(QRectF(label.left() + 4, label.top() + 10, 18, 2));
        }
    }
}

void calendar(QPainter& p) {
    const QRectF page(72, 14, 96, 94);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 25));
    p.drawRoundedRect(page.translated(3, 3), 6, 6);
    p.setBrush(QColor("#FFFFFF"));
    p.drawRoundedRect(page, 6, 6);
    p.setBrush(QColor("#4A90D9"));
    p.drawRoundedRect(QRectF(page.left(), page.top(), page.width(), 22), 6, 6);
    p.drawRect(QRectF(page.left(), page.top() + 12, page.width(), 10));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 5; ++col) {
            p.setBrush(row == 2 && col == 3 ? kAccent : QColor("#D6E0EA"));
            p.drawEllipse(QPointF(page.left() + 14 + col * 17, page.top() + 34 + row * 15), 4.5, 4.5);
        }
}

}  // namespace

void drawProgram(const Output& out) {
    out.recom("kopf.jpg", headBand());
    out.recom("about.jpg", aboutPicture());
    out.recom("tip.jpg", tipPicture());
    out.recom("ventoza.jpg", serialMailPicture());
    out.recom("werbung_ventoza.jpg",
              productPicture("Ventoza professional", [](QPainter& p) { envelopeFan(p, QPointF(62, 88), 1.6); }));
    out.recom("werbung_etikettwerk.jpg", productPicture("Etikettwerk", labelSheet));
    out.recom("werbung_terminwerk.jpg", productPicture("Terminwerk", calendar));
}

}  // namespace art

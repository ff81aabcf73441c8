// The allotment garden club of the default template: fresh greens, a sprout emblem, a sunny summer.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>
#include <QRadialGradient>

namespace art {
namespace {

const QColor kPage("#FFFFFF");
const QColor kDeep("#1B5E20");
const QColor kGreen("#2E7D32");
const QColor kLeaf("#66BB6A");
const QColor kPale("#A5D6A7");
const QColor kSun("#F9B233");

void sprout(QPainter& p, QPointF ground, qreal s) {
    p.save();
    p.setPen(QPen(kGreen, 2.2 * s, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath stem(ground);
    stem.cubicTo(ground + QPointF(1 * s, -10 * s), ground + QPointF(-2 * s, -20 * s), ground + QPointF(0, -30 * s));
    p.drawPath(stem);
    p.restore();
    leaf(p, ground + QPointF(0, -14 * s), 24 * s, 11 * s, 150, QColor("#43A047"), QColor("#2E7D32"));
    leaf(p, ground + QPointF(0, -24 * s), 27 * s, 12 * s, 38, kLeaf, QColor("#388E3C"));
    leaf(p, ground + QPointF(0, -30 * s), 12 * s, 6 * s, 95, QColor("#8BC34A"), Qt::transparent);
}

QImage head() {
    QImage img = canvas(600, 110, kPage);
    QPainter p(&img);
    prepare(p);

    // Emblem: a sprout under the sun on a green hill, in a ring.
    const QPointF c(58, 55);
    const qreal r = 44;
    QPainterPath disc;
    disc.addEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#EEF7E8"));
    p.drawPath(disc);
    p.save();
    p.setClipPath(disc);
    sun(p, c + QPointF(18, -17), 8, 10, 7, kSun, 1.8);
    p.setBrush(QColor("#9CCC65"));
    p.drawEllipse(c + QPointF(-22, 52), 50, 26);
    p.setBrush(QColor("#7CB342"));
    p.drawEllipse(c + QPointF(24, 54), 48, 24);
    p.restore();
    sprout(p, c + QPointF(-4, 27), 1.45);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kGreen, 2.5));
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kPale, 1.0));
    p.drawEllipse(c, r + 4, r + 4);

    // Lettering.
    const QFont name = font("P052", 34, QFont::Bold);
    text(p, QRectF(120, 16, 470, 46), "Gartenfreunde Lindenhain", name, kDeep, Qt::AlignLeft | Qt::AlignBottom);
    const QFont sub = font("Liberation Sans", 12, QFont::Bold, false, 2.4);
    text(p, QRectF(122, 64, 470, 20), QString::fromUtf8("KLEINGARTENVEREIN E.V.  \u00B7  SEIT 1952"), sub,
         QColor("#7C9A6E"), Qt::AlignLeft | Qt::AlignVCenter);

    // A rule under the subtitle that ends in a little sprig.
    p.setPen(QPen(kPale, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(122, 92), QPointF(548, 92));
    leaf(p, QPointF(552, 92), 20, 9, 20, kLeaf, QColor("#388E3C"));
    leaf(p, QPointF(552, 92), 16, 8, -25, QColor("#9CCC65"), Qt::transparent);
    leaf(p, QPointF(572, 86), 14, 7, 60, QColor("#43A047"), Qt::transparent);
    return img;
}

QImage separatorNews() {
    QImage img = canvas(600, 20, kPage);
    QPainter p(&img);
    prepare(p);
    QLinearGradient left(40, 0, 280, 0);
    left.setColorAt(0, kPage);
    left.setColorAt(1, kPale);
    QLinearGradient right(320, 0, 560, 0);
    right.setColorAt(0, kPale);
    right.setColorAt(1, kPage);
    p.setPen(QPen(QBrush(left), 1.6));
    p.drawLine(QPointF(40, 10), QPointF(280, 10));
    p.setPen(QPen(QBrush(right), 1.6));
    p.drawLine(QPointF(320, 10), QPointF(560, 10));
    leaf(p, QPointF(297, 10), 18, 8, 180, kLeaf, QColor("#388E3C"));
    leaf(p, QPointF(303, 10), 18, 8, 0, kLeaf, QColor("#388E3C"));
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    p.drawEllipse(QPointF(300, 10), 3, 3);
    return img;
}

QImage separatorImprint() {
    QImage img = canvas(600, 16, kPage);
    QPainter p(&img);
    prepare(p);
    p.setPen(Qt::NoPen);
    for (int x = 12; x <= 588; x += 9) {
        if (x > 276 && x < 324)
            continue;
        p.setBrush(kPale);
        p.drawEllipse(QPointF(x, 8), 1.6, 1.6);
    }
    leaf(p, QPointF(300, 11), 13, 7, 130, QColor("#43A047"), Qt::transparent);
    leaf(p, QPointF(300, 11), 13, 7, 50, kLeaf, Qt::transparent);
    return img;
}

QImage summerParty() {
    return blockPicture(kPage, QColor("#DDF1FB"), [](QPainter& p, const QRectF& r) {
        QLinearGradient sky(0, 0, 0, r.bottom());
        sky.setColorAt(0, QColor("#BFE6FA"));
        sky.setColorAt(1, QColor("#F1FAFF"));
        p.fillRect(r, sky);
        sun(p, QPointF(128, 40), 11, 12, 8, QColor("#FFC531"), 2.0);
        cloud(p, QPointF(42, 42), 13, QColor(255, 255, 255, 235));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#AED581"));
        p.drawPath(wavePath(r, 88, 5, 140, 0.8));
        p.setBrush(QColor("#7CB342"));
        p.drawPath(wavePath(r, 100, 3, 110, 2.5));

        // A striped party pavilion with a counter in its opening.
        const qreal cx = 80, top = 56, eave = 74, base = 102;
        const QColor red("#E53935"), cream("#FFF8EC"), edge("#CBB89C");
        p.setPen(QPen(edge, 1.0));
        p.setBrush(cream);
        p.drawRect(QRectF(cx - 26, eave, 52, base - eave));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#8D6E63"));
        p.drawRect(QRectF(cx - 17, eave + 6, 34, base - eave - 6));
        p.setBrush(QColor("#FFCA28"));
        p.drawRect(QRectF(cx - 17, eave + 14, 34, 4));
        p.setBrush(QColor("#D7CCC8"));
        p.drawRect(QRectF(cx - 17, eave + 18, 34, base - eave - 18));
        QPolygonF roof({QPointF(cx, top), QPointF(cx - 30, eave), QPointF(cx + 30, eave)});
        p.setPen(QPen(edge, 1.0));
        p.setBrush(cream);
        p.drawPolygon(roof);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 6; i += 2) {
            const qreal x0 = cx - 30 + i * 10;
            p.setBrush(red);
            p.drawPolygon(QPolygonF({QPointF(cx, top), QPointF(x0, eave), QPointF(x0 + 10, eave)}));
        }
        for (int i = 0; i < 6; ++i) {
            p.setPen(i % 2 == 0 ? Qt::NoPen : QPen(edge, 1.0));
            p.setBrush(i % 2 == 0 ? red : cream);
            p.drawChord(QRectF(cx - 30 + i * 10, eave - 5, 10, 10), 180 * 16, 180 * 16);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#C62828"));
        p.drawEllipse(QPointF(cx, top - 1), 2.2, 2.2);
        bunting(p, QPointF(-4, 8), QPointF(164, 8), 9, 9,
                {QColor("#E53935"), QColor("#FDD835"), QColor("#1E88E5"), QColor("#43A047"), QColor("#FB8C00")},
                QColor("#5D6D7E"));
    });
}

void pot(QPainter& p, qreal cx, qreal top, qreal bottom) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#D9774B"));
    p.drawPolygon(QPolygonF({QPointF(cx - 20, top), QPointF(cx + 20, top), QPointF(cx + 14, bottom),
                             QPointF(cx - 14, bottom)}));
    p.setBrush(QColor("#C0602F"));
    p.drawRoundedRect(QRectF(cx - 24, top - 7, 48, 10), 2.5, 2.5);
    p.setBrush(QColor(255, 255, 255, 50));
    p.drawRect(QRectF(cx - 12, top + 6, 5, bottom - top - 10));
}

QImage plantSwap() {
    return blockPicture(kPage, QColor("#FFF3E0"), [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#F1DEC2"));
        p.drawRect(QRectF(0, 104, r.width() + 1, 20));

        // Left pot: a leafy seedling.
        p.setPen(QPen(QColor("#558B2F"), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(42, 70), QPointF(42, 46));
        leaf(p, QPointF(42, 62), 20, 10, 150, QColor("#7CB342"), QColor("#558B2F"));
        leaf(p, QPointF(42, 56), 22, 11, 30, QColor("#8BC34A"), QColor("#558B2F"));
        leaf(p, QPointF(42, 47), 16, 8, 100, QColor("#689F38"), Qt::transparent);
        pot(p, 42, 76, 104);

        // Right pot: a flowering plant.
        p.setPen(QPen(QColor("#558B2F"), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(118, 70), QPointF(118, 42));
        leaf(p, QPointF(118, 64), 18, 9, 160, QColor("#7CB342"), Qt::transparent);
        leaf(p, QPointF(118, 58), 18, 9, 20, QColor("#8BC34A"), Qt::transparent);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 6; ++i) {
            p.save();
            p.translate(118, 38);
            p.rotate(i * 60);
            p.setBrush(QColor("#EC407A"));
            p.drawEllipse(QRectF(-4, -14, 8, 12));
            p.restore();
        }
        p.setBrush(QColor("#FFCA28"));
        p.drawEllipse(QPointF(118, 38), 4.5, 4.5);
        pot(p, 118, 76, 104);

        // Two arrows between the pots: give one, take one.
        QPen arrow(QColor("#2E7D32"), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(arrow);
        p.setBrush(Qt::NoBrush);
        QPainterPath over(QPointF(64, 30));
        over.quadTo(QPointF(80, 18), QPointF(96, 30));
        p.drawPath(over);
        p.drawPolyline(QPolygonF({QPointF(89, 29), QPointF(96, 30), QPointF(96, 23)}));
        QPainterPath under(QPointF(96, 46));
        under.quadTo(QPointF(80, 58), QPointF(64, 46));
        p.drawPath(under);
        p.drawPolyline(QPolygonF({QPointF(71, 47), QPointF(64, 46), QPointF(64, 53)}));
    });
}

QImage fruitTree() {
    return blockPicture(kPage, QColor("#EAF6FB"), [](QPainter& p, const QRectF& r) {
        QLinearGradient sky(0, 0, 0, r.bottom());
        sky.setColorAt(0, QColor("#D6EEF8"));
        sky.setColorAt(1, QColor("#F4FBF2"));
        p.fillRect(r, sky);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#9CCC65"));
        p.drawPath(wavePath(r, 100, 3, 160, 1.0));

        // Trunk and branches.
        p.setBrush(QColor("#795548"));
        QPainterPath trunk(QPointF(72, 104));
        trunk.cubicTo(QPointF(76, 88), QPointF(74, 76), QPointF(70, 62));
        trunk.lineTo(QPointF(80, 66));
        trunk.lineTo(QPointF(90, 58));
        trunk.cubicTo(QPointF(86, 76), QPointF(84, 90), QPointF(88, 104));
        trunk.closeSubpath();
        p.drawPath(trunk);

        // Crown.
        const QColor greens[] = {QColor("#388E3C"), QColor("#43A047"), QColor("#4CAF50"), QColor("#66BB6A")};
        const QPointF blobs[] = {QPointF(58, 50), QPointF(102, 50), QPointF(80, 34), QPointF(66, 30),
                                 QPointF(96, 32), QPointF(80, 54)};
        const qreal radii[] = {22, 22, 24, 17, 17, 20};
        for (int i = 0; i < 6; ++i) {
            p.setBrush(greens[i % 4]);
            p.drawEllipse(blobs[i], radii[i], radii[i] * 0.88);
        }
        const QPointF apples[] = {QPointF(52, 44), QPointF(70, 56), QPointF(96, 40), QPointF(108, 56),
                                  QPointF(82, 26), QPointF(62, 28), QPointF(90, 60)};
        for (const QPointF& a : apples) {
            p.setBrush(QColor("#E53935"));
            p.drawEllipse(a, 4.6, 4.3);
            p.setBrush(QColor(255, 255, 255, 150));
            p.drawEllipse(a + QPointF(-1.5, -1.5), 1.3, 1.1);
        }
        p.setBrush(QColor("#E53935"));
        p.drawEllipse(QPointF(112, 101), 4.6, 4.3);
        p.setBrush(QColor("#F9A825"));
        p.drawEllipse(QPointF(122, 103), 4.2, 3.8);

        // A little ladder against the crown.
        p.setPen(QPen(QColor("#A1887F"), 2.0, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(124, 104), QPointF(114, 52));
        p.drawLine(QPointF(136, 104), QPointF(126, 52));
        for (int i = 1; i < 6; ++i) {
            const qreal t = i / 6.0;
            p.drawLine(QPointF(124 - 10 * t, 104 - 52 * t), QPointF(136 - 10 * t, 104 - 52 * t));
        }
    });
}

}  // namespace

void drawGarden(const Output& out) {
    out.image("garten_kopf.jpg", head());
    out.image("garten_trenner.jpg", separatorNews());
    out.image("garten_impressum.jpg", separatorImprint());
    out.image("garten_sommerfest.jpg", summerParty());
    out.image("garten_pflanzentausch.jpg", plantSwap());
    out.image("garten_obstbaum.jpg", fruitTree());
}

}  // namespace art

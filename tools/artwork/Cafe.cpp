// The bakery and café: cream paper, a striped awning, warm browns and oranges, a script lettering.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace art {
namespace {

const QColor kPage("#FFF8EC");
const QColor kBrown("#5D4037");
const QColor kCoffee("#6D4C41");
const QColor kOrange("#E0892B");
const QColor kGold("#F6B042");

// A striped awning with a scalloped edge along the top of the picture.
void awning(QPainter& p, qreal width, qreal depth, qreal stripe) {
    p.save();
    p.setPen(Qt::NoPen);
    const QColor a = kOrange, b("#FFFFFF"), edge("#EBC9A0");
    const int n = static_cast<int>(width / stripe) + 1;
    for (int i = 0; i < n; ++i) {
        const QRectF scallop(i * stripe, depth - stripe / 2, stripe, stripe);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 18));
        p.drawChord(scallop.translated(0, 2), 180 * 16, 180 * 16);
        p.setBrush(i % 2 == 0 ? a : b);
        p.drawRect(QRectF(i * stripe, 0, stripe, depth));
        p.drawChord(scallop, 180 * 16, 180 * 16);
        if (i % 2 == 1) {
            p.setPen(QPen(edge, 1.0));
            p.setBrush(Qt::NoBrush);
            p.drawArc(scallop, 180 * 16, 180 * 16);
        }
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawRect(QRectF(0, 0, width, 4));
    p.restore();
}

void cupIcon(QPainter& p, QPointF c, qreal s, const QColor& color) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath body(c + QPointF(-s, -s * 0.45));
    body.lineTo(c + QPointF(s, -s * 0.45));
    body.cubicTo(c + QPointF(s, s * 0.35), c + QPointF(s * 0.55, s * 0.75), c + QPointF(0, s * 0.75));
    body.cubicTo(c + QPointF(-s * 0.55, s * 0.75), c + QPointF(-s, s * 0.35), c + QPointF(-s, -s * 0.45));
    p.drawPath(body);
    p.setPen(QPen(color, s * 0.22));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c + QPointF(s * 1.05, -s * 0.05), s * 0.32, s * 0.3);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawRoundedRect(QRectF(c.x() - s * 1.3, c.y() + s * 0.82, s * 2.6, s * 0.22), s * 0.1, s * 0.1);
    // Steam.
    p.setPen(QPen(color, s * 0.16, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = -1; i <= 1; ++i) {
        const QPointF b = c + QPointF(i * s * 0.5, -s * 0.65);
        QPainterPath steam(b);
        steam.cubicTo(b + QPointF(-s * 0.25, -s * 0.25), b + QPointF(s * 0.25, -s * 0.45), b + QPointF(0, -s * 0.75));
        p.drawPath(steam);
    }
    p.restore();
}

void wheatEar(QPainter& p, QPointF base, qreal length, qreal angle) {
    p.save();
    p.translate(base);
    p.rotate(-angle);
    p.setPen(QPen(QColor("#C58B3A"), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(length, 0));
    const QColor grain("#E2A84B");
    for (int i = 0; i < 5; ++i) {
        const qreal x = length * 0.35 + i * length * 0.12;
        leaf(p, QPointF(x, 0), length * 0.2, length * 0.09, 35, grain, Qt::transparent);
        leaf(p, QPointF(x, 0), length * 0.2, length * 0.09, -35, QColor("#D89A3A"), Qt::transparent);
    }
    leaf(p, QPointF(length * 0.95, 0), length * 0.18, length * 0.08, 0, grain, Qt::transparent);
    p.restore();
}

QImage head() {
    QImage img = canvas(600, 110, kPage);
    QPainter p(&img);
    prepare(p);
    awning(p, 600, 16, 20);

    const QPointF c(58, 68);
    sun(p, c, 27, 16, 10, kGold, 2.4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#FFE2A8"));
    p.drawEllipse(c, 22, 22);
    cupIcon(p, c + QPointF(-2, 4), 11, kBrown);

    const QFont name = font("Z003", 44);
    text(p, QRectF(106, 28, 400, 54), QString::fromUtf8("Café Sonnenschein"), name, kBrown,
         Qt::AlignLeft | Qt::AlignVCenter);
    const QFont sub = font("Liberation Sans", 11, QFont::Bold, false, 2.6);
    text(p, QRectF(110, 82, 420, 18), QString::fromUtf8("BÄCKEREI  \u00B7  KONDITOREI  \u00B7  FRÜHSTÜCK"), sub,
         QColor("#B0713A"), Qt::AlignLeft | Qt::AlignVCenter);

    wheatEar(p, QPointF(560, 104), 62, 78);
    wheatEar(p, QPointF(566, 104), 56, 58);
    wheatEar(p, QPointF(554, 104), 52, 100);
    return img;
}

void coffeeBean(QPainter& p, QPointF c, qreal s, qreal angle) {
    p.save();
    p.translate(c);
    p.rotate(angle);
    p.setPen(Qt::NoPen);
    p.setBrush(kCoffee);
    p.drawEllipse(QPointF(0, 0), s, s * 0.68);
    p.setPen(QPen(kPage, s * 0.18, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath crease(QPointF(-s * 0.75, 0));
    crease.cubicTo(QPointF(-s * 0.25, -s * 0.35), QPointF(s * 0.25, s * 0.35), QPointF(s * 0.75, 0));
    p.drawPath(crease);
    p.restore();
}

QImage separatorNews() {
    QImage img = canvas(600, 20, kPage);
    QPainter p(&img);
    prepare(p);
    const QColor line("#D9B994");
    p.setPen(QPen(line, 1.2));
    p.drawLine(QPointF(50, 10), QPointF(272, 10));
    p.drawLine(QPointF(328, 10), QPointF(550, 10));
    p.setPen(Qt::NoPen);
    p.setBrush(line);
    p.drawEllipse(QPointF(280, 10), 1.8, 1.8);
    p.drawEllipse(QPointF(320, 10), 1.8, 1.8);
    coffeeBean(p, QPointF(300, 10), 9, -30);
    return img;
}

QImage separatorImprint() {
    QImage img = canvas(600, 16, kPage);
    QPainter p(&img);
    prepare(p);
    // A doily edge of small arcs.
    p.setPen(QPen(QColor("#E0B98A"), 1.3));
    p.setBrush(Qt::NoBrush);
    for (int x = 0; x < 600; x += 12)
        p.drawArc(QRectF(x, 1, 12, 12), 180 * 16, 180 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#E0B98A"));
    for (int x = 6; x < 600; x += 12)
        p.drawEllipse(QPointF(x, 10.5), 1.0, 1.0);
    return img;
}

QImage cake() {
    return blockPicture(kPage, QColor("#FCE4EC"), [](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        // Plate.
        p.setBrush(QColor("#E6C9D2"));
        p.drawEllipse(QPointF(82, 104), 68, 12);
        p.setBrush(QColor("#FFFFFF"));
        p.drawEllipse(QPointF(82, 102), 66, 11);
        p.setBrush(QColor("#F8F1F3"));
        p.drawEllipse(QPointF(82, 102), 46, 7);

        // The slice: its cut side shows the layers, the top carries cream and a cherry.
        const QPointF A(28, 64), B(102, 38), C(134, 54);
        const qreal h = 38;
        const QColor layers[] = {QColor("#F1C27D"), QColor("#FFFFFF"), QColor("#E57373"), QColor("#F1C27D"),
                                 QColor("#FFFFFF"), QColor("#C98F55")};
        const qreal cuts[] = {0, 0.22, 0.34, 0.44, 0.68, 0.8, 1.0};
        for (int i = 0; i < 6; ++i) {
            const qreal t0 = cuts[i], t1 = cuts[i + 1];
            p.setBrush(layers[i]);
            p.drawPolygon(QPolygonF({A + QPointF(0, h * t0), C + QPointF(0, h * t0), C + QPointF(0, h * t1),
                                     A + QPointF(0, h * t1)}));
        }
        // Round outer side of the cake, facing right.
        QPainterPath rim(C);
        rim.quadTo(QPointF(C.x() + 4, C.y() - 10), B + QPointF(10, -2));
        rim.lineTo(B + QPointF(10, h - 2));
        rim.quadTo(QPointF(C.x() + 4, C.y() + h - 10), C + QPointF(0, h));
        rim.closeSubpath();
        p.setBrush(QColor("#F5D0DA"));
        p.drawPath(rim);
        QPainterPath top(A);
        top.lineTo(B);
        top.quadTo(QPointF(C.x() + 4, C.y() - 10), C);
        top.closeSubpath();
        p.setBrush(QColor("#FFF4F6"));
        p.drawPath(top);
        p.setPen(QPen(QColor("#F3C1CE"), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawLine(A, C);
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 3; ++i) {
            const QPointF r = B + (C - B) * (0.2 + i * 0.3) + QPointF(-6, 2);
            p.setBrush(QColor("#F48FB1"));
            p.drawEllipse(r, 5, 4);
            p.setBrush(QColor("#F8BBD0"));
            p.drawEllipse(r + QPointF(-1, -1.2), 2.5, 2);
        }
        // Cherry.
        p.setPen(QPen(QColor("#558B2F"), 1.6, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath stem(QPointF(98, 36));
        stem.quadTo(QPointF(100, 24), QPointF(108, 20));
        p.drawPath(stem);
        p.setPen(Qt::NoPen);
        QRadialGradient cherry(QPointF(95, 34), 8);
        cherry.setColorAt(0, QColor("#EF5350"));
        cherry.setColorAt(1, QColor("#B71C1C"));
        p.setBrush(cherry);
        p.drawEllipse(QPointF(97, 38), 6.5, 6);
        p.setBrush(QColor(255, 255, 255, 170));
        p.drawEllipse(QPointF(95, 36), 1.8, 1.4);
    });
}

QImage coffeeCup() {
    return blockPicture(kPage, QColor("#FFE0B2"), [](QPainter& p, const QRectF& r) {
        QRadialGradient glow(QPointF(80, 56), 90);
        glow.setColorAt(0, QColor("#FFF3E0"));
        glow.setColorAt(1, QColor("#FFCC80"));
        p.fillRect(r, glow);
        p.setPen(Qt::NoPen);
        // Saucer.
        p.setBrush(QColor(0, 0, 0, 25));
        p.drawEllipse(QPointF(80, 104), 50, 10);
        p.setBrush(QColor("#FFFFFF"));
        p.drawEllipse(QPointF(80, 100), 48, 10);
        p.setBrush(QColor("#F3E5D8"));
        p.drawEllipse(QPointF(80, 100), 30, 5.5);
        // Handle.
        p.setPen(QPen(QColor("#FFFFFF"), 6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(110, 72), 11, 10);
        // Cup.
        p.setPen(Qt::NoPen);
        QPainterPath cup(QPointF(50, 56));
        cup.lineTo(QPointF(110, 56));
        cup.cubicTo(QPointF(110, 80), QPointF(100, 98), QPointF(80, 98));
        cup.cubicTo(QPointF(60, 98), QPointF(50, 80), QPointF(50, 56));
        QLinearGradient shade(50, 0, 110, 0);
        shade.setColorAt(0, QColor("#FFFFFF"));
        shade.setColorAt(1, QColor("#F1E4D6"));
        p.setBrush(shade);
        p.drawPath(cup);
        p.setBrush(kOrange);
        p.drawPath(cup.intersected([] {
            QPainterPath band;
            band.addRect(QRectF(40, 64, 80, 6));
            return band;
        }()));
        p.setBrush(QColor("#EF6C79"));
        p.drawPath(heartPath(QPointF(80, 82), 6));
        // Coffee with crema.
        p.setBrush(QColor("#FFFFFF"));
        p.drawEllipse(QPointF(80, 56), 30, 7);
        p.setBrush(kCoffee);
        p.drawEllipse(QPointF(80, 56.5), 26, 5);
        p.setBrush(QColor("#A1745A"));
        p.drawEllipse(QPointF(76, 56), 12, 2.5);
        // Steam.
        p.setPen(QPen(QColor(255, 255, 255, 230), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int i = -1; i <= 1; ++i) {
            const QPointF b(80 + i * 13, 44);
            QPainterPath steam(b);
            steam.cubicTo(b + QPointF(-8, -8), b + QPointF(8, -14), b + QPointF(0, -26 + qAbs(i) * 5));
            p.drawPath(steam);
        }
    });
}

QImage pretzel() {
    return blockPicture(kPage, QColor("#F8E6CC"), [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#EFD4AE"));
        p.drawRect(QRectF(0, 96, r.width() + 1, 30));
        // Flour dust.
        p.setBrush(QColor(255, 255, 255, 150));
        for (const QPointF& d : {QPointF(18, 24), QPointF(140, 30), QPointF(26, 104), QPointF(134, 108),
                                 QPointF(148, 70), QPointF(12, 66)})
            p.drawEllipse(d, 2.2, 2.2);

        // The pretzel as one thick stroked line: the belly, the two arms and the twist.
        QTransform t;
        t.translate(80, 62);
        t.scale(56, 56);
        QPainterPath loop(QPointF(-0.08, -0.05));
        loop.cubicTo(QPointF(-0.35, -0.5), QPointF(-0.95, -0.62), QPointF(-1.0, -0.08));
        loop.cubicTo(QPointF(-1.05, 0.45), QPointF(-0.55, 0.72), QPointF(0, 0.7));
        loop.cubicTo(QPointF(0.55, 0.72), QPointF(1.05, 0.45), QPointF(1.0, -0.08));
        loop.cubicTo(QPointF(0.95, -0.62), QPointF(0.35, -0.5), QPointF(0.08, -0.05));
        QPainterPath armL(QPointF(0.08, -0.05));
        armL.cubicTo(QPointF(-0.12, 0.18), QPointF(-0.3, 0.4), QPointF(-0.5, 0.55));
        QPainterPath armR(QPointF(-0.08, -0.05));
        armR.cubicTo(QPointF(0.12, 0.18), QPointF(0.3, 0.4), QPointF(0.5, 0.55));
        const QPainterPath parts[] = {t.map(loop), t.map(armL), t.map(armR)};
        const QColor crust("#A0522D"), light("#C9783F");
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0, 0, 0, 30), 17, Qt::SolidLine, Qt::RoundCap));
        for (const QPainterPath& part : parts)
            p.drawPath(part.translated(2, 3));
        for (const QPainterPath& part : parts) {
            p.setPen(QPen(crust, 15, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(part);
            p.setPen(QPen(light, 6, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(part.translated(-1, -2));
        }
        // Coarse salt.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#FFFFFF"));
        for (const QPainterPath& part : parts) {
            for (qreal s = 0.08; s < 1.0; s += 0.16) {
                const QPointF pt = part.pointAtPercent(s) + QPointF(-1, -3);
                p.drawRoundedRect(QRectF(pt.x() - 1.4, pt.y() - 1.1, 2.8, 2.2), 0.6, 0.6);
            }
        }
    });
}

}  // namespace

void drawCafe(const Output& out) {
    out.image("cafe_kopf.jpg", head());
    out.image("cafe_trenner.jpg", separatorNews());
    out.image("cafe_impressum.jpg", separatorImprint());
    out.image("cafe_torte.jpg", cake());
    out.image("cafe_fruehstueck.jpg", coffeeCup());
    out.image("cafe_brezel.jpg", pretzel());
}

}  // namespace art

// The sports club: club colours blue and white with a signal yellow, slanted stripes, a crest.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>
#include <vector>

namespace art {
namespace {

const QColor kPage("#FFFFFF");
const QColor kBlue("#0D47A1");
const QColor kBlue2("#1565C0");
const QColor kSky("#42A5F5");
const QColor kYellow("#FFC107");

QPainterPath shieldPath(const QRectF& r) {
    QPainterPath path(QPointF(r.left(), r.top() + r.height() * 0.08));
    path.quadTo(QPointF(r.center().x(), r.top() - r.height() * 0.04), QPointF(r.right(), r.top() + r.height() * 0.08));
    path.lineTo(QPointF(r.right(), r.top() + r.height() * 0.5));
    path.cubicTo(QPointF(r.right(), r.top() + r.height() * 0.78), QPointF(r.center().x() + r.width() * 0.2, r.bottom() - r.height() * 0.08),
                 QPointF(r.center().x(), r.bottom()));
    path.cubicTo(QPointF(r.center().x() - r.width() * 0.2, r.bottom() - r.height() * 0.08), QPointF(r.left(), r.top() + r.height() * 0.78),
                 QPointF(r.left(), r.top() + r.height() * 0.5));
    path.closeSubpath();
    return path;
}

void crest(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#FFFFFF"));
    p.drawPath(shieldPath(r));
    const QRectF inner = r.adjusted(4, 4.5, -4, -5);
    const QPainterPath in = shieldPath(inner);
    p.setClipPath(in);
    p.setBrush(kBlue);
    p.drawRect(inner);
    // White right half below the band: the club colours blue and white.
    p.setBrush(QColor("#FFFFFF"));
    p.drawRect(QRectF(inner.center().x(), inner.top() + inner.height() * 0.6, inner.width() / 2 + 1, inner.height()));
    p.setBrush(kYellow);
    p.drawRect(QRectF(inner.left(), inner.top() + inner.height() * 0.36, inner.width(), inner.height() * 0.24));
    p.setClipping(false);
    text(p, QRectF(inner.left(), inner.top() + inner.height() * 0.36, inner.width(), inner.height() * 0.24), "TSV",
         font("Nimbus Sans", inner.height() * 0.2, QFont::Bold, false, 1), kBlue, Qt::AlignCenter);
    p.setBrush(QColor("#FFFFFF"));
    p.drawPath(starPath(QPointF(inner.center().x(), inner.top() + inner.height() * 0.2), inner.height() * 0.11,
                        inner.height() * 0.045, 5));
    p.restore();
}

QImage head() {
    QImage img = canvas(600, 100, kBlue);
    QPainter p(&img);
    prepare(p);
    QLinearGradient bg(0, 0, 600, 0);
    bg.setColorAt(0, QColor("#0B3D91"));
    bg.setColorAt(1, kBlue2);
    p.fillRect(QRectF(0, 0, 600, 100), bg);

    // Slanted speed stripes, fading in from the left and bold on the right.
    p.setPen(Qt::NoPen);
    const qreal slant = 34;
    auto stripe = [&](qreal x, qreal w, const QColor& c) {
        p.setBrush(c);
        p.drawPolygon(QPolygonF({QPointF(x + slant, 0), QPointF(x + slant + w, 0), QPointF(x + w, 95), QPointF(x, 95)}));
    };
    stripe(300, 60, QColor(255, 255, 255, 10));
    stripe(380, 40, QColor(255, 255, 255, 14));
    stripe(500, 22, alpha(kSky, 150));
    stripe(530, 14, QColor(255, 255, 255, 230));
    stripe(552, 30, kYellow);
    p.setBrush(kYellow);
    p.drawRect(QRectF(0, 95, 600, 5));

    crest(p, QRectF(18, 12, 58, 74));
    const QFont name = font("Nimbus Sans Narrow", 32, QFont::Bold, true, 0.6);
    text(p, QRectF(94, 14, 410, 44), QString::fromUtf8("TSV BLAU-WEISS HOHENFELD"), name, QColor("#FFFFFF"),
         Qt::AlignLeft | Qt::AlignBottom);
    const QFont sub = font("Liberation Sans", 11.5, QFont::Bold, false, 1.6);
    text(p, QRectF(96, 60, 410, 20),
         QString::fromUtf8("SEIT 1908  \u00B7  FUSSBALL  \u00B7  HANDBALL  \u00B7  TURNEN"), sub,
         kYellow, Qt::AlignLeft | Qt::AlignVCenter);
    return img;
}

void bar(QPainter& p, qreal x0, qreal x1, qreal y, qreal h, const QColor& c) {
    p.setBrush(c);
    p.drawPolygon(QPolygonF({QPointF(x0 + h, y), QPointF(x1 + h, y), QPointF(x1, y + h), QPointF(x0, y + h)}));
}

QImage separatorNews() {
    QImage img = canvas(600, 20, kPage);
    QPainter p(&img);
    prepare(p);
    p.setPen(Qt::NoPen);
    bar(p, 0, 262, 8, 4, kBlue);
    bar(p, 334, 596, 8, 4, kBlue);
    // Three chevrons pointing forward.
    QPen pen(kYellow, 3.2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    for (int i = 0; i < 3; ++i) {
        pen.setColor(i == 1 ? kBlue2 : kYellow);
        p.setPen(pen);
        const qreal x = 284 + i * 12;
        p.drawPolyline(QPolygonF({QPointF(x, 4), QPointF(x + 6, 10), QPointF(x, 16)}));
    }
    return img;
}

QImage separatorImprint() {
    QImage img = canvas(600, 14, kPage);
    QPainter p(&img);
    prepare(p);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawRect(QRectF(0, 5, 600, 4));
    bar(p, 250, 340, 3, 8, kYellow);
    bar(p, 352, 362, 3, 8, kSky);
    return img;
}

QImage football() {
    return blockPicture(kPage, QColor("#43A047"), [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 9; ++i) {
            p.setBrush(i % 2 == 0 ? QColor("#43A047") : QColor("#4CAF50"));
            p.drawRect(QRectF(i * 20 - 10, 0, 20, r.height() + 1));
        }
        p.setPen(QPen(QColor(255, 255, 255, 220), 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawLine(QPointF(80, 0), QPointF(80, 121));
        p.drawEllipse(QPointF(80, 60), 42, 42);
        p.drawRect(QRectF(-10, 30, 26, 60));
        p.drawRect(QRectF(144, 30, 26, 60));

        // The ball: a shaded disc with the pentagon pattern, clipped to its outline.
        const QPointF c(80, 60);
        const qreal R = 29;
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawEllipse(c + QPointF(4, 27), 24, 5);
        QRadialGradient shade(c + QPointF(-9, -10), R * 1.5);
        shade.setColorAt(0, QColor("#FFFFFF"));
        shade.setColorAt(0.7, QColor("#F1F3F4"));
        shade.setColorAt(1, QColor("#B0BEC5"));
        QPainterPath ball;
        ball.addEllipse(c, R, R);
        p.setBrush(shade);
        p.drawPath(ball);
        p.save();
        p.setClipPath(ball);
        const QColor patch("#263238");
        const qreal r0 = R * 0.36;
        p.setBrush(patch);
        p.drawPath(polygonPath(c, r0, 5, -90));
        // Five outer patches in the directions of the centre patch's corners, joined to it by radial
        // seams; the hexagons between two outer patches end in a seam from one to the other.
        std::vector<QPolygonF> outer;
        for (int i = 0; i < 5; ++i) {
            const qreal a = qDegreesToRadians(-90.0 + 72 * i);
            const QPointF d(qCos(a), qSin(a));
            const QPainterPath pent = polygonPath(c + d * (R * 1.05), r0 * 0.98, 5, -90 + 72 * i + 180);
            outer.push_back(pent.toFillPolygon());
            p.setPen(Qt::NoPen);
            p.drawPath(pent);
            p.setPen(QPen(patch, 1.6));
            p.drawLine(c + d * r0, c + d * (R * 1.05 - r0 * 0.98));
        }
        for (int i = 0; i < 5; ++i) {
            const QPolygonF& a = outer[static_cast<size_t>(i)];
            const QPolygonF& b = outer[static_cast<size_t>((i + 1) % 5)];
            QPointF best1, best2;
            qreal bestD = 1e9;
            for (const QPointF& u : a)
                for (const QPointF& v : b)
                    if (QLineF(u, v).length() < bestD) {
                        bestD = QLineF(u, v).length();
                        best1 = u;
                        best2 = v;
                    }
            p.drawLine(best1, best2);
            const QPointF mid = (best1 + best2) / 2;
            p.drawLine(mid, c + (mid - c) * 1.6);
        }
        p.restore();
        p.setPen(QPen(QColor("#90A4AE"), 1.0));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, R, R);
    });
}

QImage stopwatch() {
    return blockPicture(kPage, kYellow, [](QPainter& p, const QRectF& r) {
        QLinearGradient bg(0, 0, 0, r.bottom());
        bg.setColorAt(0, QColor("#FFD54F"));
        bg.setColorAt(1, QColor("#FFB300"));
        p.fillRect(r, bg);
        // Motion lines: the watch is on the run.
        p.setPen(QPen(QColor(255, 255, 255, 210), 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(16, 50), QPointF(40, 50));
        p.drawLine(QPointF(8, 64), QPointF(38, 64));
        p.drawLine(QPointF(18, 78), QPointF(42, 78));

        const QPointF c(94, 66);
        const qreal R = 36;
        p.setPen(Qt::NoPen);
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(c.x() - 7, c.y() - R - 15, 14, 10), 2, 2);
        p.drawRect(QRectF(c.x() - 3.5, c.y() - R - 7, 7, 8));
        p.save();
        p.translate(c);
        p.rotate(45);
        p.drawRoundedRect(QRectF(-4, -R - 10, 8, 10), 2, 2);
        p.restore();
        p.setBrush(kBlue);
        p.drawEllipse(c, R, R);
        p.setBrush(QColor("#FFFFFF"));
        p.drawEllipse(c, R - 6, R - 6);
        // Elapsed time.
        p.setBrush(alpha(kSky, 90));
        p.drawPie(QRectF(c.x() - R + 10, c.y() - R + 10, 2 * R - 20, 2 * R - 20), 90 * 16, -130 * 16);
        p.setPen(QPen(QColor("#37474F"), 1.4, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 12; ++i) {
            const qreal a = 2 * M_PI * i / 12;
            const QPointF d(qCos(a), qSin(a));
            const qreal in = (i % 3 == 0) ? R - 14 : R - 11;
            p.drawLine(c + d * in, c + d * (R - 8));
        }
        const qreal a = qDegreesToRadians(-90.0 + 130);
        p.setPen(QPen(QColor("#E53935"), 2.6, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(c, c + QPointF(qCos(a), qSin(a)) * (R - 12));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#E53935"));
        p.drawEllipse(c, 3.5, 3.5);
    });
}

QImage medal() {
    return blockPicture(kPage, QColor("#E3F2FD"), [](QPainter& p, const QRectF& r) {
        p.setPen(Qt::NoPen);
        // Ribbon.
        p.setBrush(kBlue);
        p.drawPolygon(QPolygonF({QPointF(48, -2), QPointF(70, -2), QPointF(92, 56), QPointF(76, 62)}));
        p.setBrush(QColor("#FFFFFF"));
        p.drawPolygon(QPolygonF({QPointF(58, -2), QPointF(62, -2), QPointF(86, 60), QPointF(82, 61)}));
        p.setBrush(kBlue2);
        p.drawPolygon(QPolygonF({QPointF(112, -2), QPointF(90, -2), QPointF(68, 56), QPointF(84, 62)}));
        p.setBrush(kYellow);
        p.drawPolygon(QPolygonF({QPointF(102, -2), QPointF(98, -2), QPointF(74, 60), QPointF(78, 61)}));
        // Disc.
        const QPointF c(80, 82);
        QRadialGradient gold(c + QPointF(-8, -8), 34);
        gold.setColorAt(0, QColor("#FFF3B0"));
        gold.setColorAt(0.5, QColor("#FFD54F"));
        gold.setColorAt(1, QColor("#F9A825"));
        p.setBrush(gold);
        p.drawEllipse(c, 28, 28);
        p.setPen(QPen(QColor("#F57F17"), 1.6));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(c, 21, 21);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#FFFFFF"));
        p.drawPath(starPath(c, 13, 5.5, 5));
        sparkle(p, QPointF(122, 70), 7, QColor("#FFFFFF"));
        sparkle(p, QPointF(36, 94), 5, QColor("#FFFFFF"));
        sparkle(p, QPointF(128, 102), 4, kYellow);
        sparkle(p, QPointF(30, 62), 4, kYellow);
        Q_UNUSED(r);
    });
}

}  // namespace

void drawSport(const Output& out) {
    out.image("sport_kopf.jpg", head());
    out.image("sport_trenner.jpg", separatorNews());
    out.image("sport_impressum.jpg", separatorImprint());
    out.image("sport_fussball.jpg", football());
    out.image("sport_volkslauf.jpg", stopwatch());
    out.image("sport_ehrung.jpg", medal());
}

}  // namespace art

// The software company: night blue with northern lights, a hexagon mark, clean cool icons.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace art {
namespace {

const QColor kPage("#FFFFFF");
const QColor kNight("#0B2545");
const QColor kBlue("#1565C0");
const QColor kCyan("#29B6F6");
const QColor kAqua("#4DD0E1");
const QColor kMint("#69F0AE");

// A translucent band of light that rises and falls across the rectangle.
void auroraBand(QPainter& p, const QRectF& r, qreal base, qreal amp, qreal wavelength, qreal phase, qreal height,
                const QColor& c) {
    QPainterPath band;
    bool first = true;
    for (qreal x = r.left(); x <= r.right(); x += 3) {
        const qreal y = base + amp * qSin((x - r.left()) / wavelength * 2 * M_PI + phase);
        if (first)
            band.moveTo(x, y);
        else
            band.lineTo(x, y);
        first = false;
    }
    for (qreal x = r.right(); x >= r.left(); x -= 3) {
        const qreal y = base + amp * qSin((x - r.left()) / wavelength * 2 * M_PI + phase) - height;
        band.lineTo(x, y);
    }
    band.closeSubpath();
    QLinearGradient g(0, base - height - amp, 0, base + amp);
    g.setColorAt(0, alpha(c, 0));
    g.setColorAt(0.7, alpha(c, c.alpha()));
    g.setColorAt(1, alpha(c, 0));
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(band);
    p.restore();
}

void hexMark(QPainter& p, QPointF c, qreal r) {
    p.save();
    const QPainterPath hex = polygonPath(c, r, 6, -90);
    QLinearGradient g(c + QPointF(0, -r), c + QPointF(0, r));
    g.setColorAt(0, kCyan);
    g.setColorAt(1, kBlue);
    p.setPen(QPen(QColor(255, 255, 255, 220), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPath(hex);
    p.setClipPath(hex);
    p.setPen(QPen(QColor("#FFFFFF"), 3, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 2; ++i) {
        const qreal y = c.y() + 4 + i * 9;
        QPainterPath wave(QPointF(c.x() - r * 0.62, y));
        wave.cubicTo(QPointF(c.x() - r * 0.25, y - 14), QPointF(c.x() + r * 0.1, y + 8), QPointF(c.x() + r * 0.62, y - 10));
        p.setPen(QPen(i == 0 ? QColor("#FFFFFF") : kMint, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawPath(wave);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#FFFFFF"));
    p.drawEllipse(c + QPointF(r * 0.3, -r * 0.42), 2.2, 2.2);
    p.restore();
}

QImage head() {
    QImage img = canvas(600, 100, kNight);
    QPainter p(&img);
    prepare(p);
    QLinearGradient bg(0, 0, 600, 100);
    bg.setColorAt(0, QColor("#0A1F3C"));
    bg.setColorAt(0.6, QColor("#12325E"));
    bg.setColorAt(1, QColor("#1A4C86"));
    p.fillRect(QRectF(0, 0, 600, 100), bg);

    // The northern lights, drawn on a layer that fades in from behind the lettering.
    QImage lights(600, 100, QImage::Format_ARGB32_Premultiplied);
    lights.fill(Qt::transparent);
    {
        QPainter l(&lights);
        prepare(l);
        const QRectF sky(0, 0, 600, 100);
        auroraBand(l, sky, 70, 14, 300, 0.5, 40, QColor(77, 208, 225, 130));
        auroraBand(l, sky, 62, 10, 220, 2.2, 34, QColor(105, 240, 174, 105));
        auroraBand(l, sky, 80, 8, 180, 4.0, 26, QColor(41, 182, 246, 110));
        QLinearGradient mask(140, 0, 360, 0);
        mask.setColorAt(0, QColor(0, 0, 0, 0));
        mask.setColorAt(1, QColor(0, 0, 0, 255));
        l.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        l.fillRect(sky, mask);
    }
    p.drawImage(0, 0, lights);
    p.setPen(Qt::NoPen);
    const QPointF stars[] = {QPointF(430, 14), QPointF(470, 30), QPointF(520, 12), QPointF(560, 36),
                             QPointF(585, 18), QPointF(395, 40), QPointF(500, 48), QPointF(350, 18)};
    for (int i = 0; i < 8; ++i) {
        p.setBrush(QColor(255, 255, 255, 120 + (i * 37) % 120));
        p.drawEllipse(stars[i], 1.1 + (i % 3) * 0.3, 1.1 + (i % 3) * 0.3);
    }
    sparkle(p, QPointF(548, 22), 5, QColor(255, 255, 255, 220));

    hexMark(p, QPointF(50, 50), 30);
    const QFont name = font("URW Gothic", 32, QFont::DemiBold);
    text(p, QRectF(96, 14, 420, 46), "Nordlicht Software", name, QColor("#FFFFFF"), Qt::AlignLeft | Qt::AlignBottom);
    const QFont sub = font("Liberation Sans", 11, QFont::Bold, false, 2.2);
    text(p, QRectF(98, 62, 420, 18), QString::fromUtf8("TECHNIK-RUNDBRIEF FÜR KUNDEN UND PARTNER"), sub,
         QColor("#80DEEA"), Qt::AlignLeft | Qt::AlignVCenter);
    return img;
}

QImage separatorNews() {
    QImage img = canvas(600, 18, kPage);
    QPainter p(&img);
    prepare(p);
    QLinearGradient left(20, 0, 270, 0);
    left.setColorAt(0, kPage);
    left.setColorAt(1, QColor("#90CAF9"));
    QLinearGradient right(330, 0, 580, 0);
    right.setColorAt(0, QColor("#90CAF9"));
    right.setColorAt(1, kPage);
    p.setPen(QPen(QBrush(left), 1.4));
    p.drawLine(QPointF(20, 9), QPointF(272, 9));
    p.setPen(QPen(QBrush(right), 1.4));
    p.drawLine(QPointF(328, 9), QPointF(580, 9));
    // Circuit nodes on the line.
    p.setPen(QPen(QColor("#64B5F6"), 1.4));
    p.setBrush(kPage);
    p.drawEllipse(QPointF(180, 9), 3, 3);
    p.drawEllipse(QPointF(420, 9), 3, 3);
    p.setPen(Qt::NoPen);
    const QColor blocks[] = {kBlue, kCyan, kAqua};
    for (int i = 0; i < 3; ++i) {
        p.setBrush(blocks[i]);
        p.drawRoundedRect(QRectF(280 + i * 14, 4, 10, 10), 2.5, 2.5);
    }
    return img;
}

QImage separatorImprint() {
    QImage img = canvas(600, 12, kPage);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 600, 0);
    g.setColorAt(0, kPage);
    g.setColorAt(0.25, kBlue);
    g.setColorAt(0.5, kCyan);
    g.setColorAt(0.75, kBlue);
    g.setColorAt(1, kPage);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0, 4.5, 600, 3), 1.5, 1.5);
    return img;
}

void person(QPainter& p, QPointF head, qreal s, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawEllipse(head, s, s);
    QPainterPath body(QPointF(head.x() - s * 1.75, head.y() + s * 3.3));
    body.cubicTo(QPointF(head.x() - s * 1.75, head.y() + s * 1.4), QPointF(head.x() - s * 0.9, head.y() + s * 1.25),
                 QPointF(head.x(), head.y() + s * 1.25));
    body.cubicTo(QPointF(head.x() + s * 0.9, head.y() + s * 1.25), QPointF(head.x() + s * 1.75, head.y() + s * 1.4),
                 QPointF(head.x() + s * 1.75, head.y() + s * 3.3));
    body.closeSubpath();
    p.drawPath(body);
}

QImage release() {
    return blockPicture(kPage, QColor("#E3F2FD"), [](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        // Monitor.
        p.setBrush(QColor("#90A4AE"));
        p.drawPolygon(QPolygonF({QPointF(70, 88), QPointF(90, 88), QPointF(94, 102), QPointF(66, 102)}));
        p.setBrush(QColor("#78909C"));
        p.drawRoundedRect(QRectF(52, 100, 56, 6), 3, 3);
        p.setBrush(QColor("#263238"));
        p.drawRoundedRect(QRectF(22, 20, 116, 72), 6, 6);
        p.setBrush(QColor("#FFFFFF"));
        p.drawRect(QRectF(27, 25, 106, 60));
        // An application window on the screen.
        p.setBrush(kBlue);
        p.drawRect(QRectF(27, 25, 106, 10));
        p.setBrush(QColor("#FFFFFF"));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(33 + i * 6, 30), 1.6, 1.6);
        p.setBrush(QColor("#E3F2FD"));
        p.drawRect(QRectF(27, 35, 26, 50));
        p.setBrush(QColor("#90CAF9"));
        for (int i = 0; i < 4; ++i)
            p.drawRoundedRect(QRectF(31, 40 + i * 9, 18, 4), 2, 2);
        p.setBrush(kCyan);
        p.drawRoundedRect(QRectF(59, 41, 60, 6), 3, 3);
        p.setBrush(QColor("#CFD8DC"));
        p.drawRoundedRect(QRectF(59, 52, 66, 4), 2, 2);
        p.drawRoundedRect(QRectF(59, 60, 54, 4), 2, 2);
        p.setBrush(kMint);
        p.drawRoundedRect(QRectF(59, 70, 30, 9), 2.5, 2.5);
        // Version badge.
        p.setBrush(QColor(0, 0, 0, 30));
        p.drawEllipse(QPointF(128, 26), 17, 17);
        p.setBrush(QColor("#FF7043"));
        p.drawEllipse(QPointF(126, 24), 17, 17);
        text(p, QRectF(108, 14, 36, 20), "5.2", font("Liberation Sans", 14, QFont::Bold), QColor("#FFFFFF"),
             Qt::AlignCenter);
        sparkle(p, QPointF(12, 16), 5, kCyan);
        sparkle(p, QPointF(148, 62), 4, QColor("#FF7043"));
    });
}

QImage webinar() {
    return blockPicture(kPage, QColor("#E0F7FA"), [](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        // Laptop.
        p.setBrush(QColor("#263238"));
        p.drawRoundedRect(QRectF(32, 18, 96, 66), 5, 5);
        QLinearGradient screen(0, 23, 0, 80);
        screen.setColorAt(0, QColor("#1E88E5"));
        screen.setColorAt(1, QColor("#1565C0"));
        p.setBrush(screen);
        p.drawRect(QRectF(37, 23, 86, 56));
        p.setBrush(QColor("#B0BEC5"));
        p.drawPolygon(QPolygonF({QPointF(24, 86), QPointF(136, 86), QPointF(146, 98), QPointF(14, 98)}));
        p.setBrush(QColor("#90A4AE"));
        p.drawRoundedRect(QRectF(14, 96, 132, 5), 2.5, 2.5);
        p.setBrush(QColor("#78909C"));
        p.drawRoundedRect(QRectF(68, 88, 24, 3), 1.5, 1.5);
        // The presenter and a slide.
        p.save();
        p.setClipRect(QRectF(37, 23, 86, 56));
        person(p, QPointF(62, 48), 8, QColor("#E3F2FD"));
        p.restore();
        p.setBrush(QColor("#FFFFFF"));
        p.drawRoundedRect(QRectF(82, 34, 34, 24), 2, 2);
        p.setBrush(kCyan);
        p.drawRect(QRectF(86, 50, 5, 5));
        p.drawRect(QRectF(94, 45, 5, 10));
        p.setBrush(kMint);
        p.drawRect(QRectF(102, 40, 5, 15));
        // "Live" tag.
        p.setBrush(QColor("#E53935"));
        p.drawRoundedRect(QRectF(41, 27, 28, 11), 5.5, 5.5);
        p.setBrush(QColor("#FFFFFF"));
        p.drawEllipse(QPointF(46.5, 32.5), 2, 2);
        text(p, QRectF(50, 26, 18, 13), "LIVE", font("Liberation Sans", 7.5, QFont::Bold), QColor("#FFFFFF"),
             Qt::AlignCenter);
        // Speech bubble.
        p.setBrush(QColor("#FFFFFF"));
        p.drawRoundedRect(QRectF(116, 6, 34, 20), 6, 6);
        p.drawPolygon(QPolygonF({QPointF(122, 24), QPointF(130, 24), QPointF(120, 32)}));
        p.setBrush(kBlue);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(125 + i * 8, 16), 2.2, 2.2);
    });
}

QImage security() {
    return blockPicture(kPage, QColor("#E8EAF6"), [](QPainter& p, const QRectF&) {
        // Faint network around the shield.
        p.setPen(QPen(QColor("#C5CAE9"), 1.4));
        const QPointF nodes[] = {QPointF(20, 30), QPointF(36, 88), QPointF(140, 28), QPointF(130, 96),
                                 QPointF(14, 62), QPointF(148, 64)};
        for (const QPointF& n : nodes)
            p.drawLine(QPointF(80, 60), n);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#9FA8DA"));
        for (const QPointF& n : nodes)
            p.drawEllipse(n, 3.5, 3.5);

        QPainterPath shield(QPointF(80, 14));
        shield.cubicTo(QPointF(94, 22), QPointF(108, 24), QPointF(118, 24));
        shield.cubicTo(QPointF(118, 66), QPointF(106, 92), QPointF(80, 108));
        shield.cubicTo(QPointF(54, 92), QPointF(42, 66), QPointF(42, 24));
        shield.cubicTo(QPointF(52, 24), QPointF(66, 22), QPointF(80, 14));
        p.setBrush(QColor(0, 0, 0, 30));
        p.drawPath(shield.translated(2, 3));
        QLinearGradient g(42, 14, 118, 108);
        g.setColorAt(0, kCyan);
        g.setColorAt(1, QColor("#0D47A1"));
        p.setBrush(g);
        p.drawPath(shield);
        // Lighter left half for depth.
        QPainterPath half;
        half.addRect(QRectF(0, 0, 80, 120));
        p.setBrush(QColor(255, 255, 255, 35));
        p.drawPath(shield.intersected(half));
        p.setPen(QPen(QColor("#FFFFFF"), 7, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(64, 60), QPointF(76, 72), QPointF(98, 46)}));
    });
}

QImage team() {
    return blockPicture(kPage, QColor("#E1F5FE"), [](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#B3E5FC"));
        p.drawEllipse(QPointF(80, 132), 86, 40);
        person(p, QPointF(46, 46), 12, QColor("#4FC3F7"));
        person(p, QPointF(114, 46), 12, QColor("#81D4FA"));
        person(p, QPointF(80, 52), 15, kBlue);
        // A plus badge: the team grows.
        p.setBrush(kMint);
        p.drawEllipse(QPointF(132, 22), 12, 12);
        p.setPen(QPen(QColor("#FFFFFF"), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(132, 16), QPointF(132, 28));
        p.drawLine(QPointF(126, 22), QPointF(138, 22));
    });
}

}  // namespace

void drawTech(const Output& out) {
    out.image("tech_kopf.jpg", head());
    out.image("tech_trenner.jpg", separatorNews());
    out.image("tech_impressum.jpg", separatorImprint());
    out.image("tech_release.jpg", release());
    out.image("tech_webinar.jpg", webinar());
    out.image("tech_sicherheit.jpg", security());
    out.image("tech_team.jpg", team());
}

}  // namespace art

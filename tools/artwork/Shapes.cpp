#include "Shapes.h"

#include "Paint.h"

#include <QLinearGradient>
#include <QtMath>

namespace art {

QImage blockPicture(const QColor& page, const QColor& sceneBg,
                    const std::function<void(QPainter&, const QRectF&)>& scene) {
    QImage img = canvas(kBlockW, kBlockH, page);
    QPainter p(&img);
    prepare(p);
    const QRectF r(0.5, 0.5, kBlockW - 1.0, kBlockH - 1.0);
    QPainterPath tile;
    tile.addRoundedRect(r, 12, 12);
    p.setPen(Qt::NoPen);
    p.setBrush(sceneBg);
    p.drawPath(tile);
    p.setClipPath(tile);
    scene(p, r);
    return img;
}

void sun(QPainter& p, QPointF c, qreal r, int rays, qreal rayLen, const QColor& color, qreal rayWidth) {
    p.save();
    QPen pen(color, rayWidth, Qt::SolidLine, Qt::RoundCap);
    p.setPen(pen);
    for (int i = 0; i < rays; ++i) {
        const qreal a = 2 * M_PI * i / rays;
        const QPointF d(qCos(a), qSin(a));
        p.drawLine(c + d * (r + rayLen * 0.35), c + d * (r + rayLen));
    }
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawEllipse(c, r, r);
    p.restore();
}

QPainterPath leafPath(QPointF base, qreal length, qreal width, qreal angle) {
    QPainterPath path(QPointF(0, 0));
    path.cubicTo(QPointF(length * 0.25, -width * 0.75), QPointF(length * 0.7, -width * 0.6), QPointF(length, 0));
    path.cubicTo(QPointF(length * 0.7, width * 0.6), QPointF(length * 0.25, width * 0.75), QPointF(0, 0));
    QTransform t;
    t.translate(base.x(), base.y());
    t.rotate(-angle);
    return t.map(path);
}

void leaf(QPainter& p, QPointF base, qreal length, qreal width, qreal angle, const QColor& fill,
          const QColor& vein) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(leafPath(base, length, width, angle));
    if (vein.alpha() > 0) {
        const qreal a = qDegreesToRadians(-angle);
        const QPointF d(qCos(a), qSin(a));
        p.setPen(QPen(vein, qMax(0.8, width * 0.08), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(base + d * length * 0.08, base + d * length * 0.85);
    }
    p.restore();
}

void cloud(QPainter& p, QPointF c, qreal s, const QColor& color) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath path;
    path.addEllipse(c + QPointF(-0.7 * s, 0.1 * s), 0.5 * s, 0.38 * s);
    path.addEllipse(c + QPointF(-0.15 * s, -0.15 * s), 0.55 * s, 0.5 * s);
    path.addEllipse(c + QPointF(0.5 * s, 0.0), 0.5 * s, 0.42 * s);
    path.addRoundedRect(QRectF(c.x() - 1.1 * s, c.y(), 2.1 * s, 0.5 * s), 0.25 * s, 0.25 * s);
    path.setFillRule(Qt::WindingFill);
    p.drawPath(path.simplified());
    p.restore();
}

QPainterPath starPath(QPointF c, qreal rOuter, qreal rInner, int points, qreal rotation) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal r = (i % 2 == 0) ? rOuter : rInner;
        const qreal a = qDegreesToRadians(rotation + 180.0 * i / points);
        const QPointF pt = c + QPointF(qCos(a) * r, qSin(a) * r);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void sparkle(QPainter& p, QPointF c, qreal r, const QColor& color) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    p.drawPath(starPath(c, r, r * 0.28, 4));
    p.restore();
}

QPainterPath heartPath(QPointF c, qreal s) {
    QPainterPath path(c + QPointF(0, s * 0.9));
    path.cubicTo(c + QPointF(-s * 0.4, s * 0.55), c + QPointF(-s * 1.05, s * 0.15), c + QPointF(-s, -s * 0.3));
    path.cubicTo(c + QPointF(-s * 0.95, -s * 0.85), c + QPointF(-s * 0.2, -s * 0.95), c + QPointF(0, -s * 0.45));
    path.cubicTo(c + QPointF(s * 0.2, -s * 0.95), c + QPointF(s * 0.95, -s * 0.85), c + QPointF(s, -s * 0.3));
    path.cubicTo(c + QPointF(s * 1.05, s * 0.15), c + QPointF(s * 0.4, s * 0.55), c + QPointF(0, s * 0.9));
    return path;
}

QPainterPath polygonPath(QPointF c, qreal r, int sides, qreal rotation) {
    QPainterPath path;
    for (int i = 0; i < sides; ++i) {
        const qreal a = qDegreesToRadians(rotation + 360.0 * i / sides);
        const QPointF pt = c + QPointF(qCos(a) * r, qSin(a) * r);
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void bunting(QPainter& p, QPointF from, QPointF to, qreal sag, qreal flagSize, const std::vector<QColor>& colors,
             const QColor& string) {
    // The string is a quadratic curve; flags hang from evenly spaced points along it.
    const QPointF ctrl = (from + to) / 2 + QPointF(0, sag * 2);
    auto at = [&](qreal t) { return (1 - t) * (1 - t) * from + 2 * (1 - t) * t * ctrl + t * t * to; };
    p.save();
    QPainterPath line(from);
    line.quadTo(ctrl, to);
    p.setPen(QPen(string, 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(line);
    const qreal length = QLineF(from, to).length();
    const int n = qMax(2, static_cast<int>(length / (flagSize * 1.25)));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < n; ++i) {
        const qreal t0 = (i + 0.12) / n;
        const qreal t1 = (i + 0.88) / n;
        const QPointF a = at(t0);
        const QPointF b = at(t1);
        const QPointF mid = at((t0 + t1) / 2);
        QPolygonF flag({a, b, mid + QPointF(0, flagSize * 1.1)});
        p.setBrush(colors[static_cast<size_t>(i) % colors.size()]);
        p.drawPolygon(flag);
    }
    p.restore();
}

QPainterPath wavePath(const QRectF& rect, qreal baseline, qreal amplitude, qreal wavelength, qreal phase) {
    QPainterPath path(QPointF(rect.left(), rect.bottom()));
    for (qreal x = rect.left(); x <= rect.right() + 1; x += 2) {
        const qreal y = baseline + amplitude * qSin((x - rect.left()) / wavelength * 2 * M_PI + phase);
        path.lineTo(x, y);
    }
    path.lineTo(rect.right() + 1, rect.bottom());
    path.closeSubpath();
    return path;
}

void gradientRect(QPainter& p, const QRectF& r, qreal radius, const QColor& top, const QColor& bottom) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

}  // namespace art

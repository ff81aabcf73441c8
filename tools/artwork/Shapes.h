#pragma once
// Small drawn motifs that several themes share: suns, leaves, clouds, stars, hearts, garlands.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <functional>
#include <vector>

namespace art {

// Block pictures sit in a 180-pixel table cell beside the text; 160 pixels leave a little air on
// both sides, and the program itself proposes 150 for pictures the user brings.
constexpr int kBlockW = 160;
constexpr int kBlockH = 120;

// A block picture: a rounded tile on the page colour, the scene drawn clipped to the tile.
QImage blockPicture(const QColor& page, const QColor& sceneBg,
                    const std::function<void(QPainter&, const QRectF&)>& scene);

// A sun: disc of radius r with n rays of the given length.
void sun(QPainter& p, QPointF c, qreal r, int rays, qreal rayLen, const QColor& color, qreal rayWidth = 2.0);

// A leaf from base pointing in direction angle (degrees, 0 = right, counter-clockwise positive).
QPainterPath leafPath(QPointF base, qreal length, qreal width, qreal angle);
void leaf(QPainter& p, QPointF base, qreal length, qreal width, qreal angle, const QColor& fill,
          const QColor& vein);

// A fluffy cloud, about 2.4 * s wide and s high, centred on c.
void cloud(QPainter& p, QPointF c, qreal s, const QColor& color);

// A star with the given number of points.
QPainterPath starPath(QPointF c, qreal rOuter, qreal rInner, int points, qreal rotation = -90);

// A four-pointed sparkle.
void sparkle(QPainter& p, QPointF c, qreal r, const QColor& color);

// A heart of width about 2 * s.
QPainterPath heartPath(QPointF c, qreal s);

// A regular polygon.
QPainterPath polygonPath(QPointF c, qreal r, int sides, qreal rotation);

// A garland of triangular flags hanging between two points.
void bunting(QPainter& p, QPointF from, QPointF to, qreal sag, qreal flagSize, const std::vector<QColor>& colors,
             const QColor& string);

// A horizontal wave filled down to the bottom of rect.
QPainterPath wavePath(const QRectF& rect, qreal baseline, qreal amplitude, qreal wavelength, qreal phase);

// A rounded rectangle filled with a vertical gradient.
void gradientRect(QPainter& p, const QRectF& r, qreal radius, const QColor& top, const QColor& bottom);

}  // namespace art

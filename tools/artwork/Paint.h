#pragma once
// Canvas, text and JPEG output shared by all drawings.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>

namespace art {

// Where the pictures go: <root>/Images and <root>/recom.
struct Output {
    QString root;
    void image(const QString& fileName, const QImage& img) const;  // into Images/
    void recom(const QString& fileName, const QImage& img) const;  // into recom/
};

// A picture of w x h filled with bg.
QImage canvas(int w, int h, const QColor& bg);

// A painter with anti-aliasing for shapes and text.
void prepare(QPainter& p);

// Baseline JPEG, quality 90, no chroma subsampling so that small coloured lettering stays crisp.
void saveJpeg(const QImage& img, const QString& path);

// A font by family with fallbacks; size in pixels, letter spacing in pixels.
QFont font(const QString& family, qreal pixelSize, int weight = QFont::Normal, bool italic = false,
           qreal spacing = 0);

// Text in a rectangle with Qt alignment flags.
void text(QPainter& p, const QRectF& r, const QString& s, const QFont& f, const QColor& c,
          int flags = Qt::AlignLeft | Qt::AlignVCenter);

// Width of a text in a font, in pixels.
qreal textWidth(const QString& s, const QFont& f);

// A colour with a changed alpha (0..255).
QColor alpha(const QColor& c, int a);

// Mixes two colours: t = 0 gives a, t = 1 gives b.
QColor mix(const QColor& a, const QColor& b, qreal t);

}  // namespace art

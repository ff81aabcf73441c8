// The blank template: a quiet logo placeholder and plain grey rules that suit any content.

#include "Shapes.h"
#include "Themes.h"

namespace art {
namespace {

const QColor kPage("#FFFFFF");
const QColor kInk("#78909C");
const QColor kSoft("#B0BEC5");

void pictureIcon(QPainter& p, const QRectF& r) {
    p.save();
    p.setPen(QPen(kInk, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor("#FFFFFF"));
    p.drawRoundedRect(r, 6, 6);
    QPainterPath clip;
    clip.addRoundedRect(r.adjusted(1, 1, -1, -1), 5, 5);
    p.setClipPath(clip);
    p.setPen(Qt::NoPen);
    p.setBrush(kSoft);
    p.drawPolygon(QPolygonF({QPointF(r.left(), r.bottom()), QPointF(r.left() + r.width() * 0.38, r.top() + r.height() * 0.45),
                             QPointF(r.left() + r.width() * 0.7, r.bottom())}));
    p.setBrush(QColor("#CFD8DC"));
    p.drawPolygon(QPolygonF({QPointF(r.left() + r.width() * 0.45, r.bottom()),
                             QPointF(r.left() + r.width() * 0.7, r.top() + r.height() * 0.6), QPointF(r.right(), r.bottom())}));
    p.setBrush(kInk);
    p.drawEllipse(QPointF(r.left() + r.width() * 0.72, r.top() + r.height() * 0.3), r.height() * 0.11, r.height() * 0.11);
    p.restore();
}

QImage head() {
    QImage img = canvas(600, 100, kPage);
    QPainter p(&img);
    prepare(p);
    QPen dashed(kSoft, 1.6, Qt::CustomDashLine, Qt::FlatCap);
    dashed.setDashPattern({5, 4});
    p.setPen(dashed);
    p.setBrush(QColor("#F5F7F8"));
    p.drawRoundedRect(QRectF(6.5, 6.5, 587, 87), 10, 10);

    const QFont big = font("Liberation Sans", 28, QFont::Bold);
    const QFont small = font("Liberation Sans", 12);
    const QString title = "Ihr Logo";
    const QString hint = QString::fromUtf8("Kopfgrafik 600 Pixel breit \u2013 ersetzen mit \u201EKopfgrafik \u00F6ffnen\u201C");
    const qreal textW = qMax(textWidth(title, big), textWidth(hint, small));
    const qreal iconW = 58;
    const qreal left = (600 - (iconW + 18 + textW)) / 2;
    pictureIcon(p, QRectF(left, 27, iconW, 46));
    text(p, QRectF(left + iconW + 18, 18, textW + 4, 38), title, big, kInk, Qt::AlignLeft | Qt::AlignBottom);
    text(p, QRectF(left + iconW + 18, 58, textW + 4, 20), hint, small, QColor("#90A4AE"),
         Qt::AlignLeft | Qt::AlignVCenter);
    return img;
}

QImage separatorNews() {
    QImage img = canvas(600, 14, kPage);
    QPainter p(&img);
    prepare(p);
    p.setPen(QPen(QColor("#CFD8DC"), 1.2));
    p.drawLine(QPointF(0, 7), QPointF(288, 7));
    p.drawLine(QPointF(312, 7), QPointF(600, 7));
    p.setPen(Qt::NoPen);
    p.setBrush(kSoft);
    p.drawPath(polygonPath(QPointF(300, 7), 5, 4, 0));
    p.drawEllipse(QPointF(290, 7), 1.5, 1.5);
    p.drawEllipse(QPointF(310, 7), 1.5, 1.5);
    return img;
}

QImage separatorImprint() {
    QImage img = canvas(600, 10, kPage);
    QPainter p(&img);
    prepare(p);
    p.setPen(QPen(kSoft, 1.0));
    p.drawLine(QPointF(0, 4.5), QPointF(600, 4.5));
    p.setPen(QPen(QColor("#ECEFF1"), 1.0));
    p.drawLine(QPointF(0, 6.5), QPointF(600, 6.5));
    return img;
}

}  // namespace

void drawNeutral(const Output& out) {
    out.image("neutral_kopf.jpg", head());
    out.image("neutral_trenner.jpg", separatorNews());
    out.image("neutral_impressum.jpg", separatorImprint());
}

}  // namespace art

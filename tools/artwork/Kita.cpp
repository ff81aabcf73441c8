// The kindergarten parents' letter: a rainbow, cheerful primary colours, lanterns and forest days.

#include "Shapes.h"
#include "Themes.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <QtMath>

namespace art {
namespace {

const QColor kPage("#FFFFFF");
const QColor kRainbow[] = {QColor("#E53935"), QColor("#FB8C00"), QColor("#FDD835"),
                           QColor("#43A047"), QColor("#1E88E5"), QColor("#8E24AA")};
// The same hues, dark enough for lettering on white.
const QColor kLetters[] = {QColor("#E53935"), QColor("#F57C00"), QColor("#F9A825"),
                           QColor("#43A047"), QColor("#1E88E5"), QColor("#8E24AA")};

void rainbow(QPainter& p, QPointF c, qreal outer, qreal band) {
    p.save();
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 6; ++i) {
        const qreal r = outer - band * (i + 0.5);
        p.setPen(QPen(kRainbow[i], band + 0.6, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    p.restore();
}

void smilingSun(QPainter& p, QPointF c, qreal r) {
    sun(p, c, r, 12, r * 0.75, QColor("#FFCA28"), 2.4);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#6D4C41"));
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.2), r * 0.1, r * 0.13);
    p.drawEllipse(c + QPointF(r * 0.35, -r * 0.2), r * 0.1, r * 0.13);
    p.setBrush(QColor(255, 138, 101, 150));
    p.drawEllipse(c + QPointF(-r * 0.55, r * 0.2), r * 0.16, r * 0.1);
    p.drawEllipse(c + QPointF(r * 0.55, r * 0.2), r * 0.16, r * 0.1);
    p.setPen(QPen(QColor("#6D4C41"), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.4, c.y() - r * 0.25, r * 0.8, r * 0.65), 200 * 16, 140 * 16);
    p.restore();
}

QImage head() {
    QImage img = canvas(600, 110, kPage);
    QPainter p(&img);
    prepare(p);
    rainbow(p, QPointF(64, 88), 50, 6.5);
    cloud(p, QPointF(22, 86), 15, QColor("#D6E6F5"));
    cloud(p, QPointF(106, 86), 15, QColor("#D6E6F5"));

    // "Kita" in slate, "Regenbogen" letter by letter in the rainbow's colours.
    const QFont name = font("URW Gothic", 38, QFont::DemiBold);
    qreal x = 134;
    const qreal top = 14, h = 52;
    text(p, QRectF(x, top, 120, h), "Kita", name, QColor("#455A64"), Qt::AlignLeft | Qt::AlignBottom);
    x += textWidth("Kita ", name);
    const QString word = "Regenbogen";
    for (int i = 0; i < word.size(); ++i) {
        const QString ch = word.mid(i, 1);
        text(p, QRectF(x, top, 40, h), ch, name, kLetters[i % 6], Qt::AlignLeft | Qt::AlignBottom);
        x += textWidth(ch, name);
    }
    const QFont sub = font("Liberation Sans", 11.5, QFont::Bold, false, 2.2);
    text(p, QRectF(136, 70, 400, 18), QString::fromUtf8("ELTERNBRIEF DER KINDERTAGESSTÄTTE"), sub,
         QColor("#78909C"), Qt::AlignLeft | Qt::AlignVCenter);

    smilingSun(p, QPointF(556, 42), 18);
    p.setPen(Qt::NoPen);
    const QPointF confetti[] = {QPointF(488, 20), QPointF(504, 78), QPointF(592, 88), QPointF(470, 60),
                                QPointF(528, 96)};
    for (int i = 0; i < 5; ++i) {
        p.setBrush(kRainbow[(i * 2 + 1) % 6]);
        p.drawEllipse(confetti[i], 3.2, 3.2);
    }
    p.setBrush(kRainbow[4]);
    p.drawPath(starPath(QPointF(592, 12), 6, 2.6, 5));
    return img;
}

QImage separatorNews() {
    QImage img = canvas(600, 20, kPage);
    QPainter p(&img);
    prepare(p);
    p.setPen(Qt::NoPen);
    int i = 0;
    for (qreal x = 108; x <= 492; x += 16, ++i) {
        const qreal r = (i % 2 == 0) ? 3.6 : 2.6;
        p.setBrush(kRainbow[i % 6]);
        p.drawEllipse(QPointF(x, 10), r, r);
    }
    return img;
}

QImage separatorImprint() {
    QImage img = canvas(600, 14, kPage);
    QPainter p(&img);
    prepare(p);
    QLinearGradient g(0, 0, 600, 0);
    for (int i = 0; i < 6; ++i)
        g.setColorAt(i / 5.0, kRainbow[i]);
    QPainterPath wave(QPointF(4, 7));
    for (qreal x = 4; x <= 596; x += 2)
        wave.lineTo(x, 7 + 3.2 * qSin(x / 24.0 * 2 * M_PI));
    p.setPen(QPen(QBrush(g), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(wave);
    return img;
}

QImage lantern() {
    return blockPicture(kPage, QColor("#1A237E"), [](QPainter& p, const QRectF& r) {
        QLinearGradient night(0, 0, 0, r.bottom());
        night.setColorAt(0, QColor("#1A237E"));
        night.setColorAt(1, QColor("#3949AB"));
        p.fillRect(r, night);
        // Moon and stars.
        QPainterPath moon;
        moon.addEllipse(QPointF(132, 26), 13, 13);
        QPainterPath bite;
        bite.addEllipse(QPointF(139, 21), 12, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#FFF59D"));
        p.drawPath(moon.subtracted(bite));
        for (const QPointF& s : {QPointF(22, 18), QPointF(60, 12), QPointF(98, 30), QPointF(150, 56), QPointF(14, 52)})
            sparkle(p, s, 4, QColor(255, 255, 255, 210));
        p.setBrush(QColor("#283593"));
        p.drawEllipse(QPointF(40, 128), 80, 22);
        p.setBrush(QColor("#303F9F"));
        p.drawEllipse(QPointF(140, 130), 70, 20);

        // Stick, wire and the glowing paper lantern.
        p.setPen(QPen(QColor("#A1887F"), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 116), QPointF(96, 30));
        p.setPen(QPen(QColor("#CFD8DC"), 1.0));
        p.drawLine(QPointF(96, 30), QPointF(84, 44));
        const QPointF c(84, 68);
        QRadialGradient halo(c, 46);
        halo.setColorAt(0, QColor(255, 213, 79, 120));
        halo.setColorAt(1, QColor(255, 213, 79, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(halo);
        p.drawEllipse(c, 46, 46);
        QRadialGradient paper(c + QPointF(-4, -4), 26);
        paper.setColorAt(0, QColor("#FFF176"));
        paper.setColorAt(0.6, QColor("#FFB74D"));
        paper.setColorAt(1, QColor("#F57C00"));
        p.setBrush(paper);
        p.drawEllipse(c, 22, 22);
        p.setPen(QPen(QColor(230, 81, 0, 110), 1.2));
        p.setBrush(Qt::NoBrush);
        for (int i = 1; i <= 2; ++i) {
            p.drawEllipse(c, 22 - i * 7.5, 22);
        }
        p.drawLine(c + QPointF(0, -22), c + QPointF(0, 22));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#FFFDE7"));
        p.drawPath(starPath(c + QPointF(0, 2), 7, 3, 5));
        p.setBrush(QColor("#E53935"));
        p.drawRoundedRect(QRectF(c.x() - 10, c.y() - 25, 20, 6), 2, 2);
        p.drawRoundedRect(QRectF(c.x() - 9, c.y() + 19, 18, 6), 2, 2);
    });
}

void fir(QPainter& p, QPointF base, qreal h, const QColor& c) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor("#6D4C41"));
    p.drawRect(QRectF(base.x() - h * 0.05, base.y() - h * 0.15, h * 0.1, h * 0.16));
    p.setBrush(c);
    for (int i = 0; i < 3; ++i) {
        const qreal y0 = base.y() - h * 0.12 - i * h * 0.26;
        const qreal w = h * (0.42 - i * 0.09);
        p.drawPolygon(QPolygonF({QPointF(base.x() - w, y0), QPointF(base.x() + w, y0),
                                 QPointF(base.x(), y0 - h * 0.42)}));
    }
}

QImage forest() {
    return blockPicture(kPage, QColor("#E1F5FE"), [](QPainter& p, const QRectF& r) {
        QLinearGradient sky(0, 0, 0, r.bottom());
        sky.setColorAt(0, QColor("#D4EEFB"));
        sky.setColorAt(1, QColor("#F1F8E9"));
        p.fillRect(r, sky);
        sun(p, QPointF(132, 24), 10, 10, 7, QColor("#FFCA28"), 2.0);
        fir(p, QPointF(30, 98), 74, QColor("#388E3C"));
        fir(p, QPointF(104, 96), 62, QColor("#43A047"));
        fir(p, QPointF(62, 102), 88, QColor("#2E7D32"));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor("#8BC34A"));
        p.drawPath(wavePath(r, 100, 3, 120, 0.4));
        // A toadstool.
        p.setBrush(QColor("#FFF8E1"));
        p.drawRoundedRect(QRectF(126, 92, 10, 16), 4, 4);
        p.setBrush(QColor("#E53935"));
        p.drawChord(QRectF(114, 80, 34, 26), 0, 180 * 16);
        p.setBrush(QColor("#FFFFFF"));
        p.drawEllipse(QPointF(124, 87), 2.4, 2);
        p.drawEllipse(QPointF(134, 84), 2.2, 1.9);
        p.drawEllipse(QPointF(141, 89), 1.8, 1.6);
        leaf(p, QPointF(96, 108), 14, 7, 20, QColor("#FB8C00"), QColor("#E65100"));
        leaf(p, QPointF(12, 106), 12, 6, 150, QColor("#FDD835"), Qt::transparent);
    });
}

QImage meeting() {
    return blockPicture(kPage, QColor("#FFF8E1"), [](QPainter& p, const QRectF&) {
        p.setPen(Qt::NoPen);
        // Two speech bubbles: parents and team talk together.
        p.setBrush(QColor("#FFB74D"));
        p.drawRoundedRect(QRectF(18, 18, 82, 52), 16, 16);
        p.drawPolygon(QPolygonF({QPointF(34, 66), QPointF(52, 66), QPointF(28, 84)}));
        p.setBrush(QColor("#FFFFFF"));
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(44 + i * 15, 44), 4.5, 4.5);
        p.setBrush(QColor("#64B5F6"));
        p.drawRoundedRect(QRectF(70, 52, 72, 46), 15, 15);
        p.drawPolygon(QPolygonF({QPointF(126, 94), QPointF(110, 94), QPointF(134, 110)}));
        p.setBrush(QColor("#FFFFFF"));
        p.drawPath(heartPath(QPointF(106, 74), 10));
        p.setBrush(QColor("#E53935"));
        p.drawPath(starPath(QPointF(136, 26), 8, 3.4, 5));
        p.setBrush(QColor("#43A047"));
        p.drawEllipse(QPointF(22, 100), 4, 4);
        p.setBrush(QColor("#8E24AA"));
        p.drawEllipse(QPointF(150, 42), 3, 3);
    });
}

}  // namespace

void drawKita(const Output& out) {
    out.image("kita_kopf.jpg", head());
    out.image("kita_trenner.jpg", separatorNews());
    out.image("kita_impressum.jpg", separatorImprint());
    out.image("kita_laterne.jpg", lantern());
    out.image("kita_waldtag.jpg", forest());
    out.image("kita_elternabend.jpg", meeting());
}

}  // namespace art

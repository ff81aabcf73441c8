#include "editing/ui/ToolIcons.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace zw {

namespace {

constexpr int kSide = 16;  // logical size in the tool bar
constexpr int kScale = 2;  // drawn at twice the size, for screens with scaling
const QColor kInk(32, 32, 32);
const QColor kAccent(0, 84, 166);

void drawLetter(QPainter& p, const QString& letter, bool bold, bool italic, bool underline) {
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(14);
    font.setBold(bold);
    font.setItalic(italic);
    font.setUnderline(underline);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRectF(0, -1, kSide, kSide), Qt::AlignCenter, letter);
}

void drawBullets(QPainter& p) {
    for (int row = 0; row < 3; ++row) {
        const qreal y = 3.5 + row * 4.5;
        p.setPen(Qt::NoPen);
        p.setBrush(kAccent);
        p.drawEllipse(QPointF(2.5, y), 1.6, 1.6);
        p.setPen(QPen(kInk, 1.4));
        p.drawLine(QPointF(6, y), QPointF(14.5, y));
    }
}

void drawLink(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap));
    p.translate(kSide / 2.0, kSide / 2.0);
    p.rotate(-45);
    p.drawRoundedRect(QRectF(-7.5, -2.6, 8.5, 5.2), 2.6, 2.6);
    p.drawRoundedRect(QRectF(-1, -2.6, 8.5, 5.2), 2.6, 2.6);
}

void drawUndo(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kAccent, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath arc;
    arc.moveTo(3.5, 6.5);
    arc.cubicTo(7, 3, 14.5, 3.5, 14, 10);
    arc.cubicTo(13.7, 13, 11, 14, 8.5, 14);
    p.drawPath(arc);
    QPainterPath head;
    head.moveTo(2.5, 2);
    head.lineTo(3.5, 7);
    head.lineTo(8.5, 6);
    p.drawPath(head);
}

}  // namespace

QIcon toolIcon(ToolIcon which) {
    QPixmap pixmap(kSide * kScale, kSide * kScale);
    pixmap.setDevicePixelRatio(kScale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    switch (which) {
        case ToolIcon::Bold:
            drawLetter(p, QStringLiteral("B"), true, false, false);
            break;
        case ToolIcon::Italic:
            drawLetter(p, QStringLiteral("I"), false, true, false);
            break;
        case ToolIcon::Underline:
            drawLetter(p, QStringLiteral("U"), false, false, true);
            break;
        case ToolIcon::Bullet:
            drawBullets(p);
            break;
        case ToolIcon::Link:
            drawLink(p);
            break;
        case ToolIcon::Undo:
            drawUndo(p);
            break;
    }
    p.end();
    return QIcon(pixmap);
}

}  // namespace zw

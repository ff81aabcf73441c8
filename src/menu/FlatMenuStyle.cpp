#include "menu/FlatMenuStyle.h"

#include <QLinearGradient>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionMenuItem>

namespace zw {

namespace {

constexpr int kItemHeight = 22;
constexpr int kSeparatorHeight = 7;
constexpr int kTextGap = 8;       // between the icon column and the text
constexpr int kRightMargin = 20;  // room for the sub-menu arrow
constexpr int kShortcutGap = 24;  // between the text and its shortcut
constexpr int kIconSize = 16;

// The colours, all derived from the system's palette.
QColor buttonFace(const QPalette& palette) {
    return palette.color(QPalette::Active, QPalette::Button);
}
QColor menuBackground(const QPalette& palette) {
    return buttonFace(palette).lighter(110);
}
QColor separatorColour(const QPalette& palette) {
    return buttonFace(palette).darker(118);
}
QColor blend(const QColor& a, const QColor& b, qreal share) {
    return QColor::fromRgbF(a.redF() * (1 - share) + b.redF() * share,
                            a.greenF() * (1 - share) + b.greenF() * share,
                            a.blueF() * (1 - share) + b.blueF() * share);
}

// The icon column: the button face, fading in from the menu's left edge.
void drawIconColumn(QPainter* p, const QRect& rect, const QPalette& palette) {
    const QRect column(rect.left(), rect.top(), FlatMenuStyle::kIconColumn, rect.height());
    QLinearGradient gradient(column.topLeft(), column.topRight());
    gradient.setColorAt(0, buttonFace(palette).lighter(106));
    gradient.setColorAt(1, buttonFace(palette));
    p->fillRect(column, gradient);
}

// The selected item: a gradient of the highlight colour, framed by the highlight colour itself.
void drawSelection(QPainter* p, const QRect& rect, const QPalette& palette) {
    const QColor highlight = palette.color(QPalette::Active, QPalette::Highlight);
    const QColor base = menuBackground(palette);
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, blend(base, highlight, 0.18));
    gradient.setColorAt(1, blend(base, highlight, 0.38));
    p->save();
    p->setPen(highlight);
    p->setBrush(gradient);
    p->drawRect(rect.adjusted(0, 0, -1, -1));
    p->restore();
}

void drawMenuItem(const QStyle* style, const QStyleOptionMenuItem* item, QPainter* p, const QWidget* widget) {
    const QPalette& palette = item->palette;
    const QRect& r = item->rect;
    p->fillRect(r, menuBackground(palette));
    drawIconColumn(p, r, palette);

    if (item->menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = r.center().y();
        p->fillRect(QRect(r.left() + FlatMenuStyle::kIconColumn + kTextGap, y,
                          r.width() - FlatMenuStyle::kIconColumn - kTextGap - 2, 1),
                    separatorColour(palette));
        return;
    }
    const bool enabled = item->state & QStyle::State_Enabled;
    const bool selected = (item->state & QStyle::State_Selected) && enabled;
    if (selected)
        drawSelection(p, r.adjusted(1, 0, -1, 0), palette);

    // Icon, or the check mark of a checkable item, centred in the icon column.
    const QRect iconRect(r.left() + (FlatMenuStyle::kIconColumn - kIconSize) / 2,
                         r.top() + (r.height() - kIconSize) / 2, kIconSize, kIconSize);
    if (!item->icon.isNull()) {
        const QIcon::Mode mode = !enabled ? QIcon::Disabled : selected ? QIcon::Active : QIcon::Normal;
        item->icon.paint(p, iconRect, Qt::AlignCenter, mode, item->checked ? QIcon::On : QIcon::Off);
    } else if (item->checkType != QStyleOptionMenuItem::NotCheckable && item->checked) {
        QStyleOptionMenuItem check = *item;
        check.rect = iconRect;
        check.state = (item->state & QStyle::State_Enabled) | QStyle::State_On;
        style->drawPrimitive(item->checkType == QStyleOptionMenuItem::Exclusive
                                 ? QStyle::PE_IndicatorRadioButton
                                 : QStyle::PE_IndicatorMenuCheckMark,
                             &check, p, widget);
    }

    // Text, and the shortcut after the tab at the right.
    const QColor textColour = palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    p->save();
    p->setPen(textColour);
    p->setFont(item->font);
    const QRect textRect = r.adjusted(FlatMenuStyle::kIconColumn + kTextGap, 0, -kRightMargin, 0);
    int flags = Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!style->styleHint(QStyle::SH_UnderlineShortcut, item, widget))
        flags |= Qt::TextHideMnemonic;
    QString text = item->text;
    const qsizetype tab = text.indexOf(u'\t');
    if (tab >= 0) {
        p->drawText(textRect, flags | Qt::AlignRight, text.mid(tab + 1));
        text.truncate(tab);
    }
    p->drawText(textRect, flags | Qt::AlignLeft, text);
    p->restore();

    if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
        QStyleOption arrow = *item;
        arrow.rect = QRect(r.right() - kRightMargin + 4, r.top(), kRightMargin - 8, r.height());
        arrow.palette.setColor(QPalette::ButtonText, textColour);
        style->drawPrimitive(QStyle::PE_IndicatorArrowRight, &arrow, p, widget);
    }
}

void drawMenuBarItem(const QStyle* style, const QStyleOptionMenuItem* item, QPainter* p,
                     const QWidget* widget) {
    const QPalette& palette = item->palette;
    p->fillRect(item->rect, buttonFace(palette));
    const bool enabled = item->state & QStyle::State_Enabled;
    if (enabled && (item->state & (QStyle::State_Selected | QStyle::State_Sunken)))
        drawSelection(p, item->rect.adjusted(0, 1, 0, -1), palette);
    int flags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
    if (!style->styleHint(QStyle::SH_UnderlineShortcut, item, widget))
        flags |= Qt::TextHideMnemonic;
    p->save();
    p->setFont(item->font);
    p->setPen(palette.color(enabled ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    p->drawText(item->rect, flags, item->text);
    p->restore();
}

// Combo box lists draw their entries with the menu item elements too; they keep the underlying style.
bool isMenu(const QWidget* widget) {
    return qobject_cast<const QMenu*>(widget) != nullptr;
}
bool isMenuBar(const QWidget* widget) {
    return qobject_cast<const QMenuBar*>(widget) != nullptr;
}

}  // namespace

FlatMenuStyle::FlatMenuStyle(QStyle* base) : QProxyStyle(base) {}

void FlatMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    switch (element) {
        case CE_MenuItem:
            if (item && isMenu(widget)) {
                drawMenuItem(this, item, painter, widget);
                return;
            }
            break;
        case CE_MenuBarItem:
            if (item && isMenuBar(widget)) {
                drawMenuBarItem(this, item, painter, widget);
                return;
            }
            break;
        case CE_MenuBarEmptyArea:
            if (!isMenuBar(widget))
                break;
            painter->fillRect(option->rect, buttonFace(option->palette));
            return;
        case CE_MenuEmptyArea:
            if (!isMenu(widget))
                break;
            painter->fillRect(option->rect, menuBackground(option->palette));
            drawIconColumn(painter, option->rect, option->palette);
            return;
        default:
            break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void FlatMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                                  const QWidget* widget) const {
    switch (element) {
        case PE_PanelMenu: {
            if (!isMenu(widget))
                break;
            const int frame = pixelMetric(PM_MenuPanelWidth, option, widget);
            const QRect inner = option->rect.adjusted(frame, frame, -frame, -frame);
            painter->fillRect(option->rect, menuBackground(option->palette));
            drawIconColumn(painter, inner, option->palette);
            return;
        }
        case PE_FrameMenu:
            if (!isMenu(widget))
                break;
            painter->save();
            painter->setPen(buttonFace(option->palette).darker(150));
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
            painter->restore();
            return;
        case PE_PanelMenuBar:
            if (!isMenuBar(widget))
                break;
            painter->fillRect(option->rect, buttonFace(option->palette));
            return;
        default:
            break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

QSize FlatMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                      const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type == CT_MenuItem && item && isMenu(widget)) {
        if (item->menuItemType == QStyleOptionMenuItem::Separator)
            return {size.width(), kSeparatorHeight};
        // The shortcut's width is added by the menu itself; keep a gap before it.
        const int shortcutGap =
            item->text.contains(u'\t') || item->reservedShortcutWidth > 0 ? kShortcutGap : 0;
        return {kIconColumn + kTextGap + size.width() + shortcutGap + kRightMargin,
                qMax(kItemHeight, size.height() + 6)};
    }
    if (type == CT_MenuBarItem && item && isMenuBar(widget))
        return {size.width() + 16, qMax(kItemHeight, size.height() + 6)};
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int FlatMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const {
    if (!isMenu(widget) && !isMenuBar(widget))
        return QProxyStyle::pixelMetric(metric, option, widget);
    switch (metric) {
        case PM_MenuPanelWidth:
            return 1;
        case PM_MenuHMargin:
            return 0;
        case PM_MenuVMargin:
            return 2;
        case PM_MenuBarPanelWidth:
        case PM_MenuBarItemSpacing:
            return 0;
        case PM_MenuBarHMargin:
        case PM_MenuBarVMargin:
            return 1;
        default:
            break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

}  // namespace zw

#pragma once

#include <QProxyStyle>

namespace zw {

// Flat menus for the menu bar and every pop-up menu: a column for the icons at the left, the
// button-face colour for the menu, the icon column and the separators, and the selected item in the
// highlight colour with a border of it. Everything is taken from the system's colours and menu font;
// all that is not a menu is left to the underlying style.
class FlatMenuStyle : public QProxyStyle {
    Q_OBJECT
public:
    static constexpr int kIconColumn = 24;

    // The underlying style; the application's default style when none is given.
    explicit FlatMenuStyle(QStyle* base = nullptr);

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;
};

}  // namespace zw

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QStyleFactory>

#include <gtest/gtest.h>

#include "menu/FlatMenuStyle.h"

namespace zw {
namespace {

class FlatMenuStyleTest : public ::testing::Test {
protected:
    FlatMenuStyleTest() {
        menu_.setStyle(&style_);
        icon_ = QPixmap(16, 16);
        icon_.fill(Qt::red);
        first_ = menu_.addAction(QIcon(icon_), u"Vorlage öffnen"_qs);
        menu_.addSeparator();
        second_ = menu_.addAction(u"Info"_qs);
        menu_.adjustSize();
    }
    QColor pixel(const QImage& image, QPoint at) const { return image.pixelColor(at); }

    FlatMenuStyle style_{QStyleFactory::create(u"Fusion"_qs)};
    QMenu menu_;
    QPixmap icon_;
    QAction* first_ = nullptr;
    QAction* second_ = nullptr;
};

TEST_F(FlatMenuStyleTest, IconColumnItemsAndSelection) {
    const QRect item = menu_.actionGeometry(second_);
    EXPECT_GE(item.height(), 22);
    EXPECT_GT(item.width(),
              FlatMenuStyle::kIconColumn + QFontMetrics(menu_.font()).horizontalAdvance(u"Info"_qs));

    const QPalette palette = menu_.palette();
    QImage plain = menu_.grab().toImage();
    // The icon sits in the column; the column is shaded apart from the text area.
    const QRect icon = menu_.actionGeometry(first_);
    EXPECT_EQ(pixel(plain, {icon.left() + FlatMenuStyle::kIconColumn / 2, icon.center().y()}),
              QColor(Qt::red));
    const QPoint column(item.left() + FlatMenuStyle::kIconColumn - 2, item.center().y());
    const QPoint textArea(item.right() - 4, item.center().y());
    EXPECT_NE(pixel(plain, column), pixel(plain, textArea));
    EXPECT_LT(pixel(plain, column).lightness(), pixel(plain, textArea).lightness());

    menu_.setActiveAction(second_);
    const QImage selected = menu_.grab().toImage();
    EXPECT_EQ(pixel(selected, {item.left() + 1, item.center().y()}),
              palette.color(QPalette::Active, QPalette::Highlight));
    EXPECT_NE(pixel(selected, textArea), pixel(plain, textArea));
}

TEST_F(FlatMenuStyleTest, LeavesEverythingButMenusToTheUnderlyingStyle) {
    QPushButton withMenuStyle(u"OK"_qs), plain(u"OK"_qs);
    withMenuStyle.setStyle(&style_);
    std::unique_ptr<QStyle> fusion(QStyleFactory::create(u"Fusion"_qs));
    plain.setStyle(fusion.get());
    withMenuStyle.resize(80, 28);
    plain.resize(80, 28);
    EXPECT_EQ(withMenuStyle.grab().toImage(), plain.grab().toImage());

    // A combo box's list draws its entries with the menu item elements, and is no menu.
    QComboBox flatCombo, plainCombo;
    flatCombo.setStyle(&style_);
    plainCombo.setStyle(fusion.get());
    for (QComboBox* combo : {&flatCombo, &plainCombo}) combo->addItems({u"Schriftgröße"_qs, u"+1"_qs});
    EXPECT_EQ(flatCombo.view()->sizeHintForRow(1), plainCombo.view()->sizeHintForRow(1));
    EXPECT_EQ(flatCombo.view()->sizeHintForColumn(0), plainCombo.view()->sizeHintForColumn(0));
}

}  // namespace
}  // namespace zw

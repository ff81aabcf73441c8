// Pictures as users have them, through the window: a PNG logo and a phone's HEIC photo reach the
// preview and the saved message as JPEG copies, upright, the logo's transparent parts in the
// template's background colour.
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "AppFixture.h"
#include "dispatch/PreviewMessage.h"
#include "support/PictureFiles.h"
#include "template/ui/TemplateControls.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw::test {
namespace {

using PictureKindsWindowTest = AppTest;

// The message's pictures, decoded, by their size.
QHash<QSize, QImage> picturesOf(const PreviewMessage& message) {
    QHash<QSize, QImage> bySize;
    for (auto it = message.pictures.begin(); it != message.pictures.end(); ++it) {
        const QImage image = QImage::fromData(message.pictureBytes(it.value()), "JPG");
        bySize.insert(image.size(), image);
        EXPECT_TRUE(message.html.contains("cid:" + it.key())) << it.key().constData();
    }
    return bySize;
}

bool near(QRgb got, QColor want) {
    return std::abs(qRed(got) - want.red()) <= 12 && std::abs(qGreen(got) - want.green()) <= 12 &&
           std::abs(qBlue(got) - want.blue()) <= 12;
}

TEST_F(PictureKindsWindowTest, PngLogoAndHeicPhotoAppearUprightOnTheBackgroundInPreviewAndSavedMessage) {
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    const QColor background(0x14, 0x3C, 0x78), red(220, 30, 30), blue(30, 30, 220);
    f.PageControl1->setCurrentIndex(kColoursPage);
    prompts.colourAnswers = {0x783C14};
    QTest::mouseClick(f.ColourButtons[2], Qt::LeftButton);

    const QString logo = documents(u"Vereinslogo.png"_qs);
    writeAll(logo, makePng({.size = {64, 32}, .paint = [](int x, int) {
                                return x < 32 ? Rgba{220, 30, 30, 255} : Rgba{255, 255, 255, 0};
                            }}));
    f.PageControl1->setCurrentIndex(kGraphicsPage);
    prompts.pictureAnswers = {logo};
    QTest::mouseClick(f.OpenGraphicButtons[0], Qt::LeftButton);

    // Taken upright on a phone: stored lying (red above blue), turned by HEIF's rotation.
    const QString photo = documents(u"IMG_4711.HEIC"_qs);
    writeAll(photo, makeHeic({.size = {300, 200}, .paint = [](int, int y) {
                                  return y < 100 ? Rgba{220, 30, 30, 255} : Rgba{30, 30, 220, 255};
                              }, .transform = 6}));
    f.PageControl1->setCurrentIndex(kNewsPage);
    prompts.pictureAnswers = {photo};
    prompts.widthAnswers = {150};
    QTest::mouseClick(f.BitBtn2, Qt::LeftButton);
    ASSERT_EQ(prompts.errors, QStringList());

    const auto check = [&](const PreviewMessage& message) {
        const QHash<QSize, QImage> pictures = picturesOf(message);
        ASSERT_TRUE(pictures.contains(QSize(64, 32)));
        EXPECT_TRUE(near(pictures[QSize(64, 32)].pixel(12, 16), red));
        EXPECT_TRUE(near(pictures[QSize(64, 32)].pixel(52, 16), background));
        ASSERT_TRUE(pictures.contains(QSize(150, 225)));  // upright: 200 x 300 scaled
        EXPECT_TRUE(near(pictures[QSize(150, 225)].pixel(30, 112), blue));
        EXPECT_TRUE(near(pictures[QSize(150, 225)].pixel(120, 112), red));
    };
    QTabBar* tabs = f.PageControl1->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(kPreviewPage).center());
    ASSERT_TRUE(previews->last);
    check(*previews->last);

    prompts.saveAnswers = {documents(u"Verein.nld"_qs)};
    f.templateFiles().Vorlageppeichern1Click();
    check(parsePreviewMessage(readAll(documents(u"Verein.eml"_qs)), u"Verein.eml"_qs));
    EXPECT_EQ(prompts.errors, QStringList());
}

}  // namespace
}  // namespace zw::test

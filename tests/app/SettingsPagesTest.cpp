// The pages "Farben" and "Kopf u. Fußzeile": colour buttons and the date line switch.
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "AppFixture.h"
#include "template/ui/BlockListPart.h"

namespace zw::test {
namespace {

using SettingsPagesTest = AppTest;

TEST_F(SettingsPagesTest, ColourDialogOpensWithTheLastConfirmedColour) {
    const quint32 red = 0x0000FF, green = 0x00FF00;
    const struct {
        int button;  // "Text Farbe", "Link Farbe", "Hintergrund Farbe"
        std::optional<quint32> answer;
        quint32 shown;  // the colour the dialog opened with
        QByteArray text, link, background;
    } rows[] = {
        {0, red, 0, "#FF0000", "#0000FF", "#FFFFFF"},  // black the first time
        {0, std::nullopt, red, "#FF0000", "#0000FF", "#FFFFFF"},
        {2, std::nullopt, red, "#FF0000", "#0000FF", "#FFFFFF"},
        {2, green, red, "#FF0000", "#0000FF", "#00FF00"},
        {1, std::nullopt, green, "#FF0000", "#0000FF", "#00FF00"},
    };
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    f.PageControl1->setCurrentIndex(kColoursPage);
    QFrame* const swatches[] = {f.TextColorPanel, f.LinkColorPanel, f.BKGColorPanel};
    for (const auto& row : rows) {
        f.session().Saved = true;
        const QColor swatchBefore = swatches[row.button]->palette().color(QPalette::Window);
        prompts.colourAnswers = {row.answer};
        prompts.colourShown.clear();
        QTest::mouseClick(f.ColourButtons[size_t(row.button)], Qt::LeftButton);
        EXPECT_EQ(prompts.colourShown, QList<quint32>{row.shown});
        const TemplateSettings& s = f.session().settings;
        EXPECT_EQ(s.TextColor + s.LinkColor + s.BKGColor, row.text + row.link + row.background);
        EXPECT_EQ(f.session().Saved, !row.answer);
        const QColor swatch = swatches[row.button]->palette().color(QPalette::Window);
        if (row.answer) {
            EXPECT_EQ(swatch,
                      QColor(int(*row.answer & 0xFF), int(*row.answer >> 8 & 0xFF), int(*row.answer >> 16)));
        } else {
            EXPECT_EQ(swatch, swatchBefore);
        }
    }
    f.blockList().ListBox1Enter();
    EXPECT_TRUE(readAll(f.session().CurrentTemplatePath)
                    .contains("TextColor=#FF0000\r\nLinkColor=#0000FF\r\nBKGColor=#00FF00\r\n"));
}

TEST_F(SettingsPagesTest, TheDateSwitchGreysBothFieldsKeepsTheirTextsAndIsStored) {
    TMainForm& f = start();
    f.show();
    f.PageControl1->setCurrentIndex(kHeaderFooterPage);
    f.session().Saved = true;
    const QPoint box(8, f.DateCheckBox->height() / 2);
    QTest::mouseClick(f.DateCheckBox, Qt::LeftButton, {}, box);
    EXPECT_FALSE(f.session().Saved);
    EXPECT_FALSE(f.DateEdit->isEnabled());
    EXPECT_FALSE(f.DateAnzeigeEdit->isEnabled());
    f.blockList().ListBox1Enter();
    const QByteArray file = readAll(f.session().CurrentTemplatePath);
    EXPECT_TRUE(file.contains("\r\nDateOn=FALSE\r\n"));
    EXPECT_TRUE(file.contains("\r\nDateText=Ausgabe vom\r\n"));
    QTest::mouseClick(f.DateCheckBox, Qt::LeftButton, {}, box);
    EXPECT_TRUE(f.DateEdit->isEnabled());
    EXPECT_TRUE(f.DateAnzeigeEdit->isEnabled());
}

// A click on any alignment button stores the word of every group's checked button, and is no edit.
TEST_F(SettingsPagesTest, AnAlignmentClickStoresWhatEveryGroupShows) {
    TMainForm& f = start();
    f.show();
    f.PageControl1->setCurrentIndex(kGraphicsPage);
    TemplateSettings& s = f.session().settings;
    s.LogoAlign = "Left";  // read from a file, matching no button: "zentriert" stays checked
    f.session().Saved = true;
    const QByteArray logo = s.KopfLogo;
    QTest::mouseClick(f.ImpressumAlignButtons[2], Qt::LeftButton);
    EXPECT_EQ(s.LogoAlign + ' ' + s.SeperatorAlign + ' ' + s.ImpressumAlign, "center center right");
    EXPECT_TRUE(f.session().Saved);
    EXPECT_EQ(s.KopfLogo, logo);
}

}  // namespace
}  // namespace zw::test

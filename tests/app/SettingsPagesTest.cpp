// The pages "Farben" and "Kopf u. Fußzeile": colour buttons and the contrast warning, the date line
// switch, the layout switch and the preview text.
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "AppFixture.h"
#include "dispatch/ui/PreviewPart.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/TemplateFilesPart.h"

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

// The colours are stored as chosen; the page only says which of them read poorly.
TEST_F(SettingsPagesTest, TheColoursPageWarnsOfPoorContrastAndStoresTheColourAllTheSame) {
    const QString hard = u" – unter 4,5:1 ist er für viele Leser schwer lesbar."_qs;
    const struct {
        int button;
        quint32 colour;
        QString warning;
    } rows[] = {
        {0, 0x777777,
         u"Der Kontrast von Text (Newstext, Überschriften, Impressum) zu Hintergrund ist 4,4:1"_qs + hard},
        {2, 0x000000, u"Der Kontrast von Links zu Hintergrund ist 2,4:1"_qs + hard},  // blue links on black
        {1, 0x00FFFF, QString()},                                                     // yellow links
    };
    TMainForm& f = start();
    f.show();
    f.PageControl1->setCurrentIndex(kColoursPage);
    EXPECT_TRUE(f.ContrastWarningLabel->isHidden());  // black on white
    for (const auto& row : rows) {
        prompts.colourAnswers = {row.colour};
        QTest::mouseClick(f.ColourButtons[size_t(row.button)], Qt::LeftButton);
        EXPECT_EQ(f.ContrastWarningLabel->text(), row.warning);
        EXPECT_EQ(f.ContrastWarningLabel->isHidden(), row.warning.isEmpty());
    }
    EXPECT_EQ(f.session().settings.TextColor, "#777777");

    // A template read with poor colours is judged when the page is selected.
    f.session().settings.LinkColor = "#111111";
    f.PageControl1->setCurrentIndex(kHeaderFooterPage);
    f.PageControl1->setCurrentIndex(kColoursPage);
    EXPECT_EQ(f.ContrastWarningLabel->text(), u"Der Kontrast von Links zu Hintergrund ist 1,1:1"_qs + hard);
    EXPECT_FALSE(f.ContrastWarningLabel->isHidden());
}

// The layout switch and the preview text are written only when used, kept through save and open, and
// a template that never asked for them is written as it was read.
TEST_F(SettingsPagesTest, LayoutAndPreviewTextSurviveSaveAndReopenAndAClassicTemplateStaysAsItWas) {
    TMainForm& f = start();
    f.show();
    QApplication::setActiveWindow(&f);
    const QString target = documents(u"Handy.nld"_qs);
    prompts.saveAnswers = {target};
    f.templateFiles().Vorlagespeichernunter1Click();
    const QByteArray classic = readAll(target);
    EXPECT_TRUE(classic.contains("\r\nDateOn=TRUE\r\n \r\n[BLOCK001]"));

    f.PageControl1->setCurrentIndex(kHeaderFooterPage);
    EXPECT_FALSE(f.MobileLayoutCheckBox->isChecked());
    f.session().Saved = true;
    QTest::mouseClick(f.MobileLayoutCheckBox, Qt::LeftButton, {},
                      QPoint(8, f.MobileLayoutCheckBox->height() / 2));
    EXPECT_TRUE(f.MobileLayoutCheckBox->isChecked());
    EXPECT_FALSE(f.session().Saved);
    f.session().Saved = true;
    f.VorschautextEdit->setFocus();
    QTest::keyClicks(f.VorschautextEdit, u"Neu: "_qs);
    f.VorschautextEdit->insert(u"Grüße & mehr"_qs);  // typed as a keyboard layout with umlauts would
    EXPECT_FALSE(f.session().Saved);
    f.templateFiles().Vorlageppeichern1Click();
    const QByteArray saved = readAll(target);
    EXPECT_TRUE(
        saved.contains("\r\nDateOn=TRUE\r\nLayout=mobil\r\nVorschautext=Neu: Gr\xfc\xdf"
                       "e & mehr\r\n \r\n[BLOCK001]"));
    EXPECT_TRUE(f.preview().phoneLayout());

    // Opened again, the page shows both; unchecked, the line goes and the template is the classic one.
    prompts.openAnswers = {documents(u"Sport.nld"_qs), target};
    f.templateFiles().Vorlageffnen1Click();
    EXPECT_FALSE(f.MobileLayoutCheckBox->isChecked());
    EXPECT_EQ(f.VorschautextEdit->text(), QString());
    f.templateFiles().Vorlageffnen1Click();
    EXPECT_TRUE(f.MobileLayoutCheckBox->isChecked());
    EXPECT_EQ(f.VorschautextEdit->text(), u"Neu: Grüße & mehr"_qs);
    f.PageControl1->setCurrentIndex(kHeaderFooterPage);
    QTest::mouseClick(f.MobileLayoutCheckBox, Qt::LeftButton, {},
                      QPoint(8, f.MobileLayoutCheckBox->height() / 2));
    f.VorschautextEdit->clear();
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_EQ(readAll(target), classic);
    EXPECT_FALSE(f.preview().phoneLayout());

    // A template that names the classic layout keeps naming it.
    QByteArray named = classic;
    named.replace("DateOn=TRUE\r\n", "DateOn=TRUE\r\nLayout=klassisch\r\n");
    const QString other = documents(u"Klassisch.nld"_qs);
    writeAll(other, named);
    prompts.openAnswers = {other};
    f.templateFiles().Vorlageffnen1Click();
    EXPECT_FALSE(f.MobileLayoutCheckBox->isChecked());
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_EQ(readAll(other), named);
}

}  // namespace
}  // namespace zw::test

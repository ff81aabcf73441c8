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
    TMainForm& f = start();
    f.show();
    for (const quint32 colour : {0x777777u, 0x000000u}) {
        prompts.colourAnswers = {colour};
        QTest::mouseClick(f.ColourButtons[0], Qt::LeftButton);
        EXPECT_EQ(f.ContrastWarningLabel->isHidden(), colour == 0);
    }
    // Colours that came with a template are judged when the page is selected.
    f.session().settings.LinkColor = "#EEEEEE";
    f.PageControl1->setCurrentIndex(kColoursPage);
    EXPECT_TRUE(
        f.ContrastWarningLabel->text().startsWith(u"Der Kontrast von Links zu Hintergrund ist 1,1:1"_qs));
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
    const auto clickSwitch = [&] {
        QTest::mouseClick(f.MobileLayoutCheckBox, Qt::LeftButton, {},
                          {8, f.MobileLayoutCheckBox->height() / 2});
    };
    // The keyboard goes from the switch to the subject and on to the preview text beside it.
    QStringList order;
    for (QWidget* w = f.MobileLayoutCheckBox; order.size() < 4; w = w->nextInFocusChain())
        if (w->focusPolicy() & Qt::TabFocus)
            order.append(w->objectName());
    EXPECT_EQ(order, QStringList({u"MobileLayoutCheckBox"_qs, u"BetreffEdit"_qs, u"VorschautextEdit"_qs,
                                  u"Titel1Edit"_qs}));
    f.session().Saved = true;
    clickSwitch();
    EXPECT_FALSE(f.session().Saved);
    f.VorschautextEdit->setFocus();
    QTest::keyClicks(f.VorschautextEdit, u"Neu: "_qs);
    f.VorschautextEdit->insert(u"Grüße & mehr"_qs);  // typed as a keyboard layout with umlauts would
    f.templateFiles().Vorlageppeichern1Click();
    EXPECT_TRUE(
        readAll(target).contains("\r\nDateOn=TRUE\r\nLayout=mobil\r\nVorschautext=Neu: Gr\xfc\xdf"
                                 "e & mehr\r\n \r\n[BLOCK001]"));
    EXPECT_TRUE(f.preview().phoneLayout());

    // Opened again, the page shows both; unchecked, the line goes and the template is the classic one.
    f.MobileLayoutCheckBox->setChecked(false);
    f.VorschautextEdit->clear();
    f.session().Saved = true;  // left without a question, the file stays as saved
    prompts.openAnswers = {target};
    f.templateFiles().Vorlageffnen1Click();
    EXPECT_TRUE(f.MobileLayoutCheckBox->isChecked());
    EXPECT_EQ(f.VorschautextEdit->text(), u"Neu: Grüße & mehr"_qs);
    f.PageControl1->setCurrentIndex(kHeaderFooterPage);
    clickSwitch();
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

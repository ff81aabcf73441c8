#include "template/ui/SettingsView.h"

#include <QCheckBox>
#include <QFrame>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include "platform/Platform.h"
#include "platform/Text.h"
#include "template/ui/PicturePane.h"

namespace zw {

QByteArray fieldText(const QLineEdit* edit) {
    return toStored(oneLine(edit->text()));
}

void setFieldText(QLineEdit* edit, const QByteArray& stored) {
    edit->setText(fromStored(stored));
    edit->setCursorPosition(0);  // a long text shows its beginning, not its end
}

QString picturePaneTarget(const Folders& folders, const QByteArray& storedPath) {
    return folders.images + fromStored(fileNamePart(storedPath));
}

QColor toQColor(quint32 colourValue) {
    return QColor(int(colourValue & 0xFF), int((colourValue >> 8) & 0xFF), int((colourValue >> 16) & 0xFF));
}

quint32 fromQColor(const QColor& colour) {
    return quint32(colour.red()) | quint32(colour.green()) << 8 | quint32(colour.blue()) << 16;
}

void paintSwatch(QFrame* swatch, quint32 colourValue) {
    const QColor colour = toQColor(colourValue);
    QPalette palette = swatch->palette();
    palette.setColor(QPalette::Window, colour);
    swatch->setPalette(palette);
    swatch->setAutoFillBackground(true);
    swatch->setToolTip(colour.name(QColor::HexRgb).toUpper());
}

void applyDateState(TemplateControls& controls) {
    const bool on = controls.DateCheckBox->isChecked();
    controls.DateEdit->setEnabled(on);
    controls.DateAnzeigeEdit->setEnabled(on);
}

namespace {

void selectAlignment(const std::array<QRadioButton*, 3>& buttons, const QByteArray& word) {
    // Only an exact word selects a button; anything else leaves the group as it was.
    for (size_t i = 0; i < kAlignWords.size(); ++i) {
        if (word == kAlignWords[i] && buttons[i])
            buttons[i]->setChecked(true);
    }
}

}  // namespace

void putSettings(TemplateControls& c, TemplateSession& session, const TemplateSettings& settings,
                 Platform& platform, ColourReader readColour) {
    session.settings = settings;

    c.DateCheckBox->setChecked(settings.dateOn());
    applyDateState(c);
    c.MobileLayoutCheckBox->setChecked(settings.mobileLayout());

    setFieldText(c.BetreffEdit, settings.Berteff);
    setFieldText(c.VorschautextEdit, settings.Vorschautext);
    setFieldText(c.Titel1Edit, settings.Titel1);
    setFieldText(c.Titel2Edit, settings.Titel2);
    setFieldText(c.DateEdit, settings.DateText);
    setFieldText(c.ImpressumEdit, settings.ImpressumText);
    setFieldText(c.ImpressumMailToEdit, settings.ImpressumMailTo);
    setFieldText(c.ImpressumURLEdit, settings.ImpressumURL);
    setFieldText(c.UnsubScribeLinkEdit, settings.UnsubscribeLink);
    setFieldText(c.UnsubScribeTextEdit, settings.UnsubscribeText);

    c.WebBrowser1->navigate(pathFromStored(settings.KopfLogo));
    c.WebBrowser2->navigate(pathFromStored(settings.SeperatorNews));
    c.WebBrowser3->navigate(pathFromStored(settings.SeperatorImpressum));

    quint32 colour = 0;  // a swatch whose colour cannot be read shows the last good one
    const std::pair<QFrame*, QByteArray> swatches[] = {{c.TextColorPanel, settings.TextColor},
                                                       {c.LinkColorPanel, settings.LinkColor},
                                                       {c.BKGColorPanel, settings.BKGColor}};
    for (const auto& [swatch, text] : swatches) {
        readColour(text, colour, platform);
        paintSwatch(swatch, colour);
    }

    selectAlignment(c.LogoAlignButtons, settings.LogoAlign);
    selectAlignment(c.SeperatorAlignButtons, settings.SeperatorAlign);
    selectAlignment(c.ImpressumAlignButtons, settings.ImpressumAlign);
}

TemplateSettings collectSettings(const TemplateControls& c, const TemplateSession& session) {
    TemplateSettings s = session.settings;
    s.Berteff = fieldText(c.BetreffEdit);
    s.Titel1 = fieldText(c.Titel1Edit);
    s.Titel2 = fieldText(c.Titel2Edit);
    s.DateText = fieldText(c.DateEdit);
    s.ImpressumText = fieldText(c.ImpressumEdit);
    s.ImpressumMailTo = fieldText(c.ImpressumMailToEdit);
    s.ImpressumURL = fieldText(c.ImpressumURLEdit);
    s.UnsubscribeLink = fieldText(c.UnsubScribeLinkEdit);
    s.UnsubscribeText = fieldText(c.UnsubScribeTextEdit);
    s.DateOn = c.DateCheckBox->isChecked() ? "TRUE" : "FALSE";
    s.Vorschautext = fieldText(c.VorschautextEdit);
    // Unchecked, the template says what it said before ("klassisch", or nothing, so that a classic
    // template is written as it was read), unless that was the phone layout.
    if (c.MobileLayoutCheckBox->isChecked())
        s.Layout = TemplateSettings::kMobileLayout;
    else if (s.mobileLayout())
        s.Layout.clear();
    return s;
}

void selectPage(TemplateControls& controls, int index) {
    const QSignalBlocker quiet(controls.PageControl1);
    controls.PageControl1->setCurrentIndex(index);
}

}  // namespace zw

#include "editing/ui/SettingsPagesPart.h"

#include <QLabel>
#include <QTabWidget>

#include "platform/Prompts.h"
#include "template/Session.h"
#include "template/ui/SettingsView.h"
#include "template/ui/TemplateControls.h"

namespace zw {

SettingsPagesPart::SettingsPagesPart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                                     QObject* parent)
    : QObject(parent), c_(controls), session_(session), prompts_(prompts) {
    connect(c_.PageControl1, &QTabWidget::currentChanged, this, [this](int page) {
        if (page == kColoursPage)
            showContrastWarning();
    });
}

void SettingsPagesPart::chooseColour(ColourRow row) {
    const std::optional<quint32> chosen = prompts_.chooseColour(colours.lastColour);
    if (!chosen)
        return;
    session_.Saved = false;
    colours.confirm(row, *chosen, session_.settings);
    QFrame* const swatches[] = {c_.TextColorPanel, c_.LinkColorPanel, c_.BKGColorPanel};
    paintSwatch(swatches[int(row)], *chosen);
    showContrastWarning();
}

void SettingsPagesPart::showContrastWarning() {
    const QString warning = contrastWarning(session_.settings);
    c_.ContrastWarningLabel->setText(warning);
    c_.ContrastWarningLabel->setVisible(!warning.isEmpty());
}

void SettingsPagesPart::DateCheckBoxClick() {
    session_.Saved = false;
    applyDateState(c_);
}

}  // namespace zw

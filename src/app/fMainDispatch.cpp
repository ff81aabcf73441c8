// The main window's part in the serial-mail hand-off, help, about, the start-up tip (and after it the
// offer to resume an interrupted sending) and the showcase.
#include <QAction>
#include <QEvent>
#include <QPushButton>

#include "app/fMain.h"
#include "dispatch/HelpPart.h"
#include "dispatch/SerialMailPart.h"
#include "menu/MenuIcons.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/SendPart.h"

namespace zw {

void TMainForm::connectDispatch() {
    serialMail_ = std::make_unique<SerialMailPart>(
        session_, prompts_, launcher_, branding_.serialMailWebPage, [this] { commitBlock(); },
        [this](const QString& target) { renderMessageTo(target); });
    pageCommands.startSerialMail = [this] { serialMail_->StartSerialMail(); };

    const QString program = session_.folders.program;
    help_ = std::make_unique<HelpPart>(program, prompts_, launcher_,
                                       HelpAddresses{program + QStringLiteral("help/") + branding_.helpFile,
                                                     branding_.productWebPage, branding_.makerMail});
    HelpPart* help = help_.get();
    wire(Hilfedatei1, &QAction::triggered, help, &HelpPart::Hilfedatei1Click);
    wire(BitBtn1, &QPushButton::clicked, help, &HelpPart::Hilfedatei1Click);
    wire(Update1, &QAction::triggered, help, &HelpPart::Update1Click);
    wire(Info1, &QAction::triggered, help, &HelpPart::Info1Click);
    for (QAction* action : {Hilfedatei1, Update1, Info1}) action->setEnabled(true);
    BitBtn1->setEnabled(true);

    applyMenuIcons(this);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // The tip waits until the activation is over: a modal window opened from inside it would take the
    // activation away again.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(
            this,
            [this] {
                run([this] { help_->FormActivate(); });
                // After the tip, once a run: a newsletter whose sending was interrupted is offered.
                if (!resumeOffered_) {
                    resumeOffered_ = true;
                    run([this] { send_->campaigns().offerInterrupted(); });
                }
            },
            Qt::QueuedConnection);
}

}  // namespace zw

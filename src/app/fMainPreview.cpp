// The page "Vorschau" and the single mail, connected to the window.
#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "app/fMain.h"
#include "dispatch/ui/PreviewPart.h"

namespace zw {

void TMainForm::connectPreview() {
    preview_ = std::make_unique<PreviewPart>(
        PreviewPage, session_.folders, prompts_, launcher_, [this] { commitBlock(); },
        [this](const QStringList& targets) { renderMessageTo(targets); });
    // The bar above the view comes right after the tabs for the keyboard, not after the bottom buttons.
    QWidget::setTabOrder(PageControl1->tabBar(), preview_->DesktopRadioButton);
    QWidget::setTabOrder(preview_->DesktopRadioButton, preview_->SmartphoneRadioButton);
    QWidget::setTabOrder(preview_->SmartphoneRadioButton, preview_->PlainTextCheckBox);
    // The check box is what the rendering of the preview reads the layout from.
    preview_->phoneLayout = [this] { return MobileLayoutCheckBox->isChecked(); };
    pageCommands.showPreview = [this] { preview_->ShowPreview(); };
    pageCommands.sendSingleMail = [this] { preview_->SendSingleMail(); };
}

// The web view, shown for the first time, makes the window system create the window anew (the view
// needs another kind of surface), and the new window comes up with its maximised state forgotten
// although Qt still reports it. The state is set once more on the new window.
bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::Show && !previewWarmUpPlanned_) {
        // The web engine takes over a second to start: it starts in the background once the window
        // has shown itself and come to rest, so that neither the window nor the first preview waits.
        previewWarmUpPlanned_ = true;
        QTimer::singleShot(kPreviewWarmUpDelayMs, this, &TMainForm::warmUpPreviewWhenIdle);
        // Reading the dictionary takes a moment too; the window is not kept waiting for it either.
        QTimer::singleShot(0, this, [this] { connectSpelling(); });
    }
    if (event->type() == QEvent::WinIdChange && isVisible() && !restoringWindowState_) {
        restoringWindowState_ = true;
        QTimer::singleShot(0, this, [this, state = windowState()] {
            setWindowState(Qt::WindowNoState);
            setWindowState(state);
            restoringWindowState_ = false;
        });
    }
    return QMainWindow::event(event);
}

// Not while a dialog is open (the start-up tip): the first web view makes the window system create the
// main window anew (see event()), which would put it over that dialog.
void TMainForm::warmUpPreviewWhenIdle() {
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        QTimer::singleShot(kPreviewWarmUpDelayMs, this, &TMainForm::warmUpPreviewWhenIdle);
        return;
    }
    preview_->warmUp();
}

}  // namespace zw

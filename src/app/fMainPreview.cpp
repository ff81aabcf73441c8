// The page "Vorschau" and the single mail, connected to the window.
#include "app/fMain.h"
#include "dispatch/ui/PreviewPart.h"

namespace zw {

void TMainForm::connectPreview() {
    preview_ = std::make_unique<PreviewPart>(
        PreviewPage, session_.folders, prompts_, launcher_, [this] { commitBlock(); },
        [this](const QStringList& targets) { renderMessageTo(targets); });
    pageCommands.showPreview = [this] { preview_->ShowPreview(); };
    pageCommands.sendSingleMail = [this] { preview_->SendSingleMail(); };
}

}  // namespace zw

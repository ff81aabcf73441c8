// The page "Vorschau" and the single mail, connected to the window.
#include "app/WindowRender.h"
#include "app/fMain.h"
#include "dispatch/ui/PreviewPart.h"
#include "render/RenderMessage.h"
#include "template/ui/BlockListPart.h"

namespace zw {

void TMainForm::connectPreview() {
    preview_ = std::make_unique<PreviewPart>(
        PreviewPage, session_.folders, prompts_, launcher_, [this] { blockList_->ListBox1Enter(); },
        [this](const QString& target) {
            RenderMessage(renderInputFromWindow(*this, session_), target, prompts_);
        });
    pageCommands.showPreview = [this] { preview_->ShowPreview(); };
    pageCommands.sendSingleMail = [this] { preview_->SendSingleMail(); };
}

}  // namespace zw

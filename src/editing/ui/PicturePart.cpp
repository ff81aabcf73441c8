#include "editing/ui/PicturePart.h"

#include "template/Session.h"
#include "template/ui/PicturePane.h"
#include "template/ui/TemplateControls.h"
#include "template/ui/WaitCursor.h"

namespace zw {

PicturePart::PicturePart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                         QObject* parent)
    : QObject(parent), c_(controls), session_(session), prompts_(prompts) {}

void PicturePart::choose(PictureSlot slot, PicturePane* pane) {
    const QString copy = ChoosePicture(slot, prompts_, session_, [](const std::function<void()>& work) {
        WaitCursor wait;
        work();
    });
    if (!copy.isEmpty())
        pane->navigate(copy);
}

void PicturePart::OpenKopfBitBtnClick() {
    choose(PictureSlot::HeadLogo, c_.WebBrowser1);
}

void PicturePart::Open2BitBtnClick() {
    choose(PictureSlot::NewsSeparator, c_.WebBrowser2);
}

void PicturePart::Open3BitBtnClick() {
    choose(PictureSlot::ImprintSeparator, c_.WebBrowser3);
}

void PicturePart::BitBtn2Click() {
    choose(PictureSlot::BlockPicture, c_.WebBrowser4);
}

}  // namespace zw

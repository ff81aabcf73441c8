#include "editing/ui/PicturePart.h"

#include "template/BlockFiles.h"
#include "template/Session.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/PicturePane.h"
#include "template/ui/TemplateControls.h"
#include "template/ui/WaitCursor.h"

namespace zw {

PicturePart::PicturePart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                         QObject* parent)
    : QObject(parent), c_(controls), session_(session), prompts_(prompts) {}

// The pictures of the template besides the one being chosen: the other graphics, the picture of the
// block in the editor, and those of the other blocks in their edit files.
QList<QByteArray> PicturePart::otherPictures(PictureSlot slot) const {
    QList<QByteArray> others;
    const TemplateSettings& s = session_.settings;
    if (slot != PictureSlot::HeadLogo)
        others << s.KopfLogo;
    if (slot != PictureSlot::NewsSeparator)
        others << s.SeperatorNews;
    if (slot != PictureSlot::ImprintSeparator)
        others << s.SeperatorImpressum;
    if (slot != PictureSlot::BlockPicture)
        others << session_.EditorPicture;
    if (session_.folders.program.isEmpty())
        return others;
    const BlockFiles files(session_.folders.program);
    const int edited = c_.ListBox1 ? c_.ListBox1->selectedRow() + 1 : 0;
    for (int number = 1; number <= files.list().size(); ++number)
        if (slot != PictureSlot::BlockPicture || number != edited)
            others << files.readForEditor(number).value(1);
    return others;
}

void PicturePart::choose(PictureSlot slot, PicturePane* pane) {
    const auto busy = [](const std::function<void()>& work) {
        WaitCursor wait;
        work();
    };
    const QString copy = ChoosePicture(slot, prompts_, session_, busy, otherPictures(slot));
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

#include <QPushButton>

#include "app/fMain.h"
#include "editing/ui/PicturePart.h"

namespace zw {

// The four picture commands: "Bild öffnen" on the news page and the three graphics on "Grafiken".
void TMainForm::connectPictures() {
    auto* pictures = new PicturePart(*this, session_, prompts_, this);
    const std::pair<QPushButton*, void (PicturePart::*)()> commands[] = {
        {OpenGraphicButtons[0], &PicturePart::OpenKopfBitBtnClick},
        {OpenGraphicButtons[1], &PicturePart::Open2BitBtnClick},
        {OpenGraphicButtons[2], &PicturePart::Open3BitBtnClick},
        {BitBtn2, &PicturePart::BitBtn2Click},
    };
    for (const auto& [button, handler] : commands) {
        wire(button, &QPushButton::clicked, pictures, handler);
        button->setEnabled(true);
    }
}

}  // namespace zw

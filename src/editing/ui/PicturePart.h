#pragma once

#include <QObject>

#include "editing/PictureChooser.h"

namespace zw {

class PicturePane;
class Prompts;
struct TemplateControls;
struct TemplateSession;

// The four open commands of the pictures: the three graphics of the page "Grafiken" and the block
// picture "Bild öffnen". Each shows the new copy in its pane.
class PicturePart : public QObject {
    Q_OBJECT
public:
    PicturePart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                QObject* parent = nullptr);

    void OpenKopfBitBtnClick();
    void Open2BitBtnClick();
    void Open3BitBtnClick();
    void BitBtn2Click();

private:
    void choose(PictureSlot slot, PicturePane* pane);
    QList<QByteArray> otherPictures(PictureSlot slot) const;

    TemplateControls& c_;
    TemplateSession& session_;
    Prompts& prompts_;
};

}  // namespace zw

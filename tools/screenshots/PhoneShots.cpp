#include "PhoneShots.h"

#include <QDir>
#include <QWidget>

#include <memory>

#include "Shots.h"
#include "dispatch/PreviewMessage.h"
#include "dispatch/ui/WebPreview.h"
#include "render/RenderMessage.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace {

// The shipped default template with a long address pasted into its first news text.
QByteArray messageWithLongLink(const QString& data, const QString& work, zw::Prompts& prompts) {
    const QString images = data + QStringLiteral("Images/");
    QDir().mkpath(work);
    const zw::BlockFiles files(work);
    const zw::RebuildResult loaded =
        zw::loadTemplate(data + QStringLiteral("Zettelwerk_Vorlage.nld"), images, files);
    zw::NewsBlock first = zw::BlockFiles::readForRendering(files.list().first());
    first.Text =
        "Die Bilder vom letzten Fest: "
        "https://www.gartenfreunde-lindenhain.example.org/galerie/2026/sommerfest-am-vereinsheim/"
        "bilder?seite=1&amp;sortierung=datum<br><br>" +
        first.Text;
    files.write(1, first.lines());
    zw::RenderInput input = zw::renderInputFromSettings(loaded.settings, "08.12.2026", work, images);
    input.copyFolder = work;
    return zw::BuildMessageLines(input, prompts).join("\r\n") + "\r\n";
}

}  // namespace

void drawPhoneShots(const QString& data, const QString& work, const QString& out, zw::Prompts& prompts) {
    const QByteArray message = messageWithLongLink(data, work + QStringLiteral("/Mobil/"), prompts);
    for (const bool picturesOff : {false, true}) {
        auto shown = std::make_shared<zw::PreviewMessage>(zw::parsePreviewMessage(message, u"mobil.eml"_qs));
        // A mail app that holds the pictures back shows their alt texts in their place.
        if (picturesOff)
            shown->pictures.clear();
        zw::WebPreview preview;
        preview.widget()->resize(360, 1180);
        preview.widget()->show();
        preview.showUnscaled();
        preview.showMessage(shown, QStringLiteral("mobil"));
        settle(4000);
        save(preview.widget()->grab(), out + (picturesOff ? QStringLiteral("mobil_ohne_bilder.png")
                                                          : QStringLiteral("mobil_langer_link.png")));
    }
}

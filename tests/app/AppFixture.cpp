#include "AppFixture.h"

#include <QDir>
#include <QImage>

#include "dispatch/ui/PreviewPart.h"
#include "template/ui/BlockListWidget.h"

namespace zw::test {

QList<QByteArray> blockSection(int number, const QByteArray& headline, const QByteArray& picture) {
    return {" ", "[BLOCK" + QByteArray::number(number).rightJustified(3, '0') + "]", headline, picture, "Mehr",
            "www.example.org", "Text"};
}

QByteArray templateFile(const QByteArray& subject, const QList<QList<QByteArray>>& blocks) {
    QList<QByteArray> lines = {
        "[SETTINGS]", "Berteff=" + subject, "KopfLogo=C:\\Bilder\\kopf.jpg", "LogoAlign=center",
        "Titel1=Titel eins", "Titel2=Titel zwei", "DateText=Ausgabe vom", "SeperatorNews=C:\\Bilder\\trenner.jpg",
        "SeperatorAlign=center", "SeperatorImpressum=C:\\Bilder\\trenner.jpg", "ImpressumAlign=left",
        "ImpressumText=Verein e.V.", "ImpressumMailTo=info@example.org", "ImpressumURL=www.example.org",
        "TextColor=#000000", "LinkColor=#0000FF", "BKGColor=#FFFFFF", "UnsubscribeLink=www.example.org/ab",
        "UnsubscribeText=Abbestellen", "DateOn=TRUE"};
    for (const QList<QByteArray>& block : blocks) lines += block;
    return crlf(lines);
}

void writeProgramFiles(const QString& folder) {
    QDir().mkpath(folder + u"Images"_qs);
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    for (const char* name : {"kopf.jpg", "trenner.jpg", "pic.jpg"})
        image.save(folder + u"Images/"_qs + QLatin1String(name), "JPG", 90);
    writeAll(folder + u"Ver.ini"_qs, "Version 1.0\r\n");
    // The window tests drive the news text's source view; the formatted view's tests take this away.
    writeAll(folder + u"HTMLAnsicht.ini"_qs, {});
}

AppTest::AppTest() {
    writeProgramFiles(programFolder);
    QDir().mkpath(program(u"Vorlagen"_qs));
    defaultTemplate = templateFile("Herbst", {blockSection(1, "Erste"), blockSection(2, "Zweite", ""),
                                              blockSection(3, "Dritte")});
    writeAll(program(u"Zettelwerk_Vorlage.nld"_qs), defaultTemplate);
    writeAll(program(u"NEW.nld"_qs), templateFile("", {}));
    writeAll(program(u"Vorlagen/Sport.nld"_qs), templateFile("Sport", {blockSection(1, "Spiel")}));
}

AppTest::~AppTest() = default;

TMainForm& AppTest::start() {
    windowsInfo = std::make_unique<TWindowsInfo>(platform);
    form = std::make_unique<TMainForm>(platform, prompts, *windowsInfo,
                                       ProductBranding::load(Folders::derive(programFolder, documentsFolder)));
    form->preview().setViewFactory(RecordingPreview::factory(previews));
    return *form;
}

QStringList AppTest::blockFiles() const {
    return QDir(programFolder).entryList({u"*.edt"_qs}, QDir::Files, QDir::Name);
}

QStringList AppTest::listItems() const {
    QStringList items;
    for (int i = 0; i < form->ListBox1->count(); ++i) items.append(form->ListBox1->item(i)->text());
    return items;
}

}  // namespace zw::test

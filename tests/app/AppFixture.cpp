#include "AppFixture.h"

#include <QDir>
#include <QImage>

#include "template/ui/BlockListWidget.h"

namespace zw::test {

QList<QByteArray> blockSection(int number, const QByteArray& headline, const QByteArray& picture,
                               const QByteArray& linkText, const QByteArray& linkUrl, const QByteArray& text) {
    return {" ", "[BLOCK" + QByteArray::number(number).rightJustified(3, '0') + "]", headline, picture, linkText,
            linkUrl, text};
}

QByteArray templateFile(const QByteArray& subject, const QList<QList<QByteArray>>& blocks) {
    QList<QByteArray> lines = {"[SETTINGS]",          "Berteff=" + subject,
                               "KopfLogo=C:\\Bilder\\kopf.jpg", "LogoAlign=center",
                               "Titel1=Titel eins",   "Titel2=Titel zwei",
                               "DateText=Ausgabe vom", "SeperatorNews=C:\\Bilder\\trenner.jpg",
                               "SeperatorAlign=center", "SeperatorImpressum=C:\\Bilder\\trenner.jpg",
                               "ImpressumAlign=left", "ImpressumText=Verein e.V.",
                               "ImpressumMailTo=info@example.org", "ImpressumURL=www.example.org",
                               "TextColor=#000000",   "LinkColor=#0000FF",
                               "BKGColor=#FFFFFF",    "UnsubscribeLink=www.example.org/ab",
                               "UnsubscribeText=Abbestellen", "DateOn=TRUE"};
    for (const QList<QByteArray>& block : blocks) lines += block;
    return crlf(lines);
}

void writePicture(const QString& path) {
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(QColor(30, 120, 200));
    image.save(path, "JPG", 90);
}

AppTest::AppTest() {
    programFolder = folders_.subfolder(QStringLiteral("prog"));
    documentsFolder = folders_.subfolder(QStringLiteral("docs"));
    QDir().mkpath(programFolder + QStringLiteral("Images"));
    QDir().mkpath(programFolder + QStringLiteral("Vorlagen"));
    defaultTemplate = templateFile("Herbst", {blockSection(1, "Erste"), blockSection(2, "Zweite", ""),
                                              blockSection(3, "Dritte")});
    writeAll(program(QStringLiteral("Zettelwerk_Vorlage.nld")), defaultTemplate);
    writeAll(program(QStringLiteral("NEW.nld")), templateFile("", {}));
    writeAll(program(QStringLiteral("Ver.ini")), "Version 1.0\r\n");
    writeAll(program(QStringLiteral("Vorlagen/Sport.nld")), templateFile("Sport", {blockSection(1, "Spiel")}));
    for (const char* name : {"kopf.jpg", "trenner.jpg", "pic.jpg"}) writePicture(program(QStringLiteral("Images/") + QLatin1String(name)));
    platform = std::make_unique<FakePlatform>(programFolder, documentsFolder);
}

AppTest::~AppTest() = default;

TMainForm& AppTest::start() {
    windowsInfo = std::make_unique<TWindowsInfo>(*platform);
    form = std::make_unique<TMainForm>(*platform, prompts, *windowsInfo, ProductBranding::load(Folders::derive(programFolder, documentsFolder)));
    return *form;
}

QStringList AppTest::blockFiles() const {
    return QDir(programFolder).entryList({QStringLiteral("*.edt")}, QDir::Files, QDir::Name);
}

QStringList AppTest::listItems() const {
    QStringList items;
    for (int i = 0; i < form->ListBox1->count(); ++i) items.append(form->ListBox1->item(i)->text());
    return items;
}

}  // namespace zw::test

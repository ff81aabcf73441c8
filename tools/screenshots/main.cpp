// Draws the pictures of the help pages: every page of the main window with a shipped template loaded,
// the open menus, and the small windows. Runs the real window on a copy of the shipped files.
// Usage: zw-screenshots <data folder> <output folder>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QDirIterator>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolButton>
#include <QScreen>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "InboxShots.h"
#include "PhoneShots.h"
#include "SendShots.h"
#include "Shots.h"
#include "app/ProductBranding.h"
#include "app/QtPrompts.h"
#include "app/WindowsInfo.h"
#include "app/fMain.h"
#include "dispatch/ui/AboutBox.h"
#include "dispatch/ui/PreviewEngine.h"
#include "dispatch/ui/PreviewPart.h"
#include "dispatch/ui/TipForm.h"
#include "dispatch/ui/VentozaForm.h"
#include "dispatch/ui/WerbungForm.h"
#include "editing/ui/NewsViewsPart.h"
#include "menu/FlatMenuStyle.h"
#include "platform/Platform.h"
#include "send/PasswordStore.h"
#include "send/ui/SenderDialog.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/SettingsView.h"

namespace {

// A program folder and a documents folder of their own, so that the user's files are never touched.
class ShotPlatform : public zw::Platform {
public:
    ShotPlatform(QString program, QString documents)
        : program_(std::move(program)), documents_(std::move(documents)) {}
    QString documentsFolder() override { return documents_; }
    QString programFolder() override { return program_; }
    void beep() override {}

private:
    QString program_, documents_;
};

// A secret store that is there and empty: the sender dialog as most desktops show it.
class ShotStore : public zw::send::PasswordStore {
public:
    bool available() override { return true; }
    std::optional<QString> read(const QString&) override { return std::nullopt; }
    void write(const QString&, const QString&) override {}
    void remove(const QString&) override {}
};

void copyFolder(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + QDir(from).relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::copy(file, target);
    }
}

}  // namespace

int main(int argc, char** argv) {
    zw::preparePreviewEngine();
    QApplication app(argc, argv);
    QApplication::setStyle(new zw::FlatMenuStyle);
    if (argc != 3) {
        std::fprintf(stderr, "usage: zw-screenshots <data folder> <output folder>\n");
        return 2;
    }
    const QString data = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QString out = QDir(QString::fromLocal8Bit(argv[2])).absolutePath() + u'/';
    QDir().mkpath(out);

    QTemporaryDir temp;
    const QString program = temp.path() + QStringLiteral("/Zettelwerk/");
    const QString documents = temp.path() + QStringLiteral("/Dokumente/");
    copyFolder(data, program);
    QDir().mkpath(documents);
    // The tip and the showcase have pictures of their own below; the window comes without them.
    QFile(program + QStringLiteral("NoTip.ini")).open(QIODevice::WriteOnly);
    QFile(program + QStringLiteral("NoWer.ini")).open(QIODevice::WriteOnly);

    ShotPlatform platform(program, documents);
    zw::TWindowsInfo windowsInfo(platform);
    const zw::ProductBranding branding = zw::ProductBranding::load(
        zw::Folders::derive(platform.programFolder(), windowsInfo.documentsFolder()));
    zw::QtPrompts prompts(branding.productTitle);
    zw::TMainForm form(platform, prompts, windowsInfo, branding);
    prompts.setParentWindow(&form);
    prompts.createDispatchWindows(branding, program);
    form.move(0, 0);
    form.resize(960, 680);
    form.show();
    settle(500);

    // The template pages; the single-mail and serial-mail pages are commands, not pictures.
    const QStringList pageFiles = {"seite_newsmeldungen", "seite_kopf_fusszeile", "seite_grafiken",
                                   "seite_farben"};
    for (int i = 0; i < pageFiles.size(); ++i) {
        zw::selectPage(form, i);
        settle(200);
        save(form.grab(), out + pageFiles[i] + QStringLiteral(".png"));
    }
    // The news text in its two views, the first block selected.
    zw::selectPage(form, 0);
    form.ListBox1->selectRow(0);
    form.blockList().ListBox1Click();
    settle(200);
    save(form.EditorPanel->grab(), out + QStringLiteral("newsmeldungen_formatiert.png"));
    form.newsViews->HtmlButton->click();
    settle(200);
    save(form.EditorPanel->grab(), out + QStringLiteral("newsmeldungen_html.png"));
    form.newsViews->FormattedButton->click();
    // The preview, as the user's choice of its tab shows it.
    zw::selectPage(form, zw::kPreviewPage);
    form.PageControl1Change();
    settle(4000);
    save(form.grab(), out + QStringLiteral("seite_vorschau.png"));
    // The phone's view of the classic layout (scaled down), then of the phone layout (unscaled).
    const auto phonePreview = [&](bool phoneLayout, const QString& file) {
        if (form.MobileLayoutCheckBox->isChecked() != phoneLayout)
            form.MobileLayoutCheckBox->click();
        zw::selectPage(form, zw::kPreviewPage);
        form.PageControl1Change();
        form.preview().SmartphoneRadioButton->click();
        settle(4000);
        save(form.grab(), out + file);
        form.preview().DesktopRadioButton->click();
    };
    phonePreview(false, QStringLiteral("seite_vorschau_smartphone.png"));

    phonePreview(true, QStringLiteral("seite_vorschau_mobil.png"));

    // The phone layout with a preview text.
    form.VorschautextEdit->setText(
        QStringLiteral("Neuigkeiten aus dem Verein: Sommerfest, Vorstand, Termine"));
    zw::selectPage(form, zw::kHeaderFooterPage);
    settle(200);
    save(form.grab(), out + QStringLiteral("seite_kopf_fusszeile_mobil.png"));

    // Grey text on a white background: the page "Farben" warns.
    form.session().settings.TextColor = "#999999";
    zw::paintSwatch(form.TextColorPanel, 0x999999);
    form.PageControl1->setCurrentIndex(zw::kColoursPage);  // as the user selects it: the page judges
    settle(200);
    save(form.grab(), out + QStringLiteral("seite_farben_kontrast.png"));
    zw::selectPage(form, 0);

    // The menus, open below the menu bar, taken from the screen.
    const QStringList menuFiles = {"menu_datei", "menu_versand", "menu_hilfe"};
    const QList<QAction*> menus = form.menuBar()->actions();
    for (int i = 0; i < menus.size() && i < menuFiles.size(); ++i) {
        form.activateWindow();
        form.menuBar()->setActiveAction(menus[i]);
        settle(400);
        const QRect area(form.geometry().topLeft(), QSize(360, 220));
        save(form.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height()),
             out + menuFiles[i] + QStringLiteral(".png"));
        form.menuBar()->setActiveAction(nullptr);
        if (QMenu* menu = menus[i]->menu())
            menu->hide();
        settle(200);
    }

    const QString recom = program + QStringLiteral("recom/");
    zw::TVentozaForm start(recom + QStringLiteral("ventoza.jpg"));
    start.FileLabel->setText(QStringLiteral("Zettelwerk_Vorlage.eml"));
    start.adjustSize();
    save(start.grab(), out + QStringLiteral("hinweis_serienmail.png"));
    zw::TNoVentozaForm offer(recom + QStringLiteral("ventoza.jpg"));
    offer.adjustSize();
    save(offer.grab(), out + QStringLiteral("hinweis_ventoza.png"));
    zw::TAboutBox about({branding.productTitle, branding.versionText, zw::copyrightNotice(branding.makerName),
                         branding.makerWebText, branding.makerMail, recom + branding.aboutPictureFile});
    about.adjustSize();
    save(about.grab(), out + QStringLiteral("info.png"));
    zw::TTipForm tip(recom + QStringLiteral("tip.jpg"));
    tip.adjustSize();
    save(tip.grab(), out + QStringLiteral("tipp.png"));
    zw::TWerbungForm showcase(recom);
    showcase.resize(1000, 560);
    save(showcase.grab(), out + QStringLiteral("werbung.png"));

    // The sender dialog as a GMX customer fills it in.
    ShotStore store;
    zw::send::SenderDialog sender(sampleSender(), temp.path() + QStringLiteral("/Absender.ini"), store);
    sender.adjustSize();
    save(sender.grab(), out + QStringLiteral("absender_und_server.png"));

    drawSendingShots(form, temp.path(), out);
    drawFieldShots(form, temp.path(), out);
    drawInboxShots(form, temp.path(), out);
    drawPhoneShots(data, temp.path(), out, prompts);
    return 0;
}

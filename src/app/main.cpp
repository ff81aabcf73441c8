// Zettelwerk: composing HTML e-mail newsletters.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QProcess>
#include <QTranslator>

#include <csignal>
#include <cstdio>

#include "app/ProductBranding.h"
#include "app/QtPlatform.h"
#include "app/QtPrompts.h"
#include "app/TemplateHandOff.h"
#include "app/WindowsInfo.h"
#include "app/fMain.h"
#include "dispatch/ui/PreviewEngine.h"
#include "editing/ui/LinkForm.h"
#include "menu/FlatMenuStyle.h"
#include "platform/FileIo.h"
#include "platform/InstanceChannel.h"
#include "platform/SingleInstance.h"
#include "template/Session.h"
#include "template/ui/CloseForm.h"

int main(int argc, char* argv[]) {
    // A file size limit must make a write fail with a message, not end the program with the edits.
    std::signal(SIGXFSZ, SIG_IGN);
    zw::preparePreviewEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zettelwerk"));
    // Flat menus everywhere, the context menus of the text fields included.
    QApplication::setStyle(new zw::FlatMenuStyle);

    // Only one copy at a time: the working files in the program folder are shared.
    zw::SingleInstance instance(QStringLiteral("Zettelwerk"));
    // "zettelwerk FILE.nld", as a file manager starts it: a running copy opens the file instead.
    const QString templateFile = zw::templateArgument(QApplication::arguments());
    zw::InstanceChannel channel(QStringLiteral("Zettelwerk"));
    if (!instance.acquire()) {
        if (!templateFile.isEmpty() && channel.send(templateFile))
            return 0;
        const QString message = QStringLiteral(
            "Zettelwerk ist bereits gestartet!\rBitte wechseln Sie in der Taskleiste zum Programm "
            "\"Zettelwerk\"\r"
            "Application already running!");
        // Also on standard error, for whoever started us from a terminal or a script.
        std::fprintf(stderr, "%s\n", QString(message).replace(u'\r', u'\n').toLocal8Bit().constData());
        QMessageBox box(QMessageBox::NoIcon, QString(), message, QMessageBox::Ok);
        box.exec();
        return 0;
    }
    channel.listen();

    // The standard dialogs speak German like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    zw::QtPlatform platform(QApplication::applicationDirPath());
    // We are the only copy: what an interrupted write of an earlier run left behind is garbage now.
    zw::removeInterruptedWrites(platform.programFolder());
    zw::TWindowsInfo windowsInfo(platform);
    const zw::ProductBranding branding = zw::ProductBranding::load(
        zw::Folders::derive(platform.programFolder(), windowsInfo.documentsFolder()));
    zw::QtPrompts prompts(branding.productTitle);

    zw::TMainForm mainForm(platform, prompts, windowsInfo, branding, templateFile);
    zw::TCloseForm closeForm(&mainForm);
    prompts.setParentWindow(&mainForm);
    prompts.setCloseForm(&closeForm);
    prompts.createDispatchWindows(branding, mainForm.session().folders.program);
    zw::TLinkForm linkForm(&mainForm);
    prompts.setLinkForm(&linkForm);

    mainForm.showMaximized();
    // Activation brings the start-up tip; without a window manager nobody else would activate us.
    mainForm.activateWindow();
    zw::TemplateHandOff handOff(mainForm, prompts);
    QObject::connect(&channel, &zw::InstanceChannel::pathReceived, &handOff, &zw::TemplateHandOff::open);
    for (const QString& path : channel.takeEarlyPaths()) handOff.open(path);
    const int status = QApplication::exec();

    // Templates handed over while the window was closing (its question was open) were promised to be
    // opened: a new copy opens them once this one has let go.
    const QStringList left = handOff.takeWaiting();
    if (!left.isEmpty()) {
        instance.release();
        for (const QString& path : left)
            QProcess::startDetached(QCoreApplication::applicationFilePath(), {path});
    }
    return status;
}

// The program's window in a process of its own, for the tests that kill it or starve it of disk
// space: starts as the program does on a program folder and a documents folder, then runs one
// command behind the error report and says on standard output what happened.
//
//   zw_hardening_child start|save|writeback|render|render2 PROGRAM DOCUMENTS [--fsize BYTES] [--nobody]
//
// Output lines: "ready" just before the command, "error:" + message for every error shown,
// "items:" + the number of blocks in the list, "done" when the program is still running afterwards.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>
#include <cstdio>

#include "app/ErrorReport.h"
#include "app/WindowRender.h"
#include "app/WindowsInfo.h"
#include "app/fMain.h"
#include "platform/FileIo.h"
#include "render/RenderMessage.h"
#include "support/FakePlatform.h"
#include "support/FakePrompts.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/TemplateFilesPart.h"

namespace {

void say(const QByteArray& line) {
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    const QString mode = args[1];
    using namespace zw;
    // Root writes everywhere; a folder it may not write needs someone else. The window's working files
    // are then that user's own, as they would be in a home folder.
    if (args.contains(QStringLiteral("--nobody")) && geteuid() == 0 &&
        (setgid(65534) != 0 || setuid(65534) != 0))
        return 3;
    removeInterruptedWrites(args[2]);
    test::FakePlatform platform(args[2], args[3]);
    test::FakePrompts prompts;
    TWindowsInfo windowsInfo(platform);
    TMainForm form(platform, prompts, windowsInfo, ProductBranding::load(Folders::derive(args[2], args[3])));
    for (const QString& e : prompts.errors) say("error:" + e.toUtf8());
    prompts.errors.clear();

    if (mode != u"start") {
        form.HeadLineEdit->setText(QStringLiteral("Geänderte Überschrift"));
        form.BetreffEdit->setText(QStringLiteral("Geänderter Betreff"));
        const qsizetype fsize = args.indexOf(QStringLiteral("--fsize"));
        if (fsize > 0) {
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = rlim_t(args.value(fsize + 1).toLongLong());
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        say("ready");
        reportErrors(prompts, [&] {
            if (mode == u"save")
                form.templateFiles().Vorlageppeichern1Click();
            else if (mode == u"writeback")
                form.blockList().ListBox1Enter();
            else if (mode == u"render")
                RenderMessage(renderInputFromWindow(form, form.session()),
                              args[3] + QStringLiteral("Vorschau.eml"), prompts);
            else  // the preview's two files in one pass
                RenderMessage(renderInputFromWindow(form, form.session()),
                              QStringList{args[3] + QStringLiteral("Vorschau1.eml"),
                                          args[3] + QStringLiteral("Vorschau2.eml")},
                              prompts);
        });
    }
    for (const QString& e : prompts.errors) say("error:" + e.toUtf8());
    say("items:" + QByteArray::number(form.ListBox1->count()));
    say("done");
    return 0;
}

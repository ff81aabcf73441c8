#include "app/TemplateHandOff.h"

#include <QApplication>
#include <QFileInfo>
#include <QTimer>

#include "app/ErrorReport.h"
#include "app/fMain.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw {

namespace {
// How often a waiting path looks whether the dialog in the way has closed.
constexpr int kRetryMilliseconds = 200;
}  // namespace

TemplateHandOff::TemplateHandOff(TMainForm& window, Prompts& prompts, QObject* parent)
    : QObject(parent), window_(window), prompts_(prompts) {}

void TemplateHandOff::open(const QString& path) {
    waiting_.append(path);
    if (waiting_.size() == 1)
        openWaiting();
}

void TemplateHandOff::openWaiting() {
    if (waiting_.isEmpty())
        return;
    // A dialog of the program is open (a question, a file dialog, an error): the user finishes it
    // first; the path must not pull the template away underneath it.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
        QTimer::singleShot(kRetryMilliseconds, this, &TemplateHandOff::openWaiting);
        return;
    }
    const QString path = waiting_.first();
    window_.setWindowState((window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window_.show();
    window_.raise();
    window_.activateWindow();
    reportErrors(prompts_, [&] { window_.templateFiles().openTemplateFile(path); });
    waiting_.removeFirst();
    if (!waiting_.isEmpty())
        QTimer::singleShot(0, this, &TemplateHandOff::openWaiting);
}

QString templateArgument(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (!argument.startsWith(u'-'))
            return QFileInfo(argument).absoluteFilePath();
    }
    return {};
}

}  // namespace zw

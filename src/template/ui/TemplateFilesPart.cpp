#include "template/ui/TemplateFilesPart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTabWidget>
#include <QWidget>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Prompts.h"
#include "template/BlockCycle.h"
#include "template/TemplateFiles.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/SettingsView.h"
#include "template/ui/WaitCursor.h"

namespace zw {

namespace {

// One file, also when reached through a link or a linked folder.
bool samePath(const QString& a, const QString& b) {
    const QFileInfo x(a), y(b);
    if (x.exists() && y.exists())
        return x.canonicalFilePath() == y.canonicalFilePath();
    return x.absoluteFilePath() == y.absoluteFilePath();
}
}  // namespace

TemplateFilesPart::TemplateFilesPart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                                     BlockListPart& blocks, QString productTitle,
                                     std::function<void(const QString&)> renderMessage, QObject* parent)
    : QObject(parent),
      c_(controls),
      session_(session),
      prompts_(prompts),
      blocks_(blocks),
      productTitle_(std::move(productTitle)),
      renderMessage_(std::move(renderMessage)) {}

void TemplateFilesPart::setCaption() {
    c_.window->setWindowTitle(windowCaption(productTitle_, session_.CurrentTemplatePath));
}

void TemplateFilesPart::restoreFromRevertCopy() {
    const QString revertCopy = session_.folders.program + kRevertCopy;
    // Mostly the file is as it was: then it is left alone rather than written again.
    QFile copy(revertCopy), current(session_.CurrentTemplatePath);
    if (copy.open(QIODevice::ReadOnly) && current.open(QIODevice::ReadOnly) &&
        copy.size() == current.size() && copy.readAll() == current.readAll())
        return;
    copyFileReplacing(revertCopy, session_.CurrentTemplatePath);
}

bool TemplateFilesPart::mayLeaveTemplate() {
    // Nothing to ask about; what write backs put into the file unasked (an alignment, say) goes.
    if (session_.Saved) {
        restoreFromRevertCopy();
        return true;
    }
    switch (prompts_.askSaveChanges()) {
        case CloseAnswer::Yes:
            save();
            // A save that did not happen (its dialog cancelled) leaves the file as it was saved last.
            if (!session_.Saved)
                restoreFromRevertCopy();
            return true;
        case CloseAnswer::No:
            restoreFromRevertCopy();
            return true;
        case CloseAnswer::Abort:
        case CloseAnswer::Cancel:
            return false;
    }
    return false;
}

void TemplateFilesPart::NeueVorlage1Click() {
    if (!mayLeaveTemplate())
        return;
    {
        WaitCursor wait;
        blocks_.clearBlockFiles();
        session_.CurrentTemplatePath = session_.folders.program + kBlankTemplate;
        session_.SavePath.clear();
        takeRevertCopy(session_.folders, session_.CurrentTemplatePath);
        setCaption();
        blocks_.loadCurrentTemplate();
        selectPage(c_, kNewsPage);
        session_.Saved = true;
    }
    if (PageControl1Change)
        PageControl1Change();
}

void TemplateFilesPart::Vorlageffnen1Click() {
    if (!mayLeaveTemplate())
        return;
    const QString chosen = prompts_.chooseTemplateToOpen(session_.folders.documents);
    if (!chosen.isEmpty())
        openChosen(chosen, kPreviewPage);
    if (PageControl1Change)
        PageControl1Change();
}

void TemplateFilesPart::openTemplateFile(const QString& path) {
    // A file that cannot be opened is refused before the question: nothing to decide about.
    checkOpenable(path);
    if (!mayLeaveTemplate())
        return;
    openChosen(path, kPreviewPage);
    if (PageControl1Change)
        PageControl1Change();
}

void TemplateFilesPart::openChosen(const QString& chosen, int page) {
    WaitCursor wait;
    // Refused before anything changes: the template in the window stays, the chosen file too.
    checkOpenable(chosen);
    blocks_.clearBlockFiles();
    session_.CurrentTemplatePath = chosen;
    session_.SavePath = chosen;
    takeRevertCopy(session_.folders, chosen);
    setCaption();
    blocks_.loadCurrentTemplate();
    selectPage(c_, page);
    session_.Saved = true;
    rememberLastFile(session_.folders, chosen);
}

void TemplateFilesPart::Vorlageppeichern1Click() {
    save();
}

void TemplateFilesPart::Vorlagespeichernunter1Click() {
    session_.SavePath.clear();
    save();
}

void TemplateFilesPart::save() {
    QString target = session_.SavePath;
    if (target.isEmpty()) {
        target = prompts_.chooseTemplateSaveName(session_.SavePath, session_.folders.documents);
        if (target.isEmpty()) {
            session_.CloseAllowed = false;
            return;
        }
    }
    WaitCursor wait;
    const QString previousPath = session_.CurrentTemplatePath;
    const QString previousSavePath = session_.SavePath;
    const bool leavesFile = !samePath(target, previousPath);
    session_.CurrentTemplatePath = target;
    session_.SavePath = target;
    try {
        blocks_.ListBox1Enter();
    } catch (const Error&) {
        // Nothing was saved: stay with the file we had. The edits are still in the window.
        session_.CurrentTemplatePath = previousPath;
        session_.SavePath = previousSavePath;
        throw;
    }
    if (leavesFile) {
        // The file we leave goes back to its last saved state: the write backs were meant for the
        // template, which now lives on under the new name.
        copyFileReplacing(session_.folders.program + kRevertCopy, previousPath);
    }
    setCaption();

    takeRevertCopy(session_.folders, target);
    rememberLastFile(session_.folders, target);
    session_.Saved = true;
    session_.CloseAllowed = true;

    // The template is safe now; a message that cannot be written is reported, not a reason to call the
    // template unsaved.
    const QString message = messagePathFor(session_.folders, target);
    // A documents folder that does not exist yet (a fresh account) is made, as the first run does.
    if (!session_.folders.documents.isEmpty())
        QDir().mkpath(session_.folders.documents);
    try {
        renderMessage_(message);
    } catch (const Error& e) {
        prompts_.error(QStringLiteral("Die Vorlage wurde gespeichert, aber die Nachricht \"%1\" konnte nicht "
                                      "geschrieben werden.\n%2")
                           .arg(QDir::toNativeSeparators(message), e.message()));
    }
}

bool TemplateFilesPart::FormCloseQuery() {
    session_.CloseAllowed = false;
    if (session_.Saved) {
        restoreFromRevertCopy();
        session_.CloseAllowed = true;
    } else {
        switch (prompts_.askSaveChanges()) {
            case CloseAnswer::Yes:
                save();
                break;
            case CloseAnswer::No:
                restoreFromRevertCopy();
                session_.CloseAllowed = true;
                break;
            case CloseAnswer::Abort:
            case CloseAnswer::Cancel:
                break;
        }
    }
    if (!session_.CloseAllowed)
        return false;
    if (ResetUndoHistory)
        ResetUndoHistory();
    blocks_.clearBlockFiles();
    return true;
}

}  // namespace zw

#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "template/Session.h"
#include "template/ui/TemplateControls.h"

namespace zw {

class BlockListPart;
class Prompts;

// The template as a file: new, open, save, save under a new name, and the question before changes
// are dropped.
//
// The template file itself is the working copy that every write back rewrites. "Old.nld" always holds
// the file at the current path as it was last loaded or saved, and whenever the program leaves that
// file without the user's yes to keep the changes, it first copies "Old.nld" back over it.
class TemplateFilesPart : public QObject {
    Q_OBJECT
public:
    // renderMessage writes the newsletter message of the window's template to a path.
    TemplateFilesPart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                      BlockListPart& blocks, QString productTitle,
                      std::function<void(const QString&)> renderMessage, QObject* parent = nullptr);

    void NeueVorlage1Click();
    void Vorlageffnen1Click();
    void Vorlageppeichern1Click();
    void Vorlagespeichernunter1Click();
    // True when the window may close; the working files are then cleared.
    bool FormCloseQuery();
    // Opens a template that another copy of the program handed over as the open command opens the
    // chosen one, the question about unsaved changes included. A file that cannot be opened gives the
    // German error, and the template in the window stays.
    void openTemplateFile(const QString& path);

    void setCaption();
    // Called at the end of the open and new commands, as a tab change would.
    std::function<void()> PageControl1Change;
    // Empties the news editor's undo history as the window closes.
    std::function<void()> ResetUndoHistory;

private:
    // The question before the template is left for another. False: the command stops here.
    bool mayLeaveTemplate();
    void restoreFromRevertCopy();
    void save();
    void openChosen(const QString& chosen, int page);

    TemplateControls& c_;
    TemplateSession& session_;
    Prompts& prompts_;
    BlockListPart& blocks_;
    QString productTitle_;
    std::function<void(const QString&)> renderMessage_;
};

}  // namespace zw

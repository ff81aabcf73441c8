#pragma once

#include <QObject>

#include <functional>

#include "template/BlockFiles.h"
#include "template/Session.h"
#include "template/ui/SettingsView.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/TemplateControls.h"

namespace zw {

class Platform;
class Prompts;

// The block list and the block editor: loading a block into the editor, writing it back into its
// block edit file and the template, adding and deleting blocks.
class BlockListPart : public QObject {
    Q_OBJECT
public:
    BlockListPart(TemplateControls& controls, TemplateSession& session, Prompts& prompts, Platform& platform,
                  ColourReader readColour, QObject* parent = nullptr);

    // The write-back cycle: store the editor into the selected block's file, write the template file,
    // read its settings back, rebuild the block files and the list.
    void ListBox1Enter();
    // Show the selected block in the editor.
    void ListBox1Click();
    void NewBitBtnClick();
    void DeleteBitBtnClick();
    // "Nach oben", "Nach unten", Alt+arrow and a drop in the list: the selected block moves to
    // position to (from 0). The block in the editor is stored first; it stays selected in its new place.
    void moveSelectedBlock(int to);
    void UpBitBtnClick() { moveSelectedBlock(c_.ListBox1->selectedRow() - 1); }
    void DownBitBtnClick() { moveSelectedBlock(c_.ListBox1->selectedRow() + 1); }
    // "kein Bild verwenden"
    void BitBtn5Click();

    // Loads the template at the session's current path into the window: settings, block files and
    // list, the first block in the editor. The editor shows when the template has blocks, else it hides.
    void loadCurrentTemplate();
    void clearBlockFiles();

    const BlockFiles& blockFiles() const { return files_; }
    // The five lines of the editor, as they are stored.
    QList<QByteArray> editorLines() const;

    // Empties the news editor's undo history; the window connects it. True when a block is about to be
    // loaded into the editor: the loading is then the history's first snapshot.
    std::function<void(bool loadingBlock)> ResetUndoHistory;

private:
    void showItems(const QStringList& items, int selected);
    // The editor's fields take input only while they belong to a selected block: what is typed with
    // none selected could be stored nowhere.
    void enableEditor(bool blockSelected);
    void emptyEditor();
    void resetUndoHistory(bool loadingBlock) {
        if (ResetUndoHistory)
            ResetUndoHistory(loadingBlock);
    }

    TemplateControls& c_;
    TemplateSession& session_;
    Prompts& prompts_;
    Platform& platform_;
    ColourReader readColour_;
    BlockFiles files_;
};

}  // namespace zw

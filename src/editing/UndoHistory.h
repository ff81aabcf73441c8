#pragma once

#include <QString>

#include <optional>

#include "editing/UndoStore.h"

namespace zw {

// The news editor's undo history: every change of the text is a snapshot of the whole text, the undo
// command steps back through them one at a time, and there is no redo. The editor widget has no undo
// of its own; this is the only one.
class UndoHistory {
public:
    // The number of the newest snapshot reached; 0 while there is none.
    int UndoCounter = 0;
    // False only between an undo and the change its restore causes, which is not recorded.
    bool UndoRecording = true;
    // Whether the undo button is enabled.
    bool backEnabled = false;

    // A change of the editor text. Records text as the next snapshot unless the change is a restore;
    // returns whether it did. `where` tells where the text changed, when the editor knows.
    bool change(const QString& text, std::optional<TextChange> where = std::nullopt);
    // The undo command: the text to put into the editor, or nothing when there is no snapshot. At the
    // oldest snapshot it gives that one once more and the button goes off.
    std::optional<QString> stepBack();
    // Forgets every snapshot: after a block is selected, added or deleted, and on closing.
    void reset();

    const UndoStore& store() const { return store_; }

private:
    UndoStore store_;
};

}  // namespace zw

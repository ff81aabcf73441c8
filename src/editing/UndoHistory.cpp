#include "editing/UndoHistory.h"

namespace zw {

bool UndoHistory::change(const QString& text, std::optional<TextChange> where) {
    const bool record = UndoRecording;
    if (record) {
        ++UndoCounter;
        backEnabled = true;
        store_.write(UndoCounter, text, where);
    }
    UndoRecording = true;
    return record;
}

std::optional<QString> UndoHistory::stepBack() {
    if (UndoCounter < 1)
        return std::nullopt;
    if (UndoCounter >= 2)
        --UndoCounter;
    else
        backEnabled = false;
    UndoRecording = false;
    return store_.read(UndoCounter);
}

void UndoHistory::reset() {
    store_.clear();
    UndoCounter = 0;
    backEnabled = false;
}

}  // namespace zw

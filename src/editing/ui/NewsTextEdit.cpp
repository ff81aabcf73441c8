#include "editing/ui/NewsTextEdit.h"

#include <QMimeData>

#include "editing/TextCommands.h"

namespace zw {

void NewsTextEdit::insertFromMimeData(const QMimeData* source) {
    if (!source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // As plain text only: the editor formats nothing, and a fragment of its own would bypass the breaks.
    QTextCursor cursor = textCursor();
    cursor.insertText(PastedText(source->text()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

}  // namespace zw

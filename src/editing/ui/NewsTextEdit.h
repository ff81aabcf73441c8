#pragma once

#include <QPlainTextEdit>

namespace zw {

// The news text editor Memo1. Pasted and dropped text keeps its line breaks in the newsletter: each
// gets the "<br>" that the Enter key writes (see PastedText).
class NewsTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void insertFromMimeData(const QMimeData* source) override;
};

}  // namespace zw

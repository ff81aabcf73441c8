#pragma once

#include <QTextEdit>

#include <functional>

#include "editing/FormattedText.h"

namespace zw {

// The news text as formatting: bold as bold, a link as a link. It edits the document that
// FormattedText reads from and writes to the stored markup; what it lets in by paste is only what that
// markup can hold. Personal fields are tinted so that the writer sees they will be replaced.
class FormattedNewsEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit FormattedNewsEdit(QWidget* parent = nullptr);

    const FormattedLook& look() const { return look_; }
    void setLook(const FormattedLook& look) { look_ = look; }
    // Turns a pasted link address into the stored href; the window gives it the hyperlink dialog's
    // completion.
    std::function<QString(const QString&)> completeLink = [](const QString& address) { return address; };

    // Loads a stored text; false (and an empty view) when the view cannot show it faithfully.
    bool load(const QString& storedText);
    QString markup() const { return writeFormattedText(*document()); }

    // The commands: on the selection, or on what is typed next when nothing is selected.
    void toggleInline(InlineFormat kind);
    // A font size ("+3"); the same size once more takes it away again.
    void applyFontSize(const QString& value);
    void toggleList();
    // The address of the link the caret stands in (selecting the whole link), or an empty text.
    QString selectLinkAtCursor();
    // Links the selection to href, or inserts text linked to it when nothing is selected.
    void applyLink(const QString& href, const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void markFields();
    void leaveLinkEnd();
    void changeFormat(const std::function<void(QTextCharFormat&)>& change);
    bool selectionHas(const std::function<bool(const QTextCharFormat&)>& test) const;

    FormattedLook look_;
    bool loading_ = false;
};

}  // namespace zw

#pragma once

#include <QObject>

#include <functional>
#include <optional>

#include "editing/TextCommands.h"
#include "editing/UndoHistory.h"

class QComboBox;
class QKeyEvent;
class QPlainTextEdit;
class QToolBar;
class QToolButton;

namespace zw {

class Prompts;
struct TemplateSession;

// The commands of the news text editor Memo1: the tool bar ToolBar1 with the tag buttons and the undo
// button, the font-size box ComboBox1, the Enter key, Ctrl+Z, Ctrl+B/I/U, and the undo history behind
// them. The editor itself has no undo: this history is the only one.
class TextCommandsPart : public QObject {
    Q_OBJECT
public:
    // Makes ToolBar1 and its buttons as children of toolBarParent; the window places the bar.
    TextCommandsPart(QPlainTextEdit* memo, QComboBox* sizeBox, QWidget* toolBarParent,
                     TemplateSession& session, Prompts& prompts, QObject* parent = nullptr);

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;  // bold
    QToolButton* ToolButton2 = nullptr;  // italic
    QToolButton* ToolButton3 = nullptr;  // underline
    QToolButton* ToolButton4 = nullptr;  // bullet item
    QToolButton* ToolButton5 = nullptr;  // hyperlink
    QToolButton* BackToolButton = nullptr;

    void ToolButton1Click() { WrapSelection(kBoldTags); }
    void ToolButton2Click() { WrapSelection(kItalicTags); }
    void ToolButton3Click() { WrapSelection(kUnderlineTags); }
    void ToolButton4Click() { WrapSelection(kBulletTags); }
    void ToolButton5Click();
    // An item chosen from the size box.
    void ComboBox1Change(int index);
    // Any change of the editor text.
    void Memo1Change();
    void BackToolButtonClick();
    // Puts the editor's selection between the tags, or tells the user to select first.
    void WrapSelection(const TagPair& tags);
    // Forgets the history and removes the snapshot files an earlier version left behind.
    void ResetUndoHistory();

    UndoHistory& history() { return history_; }
    // What the hyperlink dialog shows: the address typed into it last time, also when it was cancelled.
    QString linkAddress;
    // Runs the commands of the keys behind the application's error report; the window sets it.
    std::function<void(const std::function<void()>&)> runCommand;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // True when the key was handled here and the editor must not see it.
    bool Memo1KeyDown(const QKeyEvent* event);
    void enterKey();
    EditorState editorState() const;
    void putEditorState(const EditorState& state);
    // Replaces the editor text in one change; false when it was the same text already.
    bool replaceEditorText(const QString& text);
    void showContextMenu(const QPoint& position);
    void showHistoryState();
    void run(const std::function<void()>& command);

    QPlainTextEdit* memo_;
    QComboBox* sizeBox_;
    TemplateSession& session_;
    Prompts& prompts_;
    UndoHistory history_;
    // Where the editor said the text changed since the last change handled; only a single report is
    // taken, more than one means that something changed unnoticed in between.
    std::optional<TextChange> reportedChange_;
    int changeReports_ = 0;
};

// The editor text as the commands see it: lines separated by "\n".
QString editorText(const QPlainTextEdit* memo);

}  // namespace zw

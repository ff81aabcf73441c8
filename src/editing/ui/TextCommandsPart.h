#pragma once

#include <QObject>

#include <functional>
#include <optional>

#include "editing/FormattedText.h"
#include "editing/TextCommands.h"
#include "editing/UndoHistory.h"

class QComboBox;
class QKeyEvent;
class QPlainTextEdit;
class QToolBar;
class QToolButton;

namespace zw {

class FormattedNewsEdit;
class NewsViewsPart;
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

    void ToolButton1Click() { inlineCommand(kBoldTags, InlineFormat::Bold); }
    void ToolButton2Click() { inlineCommand(kItalicTags, InlineFormat::Italic); }
    void ToolButton3Click() { inlineCommand(kUnderlineTags, InlineFormat::Underline); }
    void ToolButton4Click();
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
    // The formatted view beside Memo1: while views shows it, the commands work on it, as a word
    // processor's do, and the undo button undoes there.
    void attachFormattedView(FormattedNewsEdit* formatted, NewsViewsPart* views);
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
    bool formattedActive() const;
    void inlineCommand(const TagPair& tags, InlineFormat format);
    void formattedLink();
    // The keys both views share: Ctrl+B/I/U, Ctrl+K (link), Ctrl+Shift+L (list).
    bool shortcutKey(const QKeyEvent* event);
    void showContextMenu(const QPoint& position);
    void showHistoryState();
    void run(const std::function<void()>& command);

    QPlainTextEdit* memo_;
    FormattedNewsEdit* formatted_ = nullptr;
    NewsViewsPart* views_ = nullptr;
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
// Replaces the editor text in one change, only where it differs, so the view stays where it was; false
// when it was the same text already.
bool replaceEditorText(QPlainTextEdit* memo, const QString& text);

}  // namespace zw

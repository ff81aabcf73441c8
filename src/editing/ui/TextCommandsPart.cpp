#include "editing/ui/TextCommandsPart.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/NewsViewsPart.h"
#include "editing/ui/ToolIcons.h"
#include "platform/FileIo.h"
#include "platform/Prompts.h"
#include "platform/Text.h"
#include "render/TextConversion.h"
#include "template/Session.h"

namespace zw {

namespace {

constexpr const char* kSnapshotPattern = "*.bkg";
const QString kBulletHint = QStringLiteral(
    "Aufzählung. Bitte markieren Sie jede Zeile einzeln, die einen Aufzählungspunkt erhalten soll!");
const QString kUndoHint = QStringLiteral("Rückgänig [Strg +Z]");

}  // namespace

QString editorText(const QPlainTextEdit* memo) {
    // The raw text keeps no-break spaces, which the plain text would turn into blanks.
    QString text = memo->document()->toRawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator)
            c = u'\n';
    }
    return text;
}

TextCommandsPart::TextCommandsPart(QPlainTextEdit* memo, QComboBox* sizeBox, QWidget* toolBarParent,
                                   TemplateSession& session, Prompts& prompts, QObject* parent)
    : QObject(parent), memo_(memo), sizeBox_(sizeBox), session_(session), prompts_(prompts) {
    ToolBar1 = new QToolBar(toolBarParent);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setAccessibleName(QStringLiteral("Textformat"));
    ToolBar1->setIconSize(QSize(16, 16));
    const struct {
        QToolButton** button;
        const char* name;
        ToolIcon icon;
        QString accessibleName;
        QString hint;
    } buttons[] = {
        {&ToolButton1, "ToolButton1", ToolIcon::Bold, QStringLiteral("Fett"),
         QStringLiteral("Fett (Strg+B)")},
        {&ToolButton2, "ToolButton2", ToolIcon::Italic, QStringLiteral("Kursiv"),
         QStringLiteral("Kursiv (Strg+I)")},
        {&ToolButton3, "ToolButton3", ToolIcon::Underline, QStringLiteral("Unterstrichen"),
         QStringLiteral("Unterstrichen (Strg+U)")},
        {&ToolButton4, "ToolButton4", ToolIcon::Bullet, QStringLiteral("Aufzählung"),
         kBulletHint + QStringLiteral(" (Strg+Umschalt+L)")},
        {&ToolButton5, "ToolButton5", ToolIcon::Link, QStringLiteral("Hyperlink einfügen"),
         QStringLiteral("Hyperlink einfügen (Strg+K)")},
        {&BackToolButton, "BackToolButton", ToolIcon::Undo, QStringLiteral("Rückgängig"), kUndoHint},
    };
    for (const auto& b : buttons) {
        auto* button = new QToolButton(ToolBar1);
        button->setObjectName(QLatin1String(b.name));
        button->setIcon(toolIcon(b.icon));
        button->setToolTip(b.hint);
        button->setAccessibleName(b.accessibleName);
        button->setAutoRaise(true);
        // A click leaves the editor the active control, with its selection; the keyboard reaches it by Tab.
        button->setFocusPolicy(Qt::TabFocus);
        ToolBar1->addWidget(button);
        *b.button = button;
    }
    sizeBox_->setEnabled(true);

    // No undo of the editor's own: its stack, its menu entries and its keys are off.
    memo_->setUndoRedoEnabled(false);
    memo_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memo_, &QPlainTextEdit::customContextMenuRequested, this, &TextCommandsPart::showContextMenu);
    memo_->installEventFilter(this);
    connect(memo_->document(), &QTextDocument::contentsChange, this, [this](int at, int removed, int added) {
        ++changeReports_;
        reportedChange_ = TextChange{at, removed, added};
    });
    showHistoryState();
}

void TextCommandsPart::attachFormattedView(FormattedNewsEdit* formatted, NewsViewsPart* views) {
    formatted_ = formatted;
    views_ = views;
    formatted_->installEventFilter(this);
    formatted_->completeLink = [this](const QString& address) {
        return fromStored(NormalizeLink(toStored(address), prompts_));
    };
    connect(formatted_->document(), &QTextDocument::undoAvailable, this, &TextCommandsPart::showHistoryState);
    connect(views_, &NewsViewsPart::viewChanged, this, &TextCommandsPart::showHistoryState);
    showHistoryState();
}

bool TextCommandsPart::formattedActive() const {
    return views_ && views_->formattedShown();
}

void TextCommandsPart::inlineCommand(const TagPair& tags, InlineFormat format) {
    if (formattedActive())
        formatted_->toggleInline(format);
    else
        WrapSelection(tags);
}

void TextCommandsPart::ToolButton4Click() {
    if (formattedActive())
        formatted_->toggleList();
    else
        WrapSelection(kBulletTags);
}

void TextCommandsPart::formattedLink() {
    // In a link the dialog edits that link; otherwise it links the selection or inserts the address.
    const QString current = formatted_->selectLinkAtCursor();
    const Prompts::LinkAnswer answer = prompts_.askHyperlink(current.isEmpty() ? linkAddress : current);
    linkAddress = answer.address;
    if (!answer.ok || isBlankAddress(answer.address))
        return;
    const QString completed = fromStored(NormalizeLink(toStored(answer.address), prompts_));
    formatted_->applyLink(completed, answer.address);
}

void TextCommandsPart::run(const std::function<void()>& command) {
    if (runCommand)
        runCommand(command);
    else
        command();
}

EditorState TextCommandsPart::editorState() const {
    const QTextCursor cursor = memo_->textCursor();
    return {editorText(memo_), {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()}};
}

bool replaceEditorText(QPlainTextEdit* memo, const QString& text) {
    // Only the part that differs is replaced; it is one change all the same, as a replacement of the
    // whole text would be.
    TextChange d = textDifference(editorText(memo), text);
    if (d.removed == 0 && d.added == 0)
        return false;
    // Never between the two halves of a character outside the basic plane.
    if (d.at > 0 && text[d.at - 1].isHighSurrogate()) {
        --d.at;
        ++d.removed;
        ++d.added;
    }
    if (d.at + d.added < text.size() && text[d.at + d.added].isLowSurrogate()) {
        ++d.removed;
        ++d.added;
    }
    QTextCursor cursor(memo->document());
    cursor.setPosition(int(d.at));
    cursor.setPosition(int(d.at + d.removed), QTextCursor::KeepAnchor);
    cursor.beginEditBlock();
    cursor.insertText(text.mid(d.at, d.added));
    cursor.endEditBlock();
    return true;
}

void TextCommandsPart::putEditorState(const EditorState& state) {
    replaceEditorText(memo_, state.text);
    QTextCursor cursor = memo_->textCursor();
    cursor.setPosition(int(state.selection.start));
    cursor.setPosition(int(state.selection.start + state.selection.length), QTextCursor::KeepAnchor);
    memo_->setTextCursor(cursor);
}

void TextCommandsPart::WrapSelection(const TagPair& tags) {
    const EditorState state = editorState();
    if (memo_->window()->focusWidget() != memo_ || state.selection.length == 0) {
        prompts_.information(kSelectTextFirst);
        return;
    }
    putEditorState(zw::WrapSelection(state, tags));
}

void TextCommandsPart::ComboBox1Change(int index) {
    const QString item = sizeBox_->itemText(index);
    if (isFontSizeCaption(item))
        return;
    const auto backToCaption = qScopeGuard([this] { sizeBox_->setCurrentIndex(0); });
    if (formattedActive()) {
        formatted_->applyFontSize(item);
        return;
    }
    memo_->setFocus();
    WrapSelection(fontSizeTags(item));
}

void TextCommandsPart::ToolButton5Click() {
    if (formattedActive()) {
        formattedLink();
        return;
    }
    const Prompts::LinkAnswer answer = prompts_.askHyperlink(linkAddress);
    linkAddress = answer.address;
    if (!answer.ok || isBlankAddress(answer.address))
        return;
    memo_->setFocus();
    const QByteArray completed = NormalizeLink(toStored(answer.address), prompts_);
    WrapSelection(linkTags(fromStored(completed)));
}

void TextCommandsPart::enterKey() {
    putEditorState(BreakLine(editorState()));
    // The line break itself, as the editor would type it: "\n" whatever the modifiers, a change of its own.
    QTextCursor cursor = memo_->textCursor();
    cursor.insertText(QStringLiteral("\n"));
    memo_->setTextCursor(cursor);
    memo_->ensureCursorVisible();
}

void TextCommandsPart::Memo1Change() {
    session_.Saved = false;
    const std::optional<TextChange> where = changeReports_ == 1 ? reportedChange_ : std::nullopt;
    changeReports_ = 0;
    reportedChange_.reset();
    history_.change(editorText(memo_), where);
    showHistoryState();
}

void TextCommandsPart::BackToolButtonClick() {
    if (formattedActive()) {
        formatted_->undo();
        formatted_->setFocus();
        return;
    }
    const std::optional<QString> text = history_.stepBack();
    showHistoryState();
    if (!text)
        return;
    // A restore is one change even when it finds the text as it was, so the next keystroke is recorded.
    if (!replaceEditorText(memo_, *text))
        Memo1Change();
    memo_->ensureCursorVisible();
}

void TextCommandsPart::ResetUndoHistory() {
    history_.reset();
    removeFiles(session_.folders.program, QLatin1String(kSnapshotPattern));
    showHistoryState();
    ToolBar1->repaint();
}

void TextCommandsPart::showHistoryState() {
    BackToolButton->setEnabled(formattedActive() ? formatted_->document()->isUndoAvailable()
                                                 : history_.backEnabled);
}

bool TextCommandsPart::Memo1KeyDown(const QKeyEvent* event) {
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        run([this] { enterKey(); });
        return true;
    }
    // Ctrl+Z with neither Shift nor Alt; other keys held beside them do not matter.
    if (key == Qt::Key_Z && (modifiers & Qt::ControlModifier) &&
        !(modifiers & (Qt::ShiftModifier | Qt::AltModifier))) {
        if (history_.UndoCounter >= 1)
            run([this] { BackToolButtonClick(); });
        return true;
    }
    // The editor's own undo and redo keys do nothing, nor do the near misses of Ctrl+Z.
    if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo) ||
        (key == Qt::Key_Z && (modifiers & (Qt::ControlModifier | Qt::AltModifier))) ||
        (key == Qt::Key_Y && modifiers == Qt::ControlModifier))
        return true;
    return shortcutKey(event);
}

bool TextCommandsPart::shortcutKey(const QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const struct {
        Qt::KeyboardModifiers modifiers;
        int key;
        void (TextCommandsPart::*handler)();
    } shortcuts[] = {
        {Qt::ControlModifier, Qt::Key_B, &TextCommandsPart::ToolButton1Click},
        {Qt::ControlModifier, Qt::Key_I, &TextCommandsPart::ToolButton2Click},
        {Qt::ControlModifier, Qt::Key_U, &TextCommandsPart::ToolButton3Click},
        {Qt::ControlModifier, Qt::Key_K, &TextCommandsPart::ToolButton5Click},
        {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_L, &TextCommandsPart::ToolButton4Click},
    };
    for (const auto& shortcut : shortcuts) {
        if (event->key() == shortcut.key && modifiers == shortcut.modifiers) {
            run([this, handler = shortcut.handler] { (this->*handler)(); });
            return true;
        }
    }
    return false;
}

bool TextCommandsPart::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        if (watched == memo_)
            return Memo1KeyDown(static_cast<QKeyEvent*>(event));
        // The formatted view keeps its own Enter, undo and redo.
        if (watched == formatted_ && formatted_)
            return shortcutKey(static_cast<QKeyEvent*>(event));
    }
    return QObject::eventFilter(watched, event);
}

void TextCommandsPart::showContextMenu(const QPoint& position) {
    QMenu* menu = memo_->createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        if (name == u"edit-undo" || name == u"edit-redo")
            menu->removeAction(action);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(memo_->viewport()->mapToGlobal(position));
}

}  // namespace zw

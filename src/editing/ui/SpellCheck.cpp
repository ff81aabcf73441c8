#include "editing/ui/SpellCheck.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPointer>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextEdit>

#include "editing/SpellChecker.h"
#include "platform/Error.h"

namespace zw {

namespace {

constexpr char kSpelling[] = "zwSpelling";
const QColor kSpellRed(0xD0, 0x10, 0x10);

// Underlines the misspelt words of a document; QSyntaxHighlighter hands it only the paragraphs that
// changed. Its checks of the whole document (the first one, queued when it is attached to a text, and
// those after a word was added or ignored) run in an edit block, which tells the document's watchers
// that the text changed: the news text would count as edited and take a step of its undo history. The
// document is kept quiet meanwhile; its layout hears of the new underlines all the same.
class SpellHighlighter : public QSyntaxHighlighter {
public:
    SpellHighlighter(QTextDocument* document, SpellChecker& checker, bool skipTags)
        : QSyntaxHighlighter(document), checker_(checker), skipTags_(skipTags) {
        wrong_.setUnderlineStyle(QTextCharFormat::WaveUnderline);  // wavy in every style, as word processors draw it
        wrong_.setUnderlineColor(kSpellRed);
    }

    void recheck() {
        const QSignalBlocker quiet(document());
        rehighlight();
    }

protected:
    bool event(QEvent* e) override {
        if (e->type() != QEvent::MetaCall)  // the queued first check
            return QSyntaxHighlighter::event(e);
        const QSignalBlocker quiet(document());
        return QSyntaxHighlighter::event(e);
    }

    void highlightBlock(const QString& text) override {
        for (const SpellChecker::Range& r : checker_.misspelt(text, skipTags_))
            setFormat(r.start, r.length, wrong_);
    }

private:
    SpellChecker& checker_;
    bool skipTags_;
    QTextCharFormat wrong_;
};

// The same underline over a one-line field, which has no formats of its own. Where a character stands
// is asked of the field itself (cursorPositionAt), so its scrolling and margins need no guessing.
class LineUnderline : public QWidget {
public:
    LineUnderline(QLineEdit* field, SpellChecker& checker) : QWidget(field), field_(field), checker_(checker) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        connect(field, &QLineEdit::textChanged, this, qOverload<>(&QWidget::update));
        connect(field, &QLineEdit::cursorPositionChanged, this, qOverload<>(&QWidget::update));
        field->installEventFilter(this);
        setGeometry(field->rect());
        raise();
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize)
            setGeometry(field_->rect());
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        if (field_->echoMode() != QLineEdit::Normal)
            return;
        const QList<SpellChecker::Range> wrong = checker_.misspelt(field_->text());
        if (wrong.isEmpty())
            return;
        const QFontMetrics metrics(field_->font());
        const int y = (height() - metrics.height()) / 2 + metrics.ascent() + 2;  // just below the baseline
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(kSpellRed, 1));
        painter.setClipRect(field_->contentsRect().adjusted(2, 0, -2, 0));
        for (const SpellChecker::Range& r : wrong) {
            const int from = edge(r.start), to = edge(r.start + r.length);
            if (to - from < 2)
                continue;
            QPainterPath wave(QPointF(from, y));
            for (int x = from + 2, up = 1; x <= to; x += 2, up = -up) wave.lineTo(x, y - up);
            painter.drawPath(wave);
        }
    }

private:
    // The smallest x at which the field puts the cursor at `position` or after it.
    int switchAt(int position) const {
        int low = 0, high = width();
        const int y = height() / 2;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (field_->cursorPositionAt(QPoint(mid, y)) >= position)
                high = mid;
            else
                low = mid + 1;
        }
        return low;
    }
    // The left edge of the character at position: the field moves the cursor to a position from the
    // middle of the character before it on, so the edge lies half way between two such points.
    int edge(int position) const {
        if (position >= field_->text().size())
            return position == 0 ? 0 : 2 * switchAt(position) - switchAt(position - 1);
        return (switchAt(position) + switchAt(position + 1)) / 2;
    }

    QLineEdit* field_;
    SpellChecker& checker_;
};

struct Spelling {
    SpellChecker* checker = nullptr;
    bool skipTags = false;
};

QList<QPointer<QWidget>>& checkedFields() {
    static QList<QPointer<QWidget>> fields;
    return fields;
}

// After a word was added or ignored, every checked field shows it as correct at once.
void recheckAll() {
    for (const QPointer<QWidget>& field : checkedFields()) {
        if (!field)
            continue;
        for (auto* h : field->findChildren<QSyntaxHighlighter*>())  // a child of the field's document
            if (auto* ours = dynamic_cast<SpellHighlighter*>(h))
                ours->recheck();
        for (auto* w : field->findChildren<LineUnderline*>(QString(), Qt::FindDirectChildrenOnly)) w->update();
    }
}

// Context menus: a text edit gets its event on the viewport, a line edit itself.
class SpellMenuFilter : public QObject {
public:
    SpellMenuFilter(QWidget* editor, QObject* parent) : QObject(parent), editor_(editor) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::ContextMenu)
            return false;
        auto* event = static_cast<QContextMenuEvent*>(e);
        QMenu* menu = createSpellingMenu(editor_, event->pos());
        if (!menu)
            return false;
        menu->exec(event->globalPos());
        delete menu;
        return true;
    }

private:
    QWidget* editor_;
};

struct WordAt {
    QString word;
    int start = 0;  // in the line edit's text, or in the document
    int length = 0;
};

}  // namespace

void attachSpellChecking(QWidget* editor, SpellChecker& checker, bool skipTags) {
    editor->setProperty(kSpelling, QVariant::fromValue(reinterpret_cast<quintptr>(&checker)));
    editor->setProperty("zwSpellingSkipsTags", skipTags);
    checkedFields().removeAll(nullptr);
    checkedFields().append(editor);
    QWidget* menuTarget = editor;
    if (auto* text = qobject_cast<QTextEdit*>(editor)) {
        new SpellHighlighter(text->document(), checker, skipTags);
        menuTarget = text->viewport();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor)) {
        new SpellHighlighter(plain->document(), checker, skipTags);
        menuTarget = plain->viewport();
    } else if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        new LineUnderline(line, checker);
    }
    menuTarget->installEventFilter(new SpellMenuFilter(editor, editor));
}

QMenu* createSpellingMenu(QWidget* editor, QPoint pos) {
    auto* checker = reinterpret_cast<SpellChecker*>(editor->property(kSpelling).value<quintptr>());
    if (!checker)
        return nullptr;
    const bool skipTags = editor->property("zwSpellingSkipsTags").toBool();
    auto* line = qobject_cast<QLineEdit*>(editor);
    QTextDocument* document = nullptr;
    QTextCursor cursor;
    if (auto* text = qobject_cast<QTextEdit*>(editor))
        document = text->document(), cursor = text->cursorForPosition(pos);
    else if (auto* plain = qobject_cast<QPlainTextEdit*>(editor))
        document = plain->document(), cursor = plain->cursorForPosition(pos);
    const QString paragraph = line ? line->text() : cursor.block().text();
    const int at = line ? line->cursorPositionAt(pos) : cursor.positionInBlock();
    const int offset = line ? 0 : cursor.block().position();
    WordAt word;
    for (const SpellChecker::Range& r : checker->misspelt(paragraph, skipTags))
        if (at >= r.start && at <= r.start + r.length)
            word = {paragraph.mid(r.start, r.length), offset + r.start, r.length};
    if (word.word.isEmpty())
        return nullptr;

    QMenu* menu = nullptr;
    if (line)
        menu = line->createStandardContextMenu();
    else if (auto* text = qobject_cast<QTextEdit*>(editor))
        menu = text->createStandardContextMenu(pos);
    else
        menu = static_cast<QPlainTextEdit*>(editor)->createStandardContextMenu(pos);
    // An editor whose history is kept elsewhere (the news text's) offers no undo of its document.
    if (document && !document->isUndoRedoEnabled())
        for (QAction* action : menu->actions())
            if (action->objectName() == u"edit-undo" || action->objectName() == u"edit-redo")
                menu->removeAction(action);
    QAction* first = menu->actions().value(0);
    QList<QAction*> ours;
    const QPointer<QWidget> target(editor);
    const QStringList suggestions = checker->suggest(word.word, 5);
    for (const QString& suggestion : suggestions) {
        auto* replace = new QAction(suggestion, menu);
        QObject::connect(replace, &QAction::triggered, editor, [target, line, document, word, suggestion] {
            if (!target)
                return;
            if (line) {
                line->setSelection(word.start, word.length);
                line->insert(suggestion);
                return;
            }
            QTextCursor c(document);
            c.setPosition(word.start);
            c.setPosition(word.start + word.length, QTextCursor::KeepAnchor);
            c.insertText(suggestion);
        });
        ours << replace;
    }
    if (suggestions.isEmpty()) {
        auto* none = new QAction(QStringLiteral("(keine Vorschläge)"), menu);
        none->setEnabled(false);
        ours << none;
    }
    auto* add = new QAction(QStringLiteral("Zum Wörterbuch hinzufügen"), menu);
    QObject::connect(add, &QAction::triggered, editor, [checker, word, target] {
        try {
            checker->addToUserWords(word.word);
        } catch (const Error& e) {
            QMessageBox::warning(target ? target->window() : nullptr, QStringLiteral("Wörterbuch"), e.message());
        }
        recheckAll();
    });
    auto* ignore = new QAction(QStringLiteral("Ignorieren"), menu);
    QObject::connect(ignore, &QAction::triggered, editor, [checker, word] {
        checker->ignore(word.word);
        recheckAll();
    });
    ours << add << ignore;
    menu->insertActions(first, ours);
    menu->insertSeparator(first);
    return menu;
}

}  // namespace zw

#include "editing/ui/FormattedNewsEdit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QToolTip>

namespace zw {

namespace {

// A personal field ("{Vorname}", "{Vorname|liebe Mitglieder}"); "{{" and "}}" are typed braces.
const QRegularExpression kField(QStringLiteral(R"(\{\{|\}\}|\{[^{}|]+(?:\|[^{}]*)?\})"));

}  // namespace

FormattedNewsEdit::FormattedNewsEdit(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(true);
    // A tab has no place in a news text: Tab goes on to the next field.
    setTabChangesFocus(true);
    connect(this, &QTextEdit::textChanged, this, &FormattedNewsEdit::markFields);
    connect(this, &QTextEdit::cursorPositionChanged, this, &FormattedNewsEdit::leaveLinkEnd);
}

bool FormattedNewsEdit::load(const QString& storedText) {
    look_.baseSize = font().pointSizeF() > 0 ? font().pointSizeF() : look_.baseSize;
    // The marks' cursors go before the document is emptied: clearing it puts back the cursors it knew,
    // and a mark replaced while it clears would come back as a dangling one.
    loading_ = true;
    setExtraSelections({});
    const bool ok = readFormattedText(storedText, *document(), look_);
    loading_ = false;
    markFields();
    return ok;
}

void FormattedNewsEdit::markFields() {
    if (loading_)
        return;
    QList<ExtraSelection> marks;
    const QColor tint = QColor(0xFF, 0xE8, 0x9C);
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (!text.contains(u'{'))
            continue;
        for (auto it = kField.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.capturedLength() == 2)
                continue;
            ExtraSelection mark;
            mark.cursor = QTextCursor(document());
            mark.cursor.setPosition(block.position() + int(m.capturedStart()));
            mark.cursor.setPosition(block.position() + int(m.capturedEnd()), QTextCursor::KeepAnchor);
            mark.format.setBackground(tint);
            mark.format.setToolTip(QStringLiteral("Persönliches Feld: wird für jeden Empfänger ersetzt"));
            marks << mark;
        }
    }
    setExtraSelections(marks);
}

void FormattedNewsEdit::leaveLinkEnd() {
    // Typing at the end of a link writes plain text, as in a word processor; inside it extends the link.
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return;
    QTextCharFormat before = cursor.charFormat();
    if (!before.isAnchor())
        return;
    QTextCursor after(cursor);
    const bool inside = !cursor.atBlockEnd() && !cursor.atBlockStart() &&
                        after.movePosition(QTextCursor::NextCharacter) &&
                        after.charFormat().anchorHref() == before.anchorHref();
    if (inside)
        return;
    setLinkFormat(before, QString(), look_);
    setCurrentCharFormat(before);
}

bool FormattedNewsEdit::selectionHas(const std::function<bool(const QTextCharFormat&)>& test) const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return test(currentCharFormat());
    const int start = cursor.selectionStart();
    const int end = cursor.selectionEnd();
    for (QTextBlock block = document()->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() < end && f.position() + f.length() > start && !test(f.charFormat()))
                return false;
        }
    }
    return true;
}

void FormattedNewsEdit::changeFormat(const std::function<void(QTextCharFormat&)>& change) {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        changeSelectedFormat(cursor, change);
    } else {
        QTextCharFormat f = currentCharFormat();
        change(f);
        setCurrentCharFormat(f);
    }
    setFocus();
}

void FormattedNewsEdit::toggleInline(InlineFormat kind) {
    const bool on = !selectionHas([kind](const QTextCharFormat& f) { return hasInlineFormat(f, kind); });
    changeFormat([kind, on](QTextCharFormat& f) { setInlineFormat(f, kind, on); });
}

void FormattedNewsEdit::applyFontSize(const QString& value) {
    const bool same = selectionHas(
        [&value](const QTextCharFormat& f) { return f.property(formatted::FontSize).toString() == value; });
    const QString size = same ? QString() : value;
    changeFormat([this, &size](QTextCharFormat& f) { setFontSizeFormat(f, size, look_); });
}

void FormattedNewsEdit::toggleList() {
    QTextCursor cursor = textCursor();
    toggleListItems(cursor);
    setFocus();
}

QString FormattedNewsEdit::selectLinkAtCursor() {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return {};
    // The characters' own formats: the caret's format for typing may already have left the link.
    const auto hrefOf = [this](int position) {
        const QTextBlock block = document()->findBlock(position);
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (f.contains(position))
                return f.charFormat().anchorHref();
        }
        return QString();
    };
    QString href = cursor.atBlockStart() ? QString() : hrefOf(cursor.position() - 1);
    if (href.isEmpty() && !cursor.atBlockEnd())
        href = hrefOf(cursor.position());
    if (href.isEmpty())
        return {};
    // The whole run of characters with that address, within the paragraph.
    const QTextBlock block = cursor.block();
    int from = cursor.position();
    int to = cursor.position();
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().anchorHref() != href)
            continue;
        const int fStart = f.position();
        const int fEnd = f.position() + f.length();
        if (fEnd >= from && fStart <= to) {
            from = std::min(from, fStart);
            to = std::max(to, fEnd);
        }
    }
    // A second pass joins runs that touch the widened range (a link split by a bold word).
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.charFormat().anchorHref() == href && f.position() + f.length() >= from && f.position() <= to) {
            from = std::min(from, f.position());
            to = std::max(to, f.position() + f.length());
        }
    }
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    return linkTarget(href);
}

void FormattedNewsEdit::applyLink(const QString& href, const QString& text) {
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        changeSelectedFormat(cursor, [this, &href](QTextCharFormat& f) { setLinkFormat(f, href, look_); });
    } else {
        QTextCharFormat f = currentCharFormat();
        setLinkFormat(f, href, look_);
        cursor.insertText(text, f);
        setTextCursor(cursor);
    }
    setFocus();
}

void FormattedNewsEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QTextCursor cursor = textCursor();
        const bool item = cursor.block().textList() != nullptr;
        if (item && !(event->modifiers() & Qt::ShiftModifier)) {
            // Enter on an empty item ends the list; elsewhere in a list it starts the next item.
            if (cursor.block().text().isEmpty())
                toggleListItems(cursor);
            else
                cursor.insertBlock();
            setTextCursor(cursor);
        } else {
            // A line break, written as <br>: the stored text knows no paragraphs outside a list.
            cursor.insertText(QString(QChar::LineSeparator));
            setTextCursor(cursor);
        }
        ensureCursorVisible();
        return;
    }
    // The caret may stand at a link's end without having moved there (after the link was made).
    if (!event->text().isEmpty())
        leaveLinkEnd();
    QTextEdit::keyPressEvent(event);
}

bool FormattedNewsEdit::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPoint at = viewport()->mapFromGlobal(help->globalPos());
        const QString href = anchorAt(at);
        if (!href.isEmpty()) {
            QToolTip::showText(help->globalPos(), linkTarget(href), this);
            return true;
        }
        QToolTip::hideText();
    }
    return QTextEdit::event(event);
}

bool FormattedNewsEdit::canInsertFromMimeData(const QMimeData* source) const {
    return source && (source->hasHtml() || source->hasText());
}

void FormattedNewsEdit::insertFromMimeData(const QMimeData* source) {
    if (!source)
        return;
    QTextCursor cursor = textCursor();
    if (source->hasHtml()) {
        const QTextDocumentFragment pasted = QTextDocumentFragment::fromHtml(source->html());
        cursor.insertFragment(cleanPastedFragment(pasted, look_, completeLink));
    } else if (source->hasText()) {
        QString text = source->text();
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(u'\r', u'\n');
        text.replace(u'\n', QChar::LineSeparator);
        cursor.insertText(text);
    }
    setTextCursor(cursor);
    ensureCursorVisible();
}

QMimeData* FormattedNewsEdit::createMimeDataFromSelection() const {
    QMimeData* data = QTextEdit::createMimeDataFromSelection();
    // Our own links carry their stored form; a paste completes the address again, so give it the plain one.
    QTextDocument copy;
    QTextCursor all(&copy);
    all.insertFragment(textCursor().selection());
    all.select(QTextCursor::Document);
    changeSelectedFormat(all, [](QTextCharFormat& f) {
        if (f.isAnchor())
            f.setAnchorHref(linkTarget(f.anchorHref()));
    });
    data->setHtml(copy.toHtml());
    return data;
}

}  // namespace zw

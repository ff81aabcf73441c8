#pragma once

#include <QPoint>

class QMenu;
class QWidget;

namespace zw {

class SpellChecker;

// Spell checking as one types, for any text field that takes prose: a QTextEdit or a QPlainTextEdit
// gets a wavy red underline under each misspelt word (only the paragraph that changed is checked
// again), a QLineEdit the same underline drawn over its text. The context menu of a misspelt word
// offers up to five corrections, "Zum Wörterbuch hinzufügen" and "Ignorieren" above the usual
// commands. skipTags: the field holds markup, whose tags are not text. The checker must outlive the
// field; without a dictionary nothing is underlined.
void attachSpellChecking(QWidget* editor, SpellChecker& checker, bool skipTags = false);

// The context menu for the point pos of an editor that spell checking was attached to (in the
// coordinates that its context menu event has): the spelling commands for the misspelt word there
// above the editor's own commands; nullptr when there is no misspelt word. The caller owns the menu.
QMenu* createSpellingMenu(QWidget* editor, QPoint pos);

}  // namespace zw

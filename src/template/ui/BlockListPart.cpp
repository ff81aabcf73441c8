#include "template/ui/BlockListPart.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextBlock>

#include "platform/Error.h"
#include "platform/Prompts.h"
#include "platform/Text.h"
#include "template/BlockCycle.h"
#include "template/NldFormat.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/PicturePane.h"
#include "template/ui/SettingsView.h"
#include "template/ui/WaitCursor.h"

namespace zw {

namespace {
const QString kNoBlockToEdit = QStringLiteral("Bitte zuerst einen Block zum bearbeiten auswählen!");
const QString kNoBlockToDelete = QStringLiteral("Bitte zuerst einen Block zum löschen auswählen!");
const QString kNoBlockToMove = QStringLiteral("Bitte zuerst einen Block zum verschieben auswählen!");
const QString kTooManyBlocks = QStringLiteral(
    "Eine Vorlage kann höchstens %1 Meldungen enthalten. Bitte löschen Sie zuerst eine Meldung.");
}  // namespace

BlockListPart::BlockListPart(TemplateControls& controls, TemplateSession& session, Prompts& prompts,
                             Platform& platform, ColourReader readColour, QObject* parent)
    : QObject(parent),
      c_(controls),
      session_(session),
      prompts_(prompts),
      platform_(platform),
      readColour_(readColour),
      files_(session.folders.program) {}

QList<QByteArray> BlockListPart::editorLines() const {
    // Pasted text may span several lines; the block keeps its text as one line, run together.
    QByteArray body;
    for (QTextBlock block = c_.Memo1->document()->begin(); block.isValid(); block = block.next())
        body += toStored(oneLine(block.text()));
    return {fieldText(c_.HeadLineEdit), session_.EditorPicture, fieldText(c_.LinkTextEdit),
            fieldText(c_.URLEdit), body};
}

void BlockListPart::showItems(const QStringList& items, int selected) {
    c_.ListBox1->clear();
    c_.ListBox1->addItems(items);
    c_.ListBox1->selectRow(selected);
}

void BlockListPart::enableEditor(bool blockSelected) {
    c_.EditorPanel->setEnabled(blockSelected);
    if (c_.BlockPicturePanel)
        c_.BlockPicturePanel->setEnabled(blockSelected);
}

void BlockListPart::ListBox1Enter() {
    const int i = c_.ListBox1->selectedRow();
    WaitCursor wait;
    const RebuildResult result = writeBackAndRebuild(session_.CurrentTemplatePath, session_.folders.images,
                                                     files_, collectSettings(c_, session_), i, editorLines());
    putSettings(c_, session_, result.settings, platform_, readColour_);
    showItems(result.items, i);
}

void BlockListPart::ListBox1Click() {
    resetUndoHistory(true);
    c_.WebBrowser4->navigate(kAboutBlank);
    const int i = c_.ListBox1->selectedRow();
    enableEditor(i >= 0);
    if (i < 0) {
        prompts_.information(kNoBlockToEdit);
        return;
    }
    const QList<QByteArray> lines = files_.readForEditor(i + 1);
    setFieldText(c_.HeadLineEdit, lines[0]);
    session_.EditorPicture = lines[1];
    if (!lines[1].isEmpty())
        c_.WebBrowser4->navigate(picturePaneTarget(session_.folders, lines[1]));
    setFieldText(c_.LinkTextEdit, lines[2]);
    setFieldText(c_.URLEdit, lines[3]);
    c_.Memo1->setPlainText(fromStored(lines[4]));
}

void BlockListPart::emptyEditor() {
    c_.HeadLineEdit->clear();
    c_.LinkTextEdit->clear();
    session_.EditorPicture.clear();
    c_.URLEdit->clear();
    {
        // An empty editor for a new block is no edit of the text: the history starts at the first keystroke.
        const QSignalBlocker quiet(c_.Memo1);
        c_.Memo1->clear();
    }
    c_.WebBrowser4->navigate(kAboutBlank);
}

void BlockListPart::NewBitBtnClick() {
    if (c_.ListBox1->count() >= NewsletterTemplate::kMaxBlocks) {
        prompts_.information(kTooManyBlocks.arg(NewsletterTemplate::kMaxBlocks));
        return;
    }
    session_.Saved = false;
    resetUndoHistory(false);
    ListBox1Enter();
    emptyEditor();
    if (c_.ListBox1->selectedRow() >= 0)
        files_.write(c_.ListBox1->count() + 1, {});
    c_.ListBox1->addItem(kNewBlockItem);
    c_.ListBox1->selectRow(c_.ListBox1->count() - 1);
    enableEditor(true);
    if (c_.ListBox1->count() > 0)
        c_.EditorPanel->setVisible(true);
}

void BlockListPart::DeleteBitBtnClick() {
    session_.Saved = false;
    resetUndoHistory(false);
    const int i = c_.ListBox1->selectedRow();
    if (i < 0) {
        prompts_.information(kNoBlockToDelete);
        return;
    }
    delete c_.ListBox1->takeItem(i);
    files_.remove(i + 1);
    // The deleted block's fields stay on show, but belong to nothing until a block is selected.
    enableEditor(false);
    if (c_.ListBox1->count() == 0)
        c_.EditorPanel->setVisible(false);
    WaitCursor wait;
    const RebuildResult result = writeBackAndRebuild(session_.CurrentTemplatePath, session_.folders.images,
                                                     files_, collectSettings(c_, session_), -1, {});
    putSettings(c_, session_, result.settings, platform_, readColour_);
    showItems(result.items, -1);
}

void BlockListPart::moveSelectedBlock(int to) {
    const int i = c_.ListBox1->selectedRow();
    if (i < 0) {
        prompts_.information(kNoBlockToMove);
        return;
    }
    // At the top or the bottom there is nowhere to go: nothing changes.
    if (to < 0 || to >= c_.ListBox1->count() || to == i)
        return;
    session_.Saved = false;
    WaitCursor wait;
    const RebuildResult result =
        moveBlockAndRebuild(session_.CurrentTemplatePath, session_.folders.images, files_,
                            collectSettings(c_, session_), i, editorLines(), to);
    putSettings(c_, session_, result.settings, platform_, readColour_);
    // The editor keeps the moved block, whose fields were just stored: it stays selected, with its
    // undo history.
    showItems(result.items, to);
}

void BlockListPart::BitBtn5Click() {
    session_.Saved = false;
    session_.EditorPicture.clear();
    c_.WebBrowser4->navigate(kAboutBlank);
}

void BlockListPart::clearBlockFiles() {
    WaitCursor wait;
    files_.clear();
}

void BlockListPart::loadCurrentTemplate() {
    WaitCursor wait;
    c_.ListBox1->clear();
    RebuildResult result;
    try {
        result = loadTemplate(session_.CurrentTemplatePath, session_.folders.images, files_);
    } catch (const Error&) {
        // A template that cannot be read leaves the settings of an empty file in the window, not the
        // previous template's, before the error shows.
        TemplateSettings empty = readSettings(QByteArray());
        resolveSettingPictures(empty, session_.folders.images);
        putSettings(c_, session_, empty, platform_, readColour_);
        throw;
    }
    putSettings(c_, session_, result.settings, platform_, readColour_);
    showItems(result.items, 0);
    // The editor belongs to a block: with none, it would only show the previous template's fields.
    c_.EditorPanel->setVisible(!result.items.isEmpty());
    ListBox1Click();
}

}  // namespace zw

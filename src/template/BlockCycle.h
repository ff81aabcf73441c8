#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "template/BlockFiles.h"
#include "template/NewsletterTemplate.h"

namespace zw {

// The list item of block k (from 1): "Meldung" + k + ":  " + the headline without blanks and control
// characters at its ends.
QString blockListItem(int number, const QByteArray& headline);
// The item of a block that was added and not yet written back.
inline const QString kNewBlockItem = QStringLiteral("Neue  Meldung:");

// What a rebuild leaves for the window: the settings as read back and the items of the block list.
struct RebuildResult {
    TemplateSettings settings;
    QStringList items;
};

// Regenerates the block edit files from a template's bytes: clears them, writes one per block section
// (numbered by position) and returns the list items.
QStringList rebuildBlockFiles(const BlockFiles& files, const QByteArray& templateBytes);

// Refuses a template of more than 999 blocks with a German message before anything is read from it
// or written: the block edit file names hold three digits. bytes are the file's content.
void refuseTooManyBlocks(const QString& templatePath, const QByteArray& bytes);
// The same for a file on disk; a file that cannot be read passes (its load reports that).
void refuseTooManyBlocks(const QString& templatePath);

// Whether a template can be opened: readable (else the German file-open error) and of no more than
// 999 blocks.
void checkOpenable(const QString& templatePath);

// Reads the template at templatePath: its settings (pictures resolved against imagesFolder) and its
// blocks into the block edit files. A template that cannot be read raises the file-open error, one of
// more than 999 blocks is refused; either way nothing is touched (the caller decides what the window
// then shows).
RebuildResult loadTemplate(const QString& templatePath, const QString& imagesFolder, const BlockFiles& files);

// The write-back cycle behind the block list: stores the editor's five lines as block selected + 1
// (nothing when selected is -1), writes the template file, reads its settings back and rebuilds the
// block edit files. The template is read once, straight from what was written.
RebuildResult writeBackAndRebuild(const QString& templatePath, const QString& imagesFolder,
                                  const BlockFiles& files, const TemplateSettings& settings, int selected,
                                  const QList<QByteArray>& editorLines);

// Moves the block at position from to position to (both counted from 0, in block order) among the
// block edit files: the blocks between shift by one place, every other file stays as it is. A position
// outside the files moves nothing. Returns whether anything moved.
bool moveBlockFile(const BlockFiles& files, int from, int to);

// The write-back cycle with a move in it: stores the editor's lines as the block at selected, moves
// that block to position to, then writes the template in the new order and rebuilds, so that the file
// numbers follow the list again. One template write for the whole move.
RebuildResult moveBlockAndRebuild(const QString& templatePath, const QString& imagesFolder,
                                  const BlockFiles& files, const TemplateSettings& settings, int selected,
                                  const QList<QByteArray>& editorLines, int to);

}  // namespace zw

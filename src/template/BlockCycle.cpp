#include "template/BlockCycle.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "template/NldFormat.h"

namespace zw {

QString blockListItem(int number, const QByteArray& headline) {
    return QStringLiteral("Meldung%1:  ").arg(number) + fromStored(trimmed8(headline));
}

QStringList rebuildBlockFiles(const BlockFiles& files, const QByteArray& templateBytes) {
    files.clear();
    QStringList items;
    for (const BlockSection& section : readBlockSections(templateBytes)) {
        files.write(section.number, section.lines);
        items.append(blockListItem(section.number, section.lines.value(0)));
    }
    return items;
}

namespace {

// The block edit files on disk with their bytes, in block order, as the write-back cycle has just read
// them to write the template.
struct BlockFilesOnDisk {
    QStringList paths;
    QList<QByteArray> bytes;
};

BlockFilesOnDisk readBlockFilesOnDisk(const BlockFiles& files) {
    BlockFilesOnDisk onDisk;
    onDisk.paths = files.list();
    onDisk.bytes.reserve(onDisk.paths.size());
    for (const QString& path : onDisk.paths) onDisk.bytes.append(readFile(path));
    return onDisk;
}

// The rebuild after a write back. It leaves the same files as clearing them and writing every block
// afresh, but a block file that already holds exactly its block's bytes is left alone: after an edit
// that is all of them but one, and a template of 999 blocks then costs one file write, not 999 file
// creations at every focus change.
QStringList rebuildChangedBlockFiles(const BlockFiles& files, const QByteArray& templateBytes,
                                     const BlockFilesOnDisk& onDisk) {
    QHash<QString, qsizetype> indexOf;
    for (qsizetype i = 0; i < onDisk.paths.size(); ++i) indexOf.insert(onDisk.paths[i], i);
    QSet<QString> wanted;
    QStringList items;
    for (const BlockSection& section : readBlockSections(templateBytes)) {
        const QString path = files.path(section.number);
        wanted.insert(path);
        const qsizetype i = indexOf.value(path, -1);
        if (i < 0 || onDisk.bytes[i] != joinLines(section.lines))
            files.write(section.number, section.lines);
        items.append(blockListItem(section.number, section.lines.value(0)));
    }
    for (const QString& path : onDisk.paths) {
        if (!wanted.contains(path))
            QFile::remove(path);
    }
    return items;
}

RebuildResult readSettingsBack(const QByteArray& bytes, const QString& imagesFolder) {
    RebuildResult result;
    result.settings = readSettings(bytes);
    resolveSettingPictures(result.settings, imagesFolder);
    return result;
}

}  // namespace

void refuseTooManyBlocks(const QString& templatePath, const QByteArray& bytes) {
    if (countBlockHeaders(bytes) > NewsletterTemplate::kMaxBlocks)
        throw Error(QStringLiteral("Die Vorlage \"%1\" enthält mehr als %2 Meldungen und kann nicht geöffnet "
                                   "werden.")
                        .arg(QDir::toNativeSeparators(templatePath))
                        .arg(NewsletterTemplate::kMaxBlocks));
}

void refuseTooManyBlocks(const QString& templatePath) {
    QByteArray bytes;
    try {
        bytes = readFile(templatePath);
    } catch (const Error&) {
        return;
    }
    refuseTooManyBlocks(templatePath, bytes);
}

void checkOpenable(const QString& templatePath) {
    refuseTooManyBlocks(templatePath, readFile(templatePath));
}

RebuildResult loadTemplate(const QString& templatePath, const QString& imagesFolder,
                           const BlockFiles& files) {
    const QByteArray bytes = readFile(templatePath);
    refuseTooManyBlocks(templatePath, bytes);
    RebuildResult result = readSettingsBack(bytes, imagesFolder);
    result.items = rebuildBlockFiles(files, bytes);
    return result;
}

RebuildResult writeBackAndRebuild(const QString& templatePath, const QString& imagesFolder,
                                  const BlockFiles& files, const TemplateSettings& settings, int selected,
                                  const QList<QByteArray>& editorLines) {
    if (selected >= 0)
        files.write(selected + 1, editorLines);
    const BlockFilesOnDisk onDisk = readBlockFilesOnDisk(files);
    QList<QList<QByteArray>> blockLines;
    blockLines.reserve(onDisk.bytes.size());
    for (const QByteArray& bytes : onDisk.bytes) blockLines.append(splitLines(bytes));
    const QByteArray bytes = writeTemplate(settings, blockLines);
    writeFileAtomic(templatePath, bytes);
    RebuildResult result = readSettingsBack(bytes, imagesFolder);
    result.items = rebuildChangedBlockFiles(files, bytes, onDisk);
    return result;
}

bool moveBlockFile(const BlockFiles& files, int from, int to) {
    const QStringList paths = files.list();
    if (from == to || from < 0 || to < 0 || from >= paths.size() || to >= paths.size())
        return false;
    // Only the files from one position to the other change: each takes its neighbour's bytes, the
    // moved block's bytes go to the far end.
    const int first = qMin(from, to);
    const int last = qMax(from, to);
    QList<QByteArray> bytes;
    bytes.reserve(last - first + 1);
    for (int i = first; i <= last; ++i) bytes.append(readFile(paths[i]));
    if (from < to)
        bytes.append(bytes.takeFirst());
    else
        bytes.prepend(bytes.takeLast());
    for (int i = first; i <= last; ++i) writeWorkingFile(paths[i], bytes[i - first]);
    return true;
}

RebuildResult moveBlockAndRebuild(const QString& templatePath, const QString& imagesFolder,
                                  const BlockFiles& files, const TemplateSettings& settings, int selected,
                                  const QList<QByteArray>& editorLines, int to) {
    if (selected >= 0)
        files.write(selected + 1, editorLines);
    moveBlockFile(files, selected, to);
    return writeBackAndRebuild(templatePath, imagesFolder, files, settings, -1, {});
}

}  // namespace zw

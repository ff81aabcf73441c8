#include "template/BlockCycle.h"

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

QByteArray writeTemplateFile(const QString& templatePath, const TemplateSettings& settings, const BlockFiles& files) {
    const QByteArray bytes = writeTemplate(settings, files.readAllLines());
    writeFileAtomic(templatePath, bytes);
    return bytes;
}

namespace {

RebuildResult readBack(const QByteArray& bytes, const QString& imagesFolder, const BlockFiles& files) {
    RebuildResult result;
    result.settings = readSettings(bytes);
    resolveSettingPictures(result.settings, imagesFolder);
    result.items = rebuildBlockFiles(files, bytes);
    return result;
}

}  // namespace

RebuildResult loadTemplate(const QString& templatePath, const QString& imagesFolder, const BlockFiles& files) {
    return readBack(readFile(templatePath), imagesFolder, files);
}

RebuildResult writeBackAndRebuild(const QString& templatePath, const QString& imagesFolder, const BlockFiles& files,
                                  const TemplateSettings& settings, int selected, const QList<QByteArray>& editorLines) {
    if (selected >= 0) files.write(selected + 1, editorLines);
    return readBack(writeTemplateFile(templatePath, settings, files), imagesFolder, files);
}

}  // namespace zw

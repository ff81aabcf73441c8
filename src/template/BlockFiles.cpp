#include "template/BlockFiles.h"

#include <QDir>
#include <QFile>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "template/NldFormat.h"

namespace zw {

namespace {
const QString kPattern = QStringLiteral("*.edt");
}

BlockFiles::BlockFiles(QString folder) : folder_(std::move(folder)) {}

QString BlockFiles::fileName(int number) {
    return QStringLiteral("Temp%1.edt").arg(number, 3, 10, QLatin1Char('0'));
}

QString BlockFiles::path(int number) const {
    return QDir(folder_).filePath(fileName(number));
}

void BlockFiles::clear() const {
    removeFiles(folder_, kPattern);
}

QStringList BlockFiles::list() const {
    return listFiles(folder_, kPattern);
}

void BlockFiles::write(int number, const QList<QByteArray>& lines) const {
    // A field with a line break would become two lines of the file and push every later field of the
    // block one place on; the template writer could no longer tell them apart.
    QList<QByteArray> single;
    single.reserve(lines.size());
    for (const QByteArray& line : lines) single.append(singleLine(line));
    writeWorkingFile(path(number), joinLines(single));
}

void BlockFiles::remove(int number) const {
    QFile::remove(path(number));
}

QList<QByteArray> BlockFiles::readForEditor(int number) const {
    QList<QByteArray> lines = splitLines(readFile(path(number)));
    while (lines.size() < 5) lines.append(QByteArray());
    return lines;
}

NewsBlock BlockFiles::readForRendering(const QString& path) {
    const QList<QByteArray> lines = splitLines(readFile(path));
    if (lines.size() < 5)
        throw Error(QStringLiteral("Listenindex überschreitet das Maximum (%1)").arg(lines.size()));
    NewsBlock block = NewsBlock::fromLines(lines);
    block.Headline = trimmed8(block.Headline);
    block.Picture = trimmed8(block.Picture);
    block.LinkText = trimmed8(block.LinkText);
    block.LinkUrl = trimmed8(block.LinkUrl);
    block.Text = trimmed8(block.Text);
    return block;
}

}  // namespace zw

#include "template/BlockFiles.h"

#include <QDir>
#include <QFile>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"

namespace zw {

namespace {
const QString kPattern = QStringLiteral("*.edt");
}

BlockFiles::BlockFiles(QString folder) : folder_(std::move(folder)) {}

QString BlockFiles::fileName(int number) {
    return QStringLiteral("Temp%1.edt").arg(number, 3, 10, QLatin1Char('0'));
}

QString BlockFiles::path(int number) const { return QDir(folder_).filePath(fileName(number)); }

void BlockFiles::clear() const { removeFiles(folder_, kPattern); }

QStringList BlockFiles::list() const { return listFiles(folder_, kPattern); }

void BlockFiles::write(int number, const QList<QByteArray>& lines) const { writeWorkingFile(path(number), joinLines(lines)); }

void BlockFiles::remove(int number) const { QFile::remove(path(number)); }

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

QList<NewsBlock> BlockFiles::readAllForRendering() const {
    QList<NewsBlock> blocks;
    for (const QString& file : list()) blocks.append(readForRendering(file));
    return blocks;
}

QList<QList<QByteArray>> BlockFiles::readAllLines() const {
    QList<QList<QByteArray>> all;
    for (const QString& file : list()) all.append(splitLines(readFile(file)));
    return all;
}

}  // namespace zw

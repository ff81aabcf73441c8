#include "send/ui/ListFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zw::send {

namespace {
QString& lastListFolder() {
    static QString folder;
    return folder;
}
}  // namespace

QString listStartFolder() {
    if (QFileInfo(lastListFolder()).isDir())
        return lastListFolder();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void rememberListFile(const QString& path) {
    if (!path.isEmpty())
        lastListFolder() = QFileInfo(path).absolutePath();
}

}  // namespace zw::send

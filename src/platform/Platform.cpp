#include "platform/Platform.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include "platform/FileIo.h"

namespace zw {

QString withTrailingSeparator(const QString& folder) {
    if (folder.isEmpty())
        return folder;
    QString f = folder;
    while (f.size() > 1 && (f.endsWith(u'/') || f.endsWith(u'\\'))) f.chop(1);
    if (f == QLatin1String("/"))
        return f;
    return f + u'/';
}

namespace {

bool folderWritable(const QString& folder) {
    // Try for real: permissions alone do not tell about read-only mounts.
    const QString probe = QDir(folder).filePath(QStringLiteral(".zettelwerk-write-test"));
    QFile file(probe);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.close();
    file.remove();
    return true;
}

void seedFolder(const QString& from, const QString& to) {
    QDir target(to);
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString relative = QDir(from).relativeFilePath(source);
        const QString destination = target.filePath(relative);
        if (QFileInfo::exists(destination))
            continue;
        QDir().mkpath(QFileInfo(destination).absolutePath());
        copyFileReplacing(source, destination);
    }
}

}  // namespace

QString resolveProgramFolder(const QString& executableFolder, const QString& perUserFolder) {
    if (folderWritable(executableFolder))
        return withTrailingSeparator(executableFolder);
    QDir().mkpath(perUserFolder);
    // Seed only what is missing: the user's working files and edits are never replaced.
    seedFolder(executableFolder, perUserFolder);
    return withTrailingSeparator(perUserFolder);
}

LinuxPlatform::LinuxPlatform(QString executableFolder) : executableFolder_(std::move(executableFolder)) {}

QString LinuxPlatform::documentsFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

QString LinuxPlatform::programFolder() {
    if (programFolder_.isEmpty()) {
        const QString perUser = QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
                                    .filePath(QStringLiteral("Zettelwerk"));
        programFolder_ = resolveProgramFolder(executableFolder_, perUser);
    }
    return programFolder_;
}

QString todayShortDate() {
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

}  // namespace zw

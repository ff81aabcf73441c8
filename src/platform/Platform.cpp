#include "platform/Platform.h"

#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
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

QByteArray readFileOrEmpty(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Shipped files that an upgrade replaces in the per-user folder: the program's own pictures and help,
// the version, and the shipped templates with their pictures. The default and blank templates are
// working copies the user edits in place, so they are only ever seeded.
bool refreshedOnUpgrade(const QString& relative) {
    for (const char* folder : {"recom/", "help/", "Vorlagen/", "Images/"}) {
        if (relative.startsWith(QLatin1String(folder)))
            return true;
    }
    return relative == QLatin1String("Ver.ini");
}

// Copies the shipped files of the installed program folder into the per-user folder: what is missing,
// and on an upgrade (another "Ver.ini") the shipped files again. The user's own files (templates
// of their own, their pictures, the working files) stay as they are. Executables and the install marker
// belong to the installation only.
void seedFolder(const QString& from, const QString& to) {
    const QString version = QStringLiteral("Ver.ini");
    const bool upgrade =
        readFileOrEmpty(QDir(from).filePath(version)) != readFileOrEmpty(QDir(to).filePath(version));
    QDir target(to);
    // True when the file is in place afterwards, copied now or kept.
    const auto seed = [&](const QString& relative) {
        const QString destination = target.filePath(relative);
        if (QFileInfo::exists(destination) && !(upgrade && refreshedOnUpgrade(relative)))
            return true;
        QDir().mkpath(QFileInfo(destination).absolutePath());
        if (!copyFileReplacing(QDir(from).filePath(relative), destination))
            return false;
        // Installed files are read-only; the copies are the user's.
        QFile::setPermissions(destination, QFile::permissions(destination) | QFile::WriteOwner);
        return true;
    };
    bool complete = true;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QFileInfo info(source);
        const QString relative = QDir(from).relativeFilePath(source);
        if (info.fileName() == kInstalledMarker || info.isExecutable() || relative == version)
            continue;
        complete = seed(relative) && complete;
    }
    // The version goes last and only after every other file is in place: an upgrade cut short (a full
    // disk, a crash) shows as an upgrade again at the next start, which finishes it.
    if (complete && QFileInfo::exists(QDir(from).filePath(version)))
        seed(version);
}

}  // namespace

QString resolveProgramFolder(const QString& executableFolder, const QString& perUserFolder) {
    // Decided by the marker the install leaves, never by trying to write: root may write everywhere,
    // and the installed folder must stay clean all the same.
    if (!fileExists(QDir(executableFolder).filePath(kInstalledMarker)))
        return withTrailingSeparator(executableFolder);
    QDir().mkpath(perUserFolder);
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

QString germanShortDate(const QDate& date) {
    return date.toString(QStringLiteral("dd.MM.yyyy"));
}

QString todayShortDate() {
    return germanShortDate(QDate::currentDate());
}

}  // namespace zw

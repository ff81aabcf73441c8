#include "platform/FileIo.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

#include "platform/Error.h"

namespace zw {

QByteArray readFile(const QString& path) {
    QFile file(path);
    errno = 0;
    if (path.isEmpty() || QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        int err = errno;
        if (QFileInfo(path).isDir())
            err = EISDIR;
        if (path.isEmpty())
            err = ENOENT;
        throw fileOpenError(QDir::toNativeSeparators(path), err);
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw fileOpenError(QDir::toNativeSeparators(path), errno);
    return bytes;
}

FileReplacement::FileReplacement(const QString& path, bool durable) : path_(path), durable_(durable) {
    if (path.isEmpty())
        throw fileCreateError(QString(), ENOENT);
    // A template kept as a link (into a synchronised folder, say) stays a link: the file it names is
    // replaced.
    const QFileInfo info(path);
    target_ = QFile::encodeName(info.isSymLink() ? info.symLinkTarget() : path);
    temporary_ = target_ + kInterruptedWriteSuffix;
    // The rename would replace a file the user made read-only (a template kept from changes) as if it
    // were not: refuse it before anything is written. The check is the system's, for the effective
    // user, so that root (who may write anything) is not refused.
    struct stat old {};
    const bool replacing = ::stat(target_.constData(), &old) == 0;
    if (replacing && ::faccessat(AT_FDCWD, target_.constData(), W_OK, AT_EACCESS) != 0)
        throw fileCreateError(QDir::toNativeSeparators(path), errno == EROFS ? EROFS : EACCES);
    const int fd = ::open(temporary_.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        throw fileCreateError(QDir::toNativeSeparators(path), errno);
    // The new file takes the place of the old one, its permissions included: a private file stays
    // private. A folder that keeps no permissions (a FAT stick) refuses this; the content matters more.
    if (replacing)
        (void)::fchmod(fd, old.st_mode & 0777);
    // Unbuffered, so that every write reaches the file at once and a short one shows at that write; the
    // device keeps the target's name for the messages of those who write to it.
    file_.setFileName(path);
    if (!file_.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        const int err = errno;
        ::close(fd);
        ::unlink(temporary_.constData());
        throw fileCreateError(QDir::toNativeSeparators(path), err ? err : EIO);
    }
}

FileReplacement::~FileReplacement() {
    if (!committed_) {
        file_.close();
        ::unlink(temporary_.constData());
    }
}

void FileReplacement::write(const QByteArray& bytes) {
    errno = 0;
    if (file_.write(bytes) != bytes.size())
        fail(errno ? errno : ENOSPC);
}

void FileReplacement::fail(int err) {
    file_.close();
    ::unlink(temporary_.constData());
    committed_ = true;  // nothing left to clean up
    throw fileCreateError(QDir::toNativeSeparators(path_), err ? err : EIO);
}

void FileReplacement::commit() {
    if (durable_ && ::fsync(file_.handle()) != 0)
        fail(errno);
    file_.close();
    if (file_.error() != QFileDevice::NoError)
        fail(EIO);
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        fail(errno);
    committed_ = true;
    if (durable_) {
        // The rename itself is only safe once the folder is on disk; a failure here changes nothing
        // the user could act on.
        const int dir =
            ::open(QFile::encodeName(QFileInfo(QFile::decodeName(target_)).absolutePath()).constData(),
                   O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
}

void writeFileAtomic(const QString& path, const QByteArray& bytes) {
    FileReplacement file(path, true);
    file.write(bytes);
    file.commit();
}

void writePrivateFile(const QString& path, const QByteArray& bytes) {
    FileReplacement file(path, true);
    // A replaced file keeps no wider permissions it had.
    (void)::fchmod(static_cast<QFileDevice&>(file.device()).handle(), S_IRUSR | S_IWUSR);
    file.write(bytes);
    file.commit();
}

void writeWorkingFile(const QString& path, const QByteArray& bytes) {
    FileReplacement file(path, false);
    file.write(bytes);
    file.commit();
}

void removeInterruptedWrites(const QString& folder) {
    const QString pattern = QStringLiteral("*") + QLatin1String(kInterruptedWriteSuffix);
    removeFiles(folder, pattern);
    // Pictures are copied into "Images"; seeding and upgrading the per-user folder write the rest.
    for (const char* subfolder : {"Images", "Vorlagen", "recom", "help"}) {
        QDirIterator it(QDir(folder).filePath(QLatin1String(subfolder)), {pattern},
                        QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) QFile::remove(it.next());
    }
}

bool copyFileReplacing(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return false;
    try {
        writeFileAtomic(to, bytes);
    } catch (const Error&) {
        return false;
    }
    return true;
}

QList<QByteArray> splitLines(const QByteArray& bytes) {
    QList<QByteArray> lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    const char* data = bytes.constData();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data[i];
        if (c != '\r' && c != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (c == '\r' && i + 1 < n && data[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(bytes.mid(start));
    return lines;
}

QByteArray joinLines(const QList<QByteArray>& lines) {
    qsizetype total = 0;
    for (const QByteArray& line : lines) total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const QByteArray& line : lines) {
        out.append(line);
        out.append("\r\n", 2);
    }
    return out;
}

QStringList listFiles(const QString& folder, const QString& pattern) {
    QDir dir(folder);
    // Windows matches the pattern and orders the names without regard to case: "TEMP002.EDT" comes
    // between "Temp001.edt" and "Temp003.edt". QDir matches without regard to case already; the order
    // needs IgnoreCase.
    QStringList names = dir.entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names) paths.append(dir.filePath(name));
    return paths;
}

void removeFiles(const QString& folder, const QString& pattern) {
    for (const QString& path : listFiles(folder, pattern)) QFile::remove(path);
}

bool fileExists(const QString& path) {
    QFileInfo info(path);
    return !path.isEmpty() && info.exists() && info.isFile();
}

}  // namespace zw

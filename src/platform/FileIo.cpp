#include "platform/FileIo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstdio>

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

void writeFileAtomic(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly)) {
        int err = errno ? errno : EACCES;
        throw fileCreateError(QDir::toNativeSeparators(path), err);
    }
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        int err = errno ? errno : ENOSPC;
        file.cancelWriting();
        throw fileCreateError(QDir::toNativeSeparators(path), err);
    }
    errno = 0;
    if (!file.commit()) {
        int err = errno;
        if (err == 0)
            throw fileCreateError(QDir::toNativeSeparators(path), file.errorString());
        throw fileCreateError(QDir::toNativeSeparators(path), err);
    }
}

void writeWorkingFile(const QString& path, const QByteArray& bytes) {
    const QString temporary = path + QStringLiteral(".part");
    QFile out(temporary);
    errno = 0;
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        int err = errno ? errno : EACCES;
        throw fileCreateError(QDir::toNativeSeparators(path), err);
    }
    errno = 0;
    if (out.write(bytes) != bytes.size() || !out.flush()) {
        int err = errno ? errno : ENOSPC;
        out.close();
        out.remove();
        throw fileCreateError(QDir::toNativeSeparators(path), err);
    }
    out.close();
    errno = 0;
    if (::rename(QFile::encodeName(temporary).constData(), QFile::encodeName(path).constData()) != 0) {
        int err = errno;
        QFile::remove(temporary);
        throw fileCreateError(QDir::toNativeSeparators(path), err);
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

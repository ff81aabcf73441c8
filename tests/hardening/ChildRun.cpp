#include "ChildRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

#include "platform/FileIo.h"

namespace zw::test {

namespace {

void collect(const QString& folder, const QString& prefix, Snapshot& files) {
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(prefix + QDir(folder).relativeFilePath(path), readAll(path));
    }
}

}  // namespace

Workspace::Workspace() : prog(root_.subfolder(u"prog"_qs)), docs(root_.subfolder(u"docs"_qs)) {
    const QString data = shippedDataFolder();
    QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        if (source.endsWith(u"CMakeLists.txt"))
            continue;
        const QString target = prog + QDir(data).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        writeAll(target, readAll(source));
    }
    writeAll(docs + u"Verein.nld"_qs, readAll(data + u"/Vorlagen/Sportverein.nld"_qs));
    writeAll(prog + u"LastFile.ini"_qs, crlf({QFile::encodeName(docs + u"Verein.nld"_qs)}));
    writeAll(prog + u"Copy.ini"_qs, readAll(prog + u"Ver.ini"_qs));
    // Readable for an unprivileged child, as a home folder would be.
    QFile::setPermissions(root_.path(),
                          QFile::permissions(root_.path()) | QFile::ReadOther | QFile::ExeOther);
}

Snapshot Workspace::snapshot() const {
    Snapshot files;
    collect(prog, u"prog/"_qs, files);
    collect(docs, u"docs/"_qs, files);
    return files;
}

void Workspace::restore(const Snapshot& files) const {
    for (const QString& folder : {prog, docs}) {
        QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) QFile::remove(it.next());
    }
    for (auto it = files.begin(); it != files.end(); ++it) {
        const QString path = (it.key().startsWith(u"prog/") ? prog : docs) + it.key().mid(5);
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeAll(path, it.value());
    }
}

ChildResult runChild(const QString& mode, const Workspace& ws, const QStringList& extra) {
    QProcess child;
    child.start(QStringLiteral(ZW_HARDENING_CHILD), QStringList{mode, ws.prog, ws.docs} + extra);
    ChildResult result;
    if (!child.waitForFinished(60000))
        return result;
    result.exitCode = child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
    for (const QByteArray& line : splitLines(child.readAllStandardOutput())) {
        if (line.startsWith("error:"))
            result.errors.append(QString::fromUtf8(line.mid(6)));
        else if (line.startsWith("items:"))
            result.items = line.mid(6).toInt();
        else if (line == "done")
            result.done = true;
    }
    return result;
}

}  // namespace zw::test

#include "template/TemplateFiles.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "template/BlockCycle.h"

namespace zw {

StartTemplate resolveStartTemplate(const Folders& folders, const QString& requested) {
    StartTemplate start;
    if (!requested.isEmpty()) {
        try {
            checkOpenable(requested);
            return {requested, requested, {}};
        } catch (const Error& e) {
            start.refusal = e.message();
        }
    }
    start.currentPath = folders.program + kDefaultTemplate;
    const QString lastFile = folders.program + kLastFile;
    if (!fileExists(lastFile))
        return start;
    QByteArray bytes;
    try {
        bytes = readFile(lastFile);
    } catch (const Error&) {
        return start;
    }
    const QList<QByteArray> lines = splitLines(bytes);
    if (lines.isEmpty() || lines.first().isEmpty())
        return start;
    const QString named = fromStored(lines.first());
    if (fileExists(named)) {
        try {
            refuseTooManyBlocks(named);
        } catch (const Error& e) {
            start.refusal = e.message();
            return start;
        }
        start.currentPath = named;
        start.savePath = named;
    }
    return start;
}

void takeRevertCopy(const Folders& folders, const QString& templatePath) {
    // A copy that cannot be taken must not leave another template's state behind to be copied back.
    if (!copyFileReplacing(templatePath, folders.program + kRevertCopy))
        QFile::remove(folders.program + kRevertCopy);
}

void rememberLastFile(const Folders& folders, const QString& templatePath) {
    writeFileAtomic(folders.program + kLastFile, joinLines({toStored(templatePath)}));
}

void copyShippedTemplatesOnce(const Folders& folders) {
    if (!fileExists(folders.program + kCopyMarker) && !folders.documents.isEmpty()) {
        QDir().mkpath(folders.documents);
        for (const QString& source : listFiles(folders.templates, QStringLiteral("*.nld"))) {
            const QString name = QFileInfo(source).fileName();
            if (name.startsWith(u'.'))
                continue;
            const QString target = folders.documents + name;
            if (QFileInfo::exists(target))
                continue;  // never replace the user's own file
            copyFileReplacing(source, target);
        }
    }
    if (fileExists(folders.program + kVersionFile))
        copyFileReplacing(folders.program + kVersionFile, folders.program + kCopyMarker);
}

QString readVersionText(const Folders& folders) {
    try {
        const QList<QByteArray> lines = splitLines(readFile(folders.program + kVersionFile));
        return lines.isEmpty() ? QString() : fromStored(lines.first());
    } catch (const Error&) {
        return {};
    }
}

QString messagePathFor(const Folders& folders, const QString& templatePath) {
    const QString name = fileNamePart(templatePath);
    qsizetype start = 0;
    while (start < name.size() && name[start] == u'.') ++start;
    const qsizetype dot = name.indexOf(u'.', start);
    const QString word = dot < 0 ? name.mid(start) : name.mid(start, dot - start);
    return folders.documents + word + QStringLiteral(".eml");
}

QString windowCaption(const QString& productTitle, const QString& templatePath) {
    return productTitle + QStringLiteral(" [") + fileNamePart(templatePath) + u']';
}

}  // namespace zw

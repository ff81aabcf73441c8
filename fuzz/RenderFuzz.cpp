// The renderer on fuzzed templates and block edit files: no crash, and a message whose texts carry
// neither a boundary line nor a "cid:" of their own parses as a newsletter with every picture
// reference matched by its part. The input is a template, optionally followed by "\0EDT\0" and the
// bytes of the first block edit file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "render/RenderInput.h"
#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/MimeCheck.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace {

// Damaged templates name files Qt refuses to open ("Broken filename" for a NUL byte); the renderer
// reports those through its errors, so Qt's own warnings would only bury the fuzzer's output.
void dropQtWarnings(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
}

struct Folders {
    Folders() {
        qInstallMessageHandler(dropQtWarnings);
        images = dir.filePath(QStringLiteral("Images/"));
        work = dir.filePath(QStringLiteral("work/"));
        QDir().mkpath(images);
        QDir().mkpath(work);
        // A few small pictures under the names the shipped templates use.
        shipped = QDir(QStringLiteral(ZW_IMAGES_DIR)).entryList({QStringLiteral("*.jpg")});
        for (const QString& name : shipped) QFile::copy(QStringLiteral(ZW_IMAGES_DIR "/") + name, images + name);
    }
    // The renderer keeps copies of the setting pictures in the picture folder and falls back on an
    // earlier rendering's copy; removing them lets every input stand alone, so a finding reproduces.
    void removeCopies() const {
        for (const QString& name : QDir(images).entryList(QDir::Files)) {
            if (!shipped.contains(name))
                QFile::remove(images + name);
        }
    }
    QTemporaryDir dir;
    QString images, work;
    QStringList shipped;
};

bool carriesMessageSyntax(const QByteArray& bytes) {
    const QByteArray lower = bytes.toLower();
    return lower.contains("cid:") || lower.contains("=_nextpart_");
}

// A picture name goes into the Content-ID and the "cid:" reference unchanged; a quote or a ">" ends
// either early, as any user text with message syntax of its own may.
bool namesFitContentIds(const zw::RenderInput& input) {
    QList<QByteArray> paths{input.kopfLogo, input.seperatorNews, input.seperatorImpressum};
    for (const zw::NewsBlock& block : zw::readRenderBlocks(input.workFolder)) paths.append(block.Picture);
    for (const QByteArray& path : paths) {
        const QByteArray name = zw::fileNamePart(path);
        if (name.contains('"') || name.contains('>'))
            return false;
    }
    return true;
}

// The Content-IDs as the message carries them, byte for byte: a parser turns 8-bit header bytes into
// Unicode by a guess of its own, while the reference in the HTML stays in the message's code page.
// Only a part's header counts: from a delimiter line to the first empty line. The same words in a
// text are the user's and may begin a line of the body.
QList<QByteArray> rawContentIds(const QByteArray& message) {
    QList<QByteArray> ids;
    bool inPartHeader = false;
    for (const QByteArray& line : zw::splitLines(message)) {
        if (line.startsWith("------=_NextPart_"))
            inPartHeader = true;
        else if (line.isEmpty())
            inPartHeader = false;
        else if (inPartHeader && line.startsWith("Content-ID: <") && line.endsWith('>'))
            ids.append(line.mid(13, line.size() - 14));
    }
    return ids;
}

void fail(const QString& problem) {
    std::fprintf(stderr, "%s\n", problem.toLocal8Bit().constData());
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Folders folders;
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = input.indexOf(QByteArray("\0EDT\0", 5));
    const QString templatePath = folders.work + QStringLiteral("Vorlage.nld");
    const QString messagePath = folders.work + QStringLiteral("Vorschau.eml");
    zw::test::FakePrompts prompts;
    try {
        QFile::remove(messagePath);
        folders.removeCopies();
        QFile file(templatePath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(cut < 0 ? input : input.left(cut));
        file.close();
        const zw::BlockFiles blocks(folders.work);
        const zw::RebuildResult loaded = zw::loadTemplate(templatePath, folders.images, blocks);
        if (cut >= 0)
            zw::writeWorkingFile(blocks.path(1), input.mid(cut + 5));
        const zw::RenderInput renderInput =
            zw::renderInputFromSettings(loaded.settings, "07.12.2026", folders.work, folders.images);
        zw::RenderMessage(renderInput, messagePath, prompts);
        if (carriesMessageSyntax(input) || !namesFitContentIds(renderInput))
            return 0;
    } catch (const zw::Error&) {
        return 0;  // a German message for the user: what damaged input should give
    }
    const QByteArray message = zw::readFile(messagePath);
    const zw::test::MimeNewsletter parsed = zw::test::parseNewsletter(message);
    for (const QString& problem : parsed.problems) {
        // The matching is checked below on the raw bytes.
        if (!problem.startsWith(u"cid:") && !problem.endsWith(u" is not referenced"))
            fail(problem);
    }
    const QList<QByteArray> ids = rawContentIds(message);
    if (ids.size() != parsed.pictures.size())
        fail(QStringLiteral("%1 Content-ID lines for %2 picture parts")
                 .arg(ids.size())
                 .arg(parsed.pictures.size()));
    for (const QByteArray& reference : parsed.references) {
        if (ids.count(reference) != 1)
            fail(QStringLiteral("cid:%1 has %2 picture parts")
                     .arg(QString::fromLatin1(reference))
                     .arg(ids.count(reference)));
    }
    for (const QByteArray& id : ids) {
        if (!parsed.references.contains(id))
            fail(QStringLiteral("picture %1 is not referenced").arg(QString::fromLatin1(id)));
    }
    return 0;
}

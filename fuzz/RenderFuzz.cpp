// The renderer on fuzzed templates and block edit files: no crash, and a message whose texts carry
// neither a boundary line nor a "cid:" of their own parses as a newsletter with every picture
// reference matched by its part. The input is a template, optionally followed by "\0EDT\0" and the
// bytes of the first block edit file.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "render/RenderInput.h"
#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/MimeCheck.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace {

struct Folders {
    Folders() {
        images = dir.filePath(QStringLiteral("Images/"));
        work = dir.filePath(QStringLiteral("work/"));
        QDir().mkpath(images);
        QDir().mkpath(work);
        // A few small pictures under the names the shipped templates use.
        for (const QString& name : QDir(QStringLiteral(ZW_IMAGES_DIR)).entryList({QStringLiteral("*.jpg")}))
            QFile::copy(QStringLiteral(ZW_IMAGES_DIR "/") + name, images + name);
    }
    QTemporaryDir dir;
    QString images, work;
};

bool carriesMessageSyntax(const QByteArray& bytes) {
    const QByteArray lower = bytes.toLower();
    return lower.contains("cid:") || lower.contains("=_nextpart_");
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
    } catch (const zw::Error&) {
        return 0;  // a German message for the user: what damaged input should give
    }
    if (carriesMessageSyntax(input))
        return 0;
    const zw::test::MimeNewsletter parsed = zw::test::parseNewsletter(zw::readFile(messagePath));
    if (!parsed.problems.isEmpty()) {
        std::fprintf(stderr, "%s\n", parsed.problems.join(QStringLiteral("\n")).toLocal8Bit().constData());
        std::abort();
    }
    return 0;
}

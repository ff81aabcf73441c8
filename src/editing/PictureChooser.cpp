#include "editing/PictureChooser.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>

#include "editing/PictureNames.h"
#include "editing/PicturePipeline.h"
#include "editing/ResizeWidth.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Prompts.h"
#include "platform/Text.h"
#include "template/Session.h"

namespace zw {

namespace {

QByteArray* settingOf(PictureSlot slot, TemplateSession& session) {
    switch (slot) {
        case PictureSlot::HeadLogo:
            return &session.settings.KopfLogo;
        case PictureSlot::NewsSeparator:
            return &session.settings.SeperatorNews;
        case PictureSlot::ImprintSeparator:
            return &session.settings.SeperatorImpressum;
        case PictureSlot::BlockPicture:
            break;
    }
    return &session.EditorPicture;
}

// The first copy of the chosen file. A copy that cannot be made at all (no pictures folder) is reported
// by the step that reads it, as the file error of the work file; one that is cut short (a full disk)
// is reported here, before it could pass for a damaged picture.
void copyToWorkFile(const QByteArray& bytes, const QString& workPath) {
    QFile::remove(workPath);  // never work on what a broken run left behind
    QFile out(workPath);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    errno = 0;
    if (out.write(bytes) != bytes.size()) {
        const int err = errno ? errno : EIO;
        out.close();
        QFile::remove(workPath);
        throw fileCreateError(QDir::toNativeSeparators(workPath), err);
    }
}

void replaceFile(const QString& from, const QString& to) {
    errno = 0;
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw fileCreateError(QDir::toNativeSeparators(to), errno);
}

}  // namespace

QString ChoosePicture(PictureSlot slot, Prompts& prompts, TemplateSession& session, const BusyRunner& busy) {
    const auto run = [&busy](const std::function<void()>& work) { busy ? busy(work) : work(); };

    const QString chosen = prompts.choosePicture();
    if (chosen.isEmpty())
        return {};
    session.Saved = false;
    const PictureNames names = pictureNames(chosen, session.folders.images);

    const QByteArray bytes = readFile(chosen);
    PictureInfo info;
    run([&] { info = loadPictureInfo(bytes); });
    copyToWorkFile(bytes, names.workPath);
    try {
        if (slot == PictureSlot::BlockPicture) {
            int ResizeWidth = kRecommendedWidth;
            if (prompts.askResizeWidth(ResizeWidth))
                run([&] { ScalePictureToWidth(names.workPath, ResizeWidth, info.size); });
        }
        run([&] { ReencodePicture(names.workPath, kCopyQuality); });
        replaceFile(names.workPath, names.copyPath);
    } catch (...) {
        QFile::remove(names.workPath);
        throw;
    }
    *settingOf(slot, session) = storedFromPath(names.storedPath);
    return names.copyPath;
}

}  // namespace zw

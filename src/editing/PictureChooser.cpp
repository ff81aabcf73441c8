#include "editing/PictureChooser.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "editing/DecodedPicture.h"
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

// A file of none of the kinds that its name calls a JPEG gets libjpeg's "JPEG-Fehler #n", as ever.
bool namedAsJpeg(const QString& path) {
    return path.endsWith(u".jpg", Qt::CaseInsensitive) || path.endsWith(u".jpeg", Qt::CaseInsensitive);
}

// The template's background colour ("#RRGGBB"), which transparent parts of a picture take; white when
// the setting holds no colour.
ColorValue pictureBackground(const QByteArray& bkgColor) {
    const QByteArray digits = bkgColor.startsWith('#') ? bkgColor.mid(1, 6) : bkgColor.left(6);
    bool ok = false;
    const uint rgb = digits.size() == 6 ? digits.toUInt(&ok, 16) : 0;
    if (!ok)
        return kWhite;
    return ColorValue((rgb >> 16) | (rgb & 0xFF00) | (rgb & 0xFF) << 16);
}

void replaceFile(const QString& from, const QString& to) {
    errno = 0;
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        throw fileCreateError(QDir::toNativeSeparators(to), errno);
}

QString copyChosenPicture(const QString& chosen, PictureSlot slot, Prompts& prompts, TemplateSession& session,
                          const BusyRunner& busy, const QList<QByteArray>& otherPictures) {
    const auto run = [&busy](const std::function<void()>& work) { busy ? busy(work) : work(); };
    const QByteArray bytes = readFile(chosen);
    PictureKind kind = pictureKind(bytes);
    if (kind == PictureKind::Unknown) {
        if (!namedAsJpeg(chosen))
            throw unknownPictureError();
        kind = PictureKind::Jpeg;
    }
    const bool jpeg = kind == PictureKind::Jpeg;
    const PictureNames names = pictureNames(chosen, session.folders.images, jpeg);
    const bool mayBeShared = copyMayBeShared(names, chosen, otherPictures, *settingOf(slot, session));

    // The whole picture is read before anyone is asked about it. A JPEG is read again for each step;
    // a picture of another kind is decoded once, and its first JPEG made from what was decoded.
    PictureInfo info;
    DecodedPicture decoded;
    run([&] {
        if (jpeg) {
            info = loadPictureInfo(bytes);
        } else {
            decoded = decodePicture(bytes, kind);
            info = {decoded.upright(), decoded.orientation};
        }
    });
    if (jpeg)
        copyToWorkFile(bytes, names.workPath);
    PictureNames target = names;
    try {
        std::optional<int> width;
        if (slot == PictureSlot::BlockPicture) {
            int ResizeWidth = kRecommendedWidth;
            if (prompts.askResizeWidth(ResizeWidth))
                width = ResizeWidth;
        }
        if (jpeg) {
            if (width)
                run([&] { ScalePictureToWidth(names.workPath, *width, info.size); });
        } else {
            // Scaled, it is encoded at 95 and re-encoded below; unscaled, this is its one encoding at 80.
            const QSize size = width ? QSize(*width, scaledHeight(*width, info.size)) : info.size;
            QByteArray first;
            run([&] {
                first = encodeDecodedPicture(decoded, size, width ? kScaledQuality : kCopyQuality,
                                             pictureBackground(session.settings.BKGColor));
            });
            decoded = {};
            copyToWorkFile(first, names.workPath);
        }
        if (jpeg || width)
            run([&] { ReencodePicture(names.workPath, kCopyQuality); });
        // Never a change to a picture that something else shows: a copy that would change it goes
        // under a name of its own.
        if (mayBeShared && readFile(names.copyPath) != readFile(names.workPath))
            target = unsharedNames(names, session.folders.images, otherPictures);
        replaceFile(names.workPath, target.copyPath);
    } catch (...) {
        QFile::remove(names.workPath);
        throw;
    }
    *settingOf(slot, session) = storedFromPath(target.storedPath);
    return target.copyPath;
}
}  // namespace

QString ChoosePicture(PictureSlot slot, Prompts& prompts, TemplateSession& session, const BusyRunner& busy,
                      const QList<QByteArray>& otherPictures) {
    const QString chosen = prompts.choosePicture();
    if (chosen.isEmpty())
        return {};
    session.Saved = false;
    try {
        return copyChosenPicture(chosen, slot, prompts, session, busy, otherPictures);
    } catch (const Error&) {
        throw;
    } catch (...) {
        // A hostile file can still make a library ask for more memory than there is.
        throw pictureFailedError();
    }
}

}  // namespace zw

#include "render/RenderMessage.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <memory>
#include <vector>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "render/Base64.h"
#include "render/MessageTexts.h"
#include "render/PhoneTexts.h"
#include "template/BlockFiles.h"

namespace zw {

using namespace texts;

namespace {

const QString kNotAPicture = QStringLiteral(
    "Die Datei %1 ist kein Bild im Format JPEG, PNG, GIF oder WebP und kann nicht in den Newsletter "
    "übernommen werden.");

// The registered name of a picture's type, by its first bytes.
QByteArray registeredPictureType(QByteArrayView head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return kJpegType;
    if (head.startsWith("\x89PNG"))
        return kPngType;
    return head.startsWith("GIF") ? kGifType : kWebpType;
}

// Refuses a file that a mail program would not show as a picture, naming it. One that cannot be read
// is the encoder's to report. Returns the picture's registered type, or nothing when it cannot be read.
QByteArray refuseNonPicture(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(12);
    if (!isMailPicture(head))
        throw Error(kNotAPicture.arg(path));
    return registeredPictureType(head);
}

// A setting picture that cannot be copied is not an error: an earlier rendering's copy may still be
// there, and encoding the copy reports a picture that is missing for good. The copy is a working
// file, rebuilt at every rendering, so it is not synced to the disk; and a copy that already holds the
// same bytes (the news separator, copied once per block) is left as it is instead of being replaced
// hundreds of times.
void copyPicture(const QString& from, const QString& to) {
    QFile source(from);
    if (from.isEmpty() || !source.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return;
    if (!isMailPicture(bytes))
        throw Error(kNotAPicture.arg(from));
    QFile existing(to);
    if (existing.size() == bytes.size() && existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return;
    try {
        writeWorkingFile(to, bytes);
    } catch (const Error&) {
        // Without an earlier copy the encoding would only report the copy as missing; the failed
        // write says why (a full disk, a folder that may not be written).
        if (!QFile::exists(to))
            throw;
    }
}

QString base64WorkFile(const RenderContext& context) {
    return QDir(context.input.workFolder).filePath(QString::fromLatin1(kBase64WorkFile));
}

QByteArray pictureReference(int number, const QByteArray& storedPath) {
    return QByteArray::number(number) + kReferenceSeparator + fileNamePart(storedPath);
}

void writeMessage(const MessageLines& lines, const QString& targetPath) {
    FileReplacement file(targetPath, true);
    errno = 0;
    if (!lines.writeTo(file.device()))
        file.fail(errno ? errno : ENOSPC);
    file.commit();
}

// Passes every write on to each of several devices.
class TeeDevice : public QIODevice {
public:
    explicit TeeDevice(QList<QIODevice*> devices) : devices_(std::move(devices)) {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        for (QIODevice* device : devices_) {
            if (device->write(data, size) != size)
                return -1;
        }
        return size;
    }

private:
    QList<QIODevice*> devices_;
};

// The message is encoded once and streamed into all targets side by side, then each is committed in
// the order given. Should anything fail on the way, the replacements not committed are dropped and
// each target is written on its own, one after the other: what is replaced then, and the failure
// reported, are those of writing the targets in turn.
void writeMessage(const MessageLines& lines, const QStringList& targetPaths) {
    if (targetPaths.size() > 1) {
        try {
            std::vector<std::unique_ptr<FileReplacement>> files;
            QList<QIODevice*> devices;
            for (const QString& path : targetPaths) {
                files.push_back(std::make_unique<FileReplacement>(path, true));
                devices.append(&files.back()->device());
            }
            TeeDevice tee(devices);
            if (lines.writeTo(tee)) {
                for (const auto& file : files) file->commit();
                return;
            }
        } catch (const Error&) {
        }
    }
    for (const QString& path : targetPaths) writeMessage(lines, path);
}

}  // namespace

bool isMailPicture(QByteArrayView head) {
    const auto startsWith = [&head](QByteArrayView magic, qsizetype at = 0) {
        return head.size() >= at + magic.size() && head.sliced(at, magic.size()) == magic;
    };
    return startsWith("\xFF\xD8\xFF") || startsWith("\x89PNG\r\n\x1A\n") || startsWith("GIF87a") ||
           startsWith("GIF89a") || (startsWith("RIFF") && startsWith("WEBP", 8));
}

QByteArray PictureExtension(const QByteArray& fileName) {
    const QList<QByteArray> runs = fileName.split('.');
    int nonEmpty = 0;
    QByteArray last;
    for (const QByteArray& run : runs) {
        if (run.isEmpty())
            continue;
        ++nonEmpty;
        last = run;
    }
    return nonEmpty >= 2 ? asciiLower(last) : QByteArray();
}

QList<NewsBlock> readRenderBlocks(const QString& folder) {
    QList<NewsBlock> blocks;
    for (const QString& path : BlockFiles(folder).list()) blocks.append(BlockFiles::readForRendering(path));
    return blocks;
}

void AddMessageHeader(RenderContext& context) {
    MessageLines& out = context.lines;
    for (const QByteArray& line : FromLines(context.input.senderName, context.input.senderAddress))
        out.append(line);
    for (const QByteArray& line : SubjectLines(context.input.subject)) out.append(line);
    // The empty line last ends the plain-text part's header. Without it a mail reader takes the body's
    // first lines (they start with a blank) for header continuations, and a news line shaped like a
    // header for a header of the part.
    for (const char* line : {kDate,
                             kMimeVersion,
                             kRelatedType,
                             kRelatedTypeParam,
                             kRelatedBoundaryParam,
                             kPriority,
                             kMsMailPriority,
                             kUnsent,
                             kMimeOle,
                             "",
                             kPreamble,
                             "",
                             kRelatedDelimiter,
                             kAlternativeType,
                             kAlternativeBoundaryParam,
                             "",
                             "",
                             kAlternativeDelimiter,
                             kPlainType})
        out.append(line);
    if (context.input.mobileLayout) {
        out.append(kPhonePlainCharsetParam);
        out.append(kPhonePlainFlowed);
    } else {
        out.append(kCharsetParam);
    }
    out.append(kQuotedPrintable);
    out.append("");
}

QString PictureSource(const RenderInput& input, const QByteArray& storedPath, PictureKind kind) {
    const QByteArray fileName = fileNamePart(storedPath);
    const char* copyName = nullptr;
    switch (kind) {
        case PictureKind::HeadLogo:
            copyName = kHeadLogoCopy;
            break;
        case PictureKind::NewsSeparator:
            copyName = kNewsSeparatorCopy;
            break;
        case PictureKind::ImprintSeparator:
            copyName = kImprintSeparatorCopy;
            break;
        case PictureKind::BlockPicture:
            return QDir(input.imagesFolder).filePath(pathFromStored(fileName));
    }
    const QDir copies(input.copyFolder.isEmpty() ? input.imagesFolder : input.copyFolder);
    return copies.filePath(QString::fromLatin1(copyName) + fromStored(PictureExtension(fileName)));
}

void AddPicturePart(RenderContext& context, const QByteArray& storedPath, PictureKind kind) {
    const int number = ++context.PictureCounter;
    const QByteArray ext = PictureExtension(fileNamePart(storedPath));
    const QString source = PictureSource(context.input, storedPath, kind);
    if (kind != PictureKind::BlockPicture)
        copyPicture(pathFromStored(storedPath), source);

    // The picture is read when the message is written. Opening it now reports a missing picture here,
    // in part order, before anything is written. The pictures pass through the working file "temp.mim"
    // in turn, so one that cannot be written stops the rendering at the first picture.
    Base64CheckInput(source);
    // Only pictures go out: a template may name any file (it travels, and a crafted one could name a
    // private file), and an earlier copy may hold anything.
    const QByteArray type = refuseNonPicture(source);
    if (context.lastPicture.isEmpty())
        Base64CheckOutput(base64WorkFile(context));
    context.lastPicture = source;

    MessageLines& out = context.lines;
    out.append(kRelatedDelimiter);
    // The phone layout names the registered type ("image/jpeg", not the extension's "image/jpg").
    out.append(kImageType + (context.input.mobileLayout && !type.isEmpty() ? type : ext) + ';');
    if (context.firstBase64Line < 0)
        context.firstBase64Line = out.count();
    out.append(kBase64Encoding);
    out.append(kContentIdOpen + pictureReference(number, storedPath) + kContentIdClose);
    out.append("");
    out.appendPicture(source);
    out.append("");
}

void WriteBase64WorkFile(const RenderContext& context) {
    if (!context.lastPicture.isEmpty())
        Base64EncodeFile(context.lastPicture, base64WorkFile(context));
}

void WrapHtmlLines(RenderContext& context) {
    const qsizetype first = context.htmlHeaderLine;
    const qsizetype last = context.firstBase64Line;
    if (first < 0 || last < first)
        return;
    context.lines.cutSoftly(first, last);
}

void AssembleMessage(RenderContext& context) {
    AddMessageHeader(context);
    AddPlainTextPart(context);
    AddHtmlPart(context);
}

namespace {

// The whole message assembled, its fields filled in and its HTML lines cut, handed to use.
template <typename Use>
auto withRenderedLines(const RenderInput& input, Prompts& prompts, Use use) {
    RenderInput marked = input;
    QList<NewsBlock> blocks = readRenderBlocks(input.workFolder);
    const FieldSet fields = MarkTemplateFields(marked, blocks);
    RenderContext context(marked, prompts, std::move(blocks));
    AssembleMessage(context);
    FillFields(context, fields, input);
    WrapHtmlLines(context);
    return use(context.lines);
}

}  // namespace

QList<QByteArray> BuildMessageLines(const RenderInput& input, Prompts& prompts) {
    return withRenderedLines(input, prompts, [](const MessageLines& lines) { return lines.lines(); });
}

void RenderMessage(const RenderInput& input, const QString& targetPath, Prompts& prompts) {
    RenderMessage(input, targetPath.isEmpty() ? QStringList() : QStringList{targetPath}, prompts);
}

void RenderMessage(const RenderInput& input, const QStringList& targetPaths, Prompts& prompts) {
    withRenderedLines(input, prompts, [&](const MessageLines& lines) { writeMessage(lines, targetPaths); });
}

}  // namespace zw

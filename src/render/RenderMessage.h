#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "platform/Prompts.h"
#include "render/Fields.h"
#include "render/MessageLines.h"
#include "render/RenderInput.h"
#include "template/NewsletterTemplate.h"

namespace zw {

// Which picture a picture part carries; the three setting pictures are sent from a copy.
enum class PictureKind { HeadLogo, NewsSeparator, ImprintSeparator, BlockPicture };

// The news blocks from the block edit files of folder, in block order.
QList<NewsBlock> readRenderBlocks(const QString& folder);

// One rendering in progress: the lines assembled so far and the picture numbering.
struct RenderContext {
    RenderContext(const RenderInput& in, Prompts& p)
        : input(in), prompts(p), blocks(readRenderBlocks(in.workFolder)) {}
    RenderContext(const RenderInput& in, Prompts& p, QList<NewsBlock> readBlocks)
        : input(in), prompts(p), blocks(std::move(readBlocks)) {}

    const RenderInput& input;
    Prompts& prompts;
    // Read once: the plain text, the picture references and the picture parts all follow them.
    const QList<NewsBlock> blocks;
    MessageLines lines;
    // Numbers the pictures 1, 2, 3, ...: once for the references of the HTML part, once again for the
    // picture parts, in the same order, so that reference k and part k belong together.
    int PictureCounter = 0;
    // Where the soft line breaks apply: from the HTML part's "Content-Type: text/html;" line through the
    // "Content-Transfer-Encoding: base64" line of the first picture part. Remembered while assembling,
    // so that no user text can move the region.
    qsizetype htmlHeaderLine = -1;
    qsizetype firstBase64Line = -1;
    // The file of the last picture part so far: its base64 text is what "temp.mim" keeps.
    QString lastPicture;
};

// The header block and the plain-text part's header, ended by its empty line.
void AddMessageHeader(RenderContext& context);
// The body of the plain-text part.
void AddPlainTextPart(RenderContext& context);
// The HTML part, then every picture part and the closing delimiter of the message.
void AddHtmlPart(RenderContext& context);
// The file a picture part encodes: a block picture's copy in the images folder, or the copy that the
// rendering makes of a setting picture.
QString PictureSource(const RenderInput& input, const QByteArray& storedPath, PictureKind kind);
// One picture part, numbered by raising PictureCounter.
void AddPicturePart(RenderContext& context, const QByteArray& storedPath, PictureKind kind);
// Leaves the base64 text of the last picture part in the working file "temp.mim", as the encoder
// leaves it when every picture passes through that file.
void WriteBase64WorkFile(const RenderContext& context);
// Cuts the lines of the HTML region to at most 70 characters plus a soft line break "=".
void WrapHtmlLines(RenderContext& context);

// The header line(s) of the subject: unchanged when it is ASCII and fits a header line (998 octets),
// folded at blanks when it is longer; otherwise RFC 2047 encoded words (Q encoding) folded to lines of
// at most 76 characters: Windows-1252, or UTF-8 when the subject holds a character that Windows-1252
// cannot (stored as a character reference). A subject holding "=?" is always encoded, so that no
// reader decodes a typed look-alike of an encoded word.
QList<QByteArray> SubjectLines(const QByteArray& subject);
// A header line folded before blanks into lines of at most width octets where it can be; empty when
// some piece would still be longer than a header line may be (998 octets).
QList<QByteArray> FoldedLines(const QByteArray& line, qsizetype width);
// The From line: the fixed placeholder without a sender address; otherwise the sender, the name quoted
// when it is ASCII and as RFC 2047 encoded words (UTF-8, Q encoding) folded to lines of at most 76
// characters when it is not. An address a header cannot carry as it stands keeps the placeholder.
QList<QByteArray> FromLines(const QString& name, const QString& address);
// A header naming one mailbox (head is "From: ", "To: ", ...) in the same form; a name holding "=?" or
// too long for one header line is encoded as well. Empty when the address cannot stand in a header as
// it is.
QList<QByteArray> MailboxLines(const QByteArray& head, const QString& name, const QString& address);
// Whether the first bytes of a file show a picture kind that mail programs show: JPEG, PNG, GIF or
// WebP. Nothing else goes into a message.
bool isMailPicture(QByteArrayView head);
// The extension word of a picture file name: its last run between dots, in small letters, when the
// name has at least two such runs; otherwise empty.
QByteArray PictureExtension(const QByteArray& fileName);

// The fields of the template's texts as markers, in input and blocks (see Fields.h); nothing changes
// in a template without field syntax.
FieldSet MarkTemplateFields(RenderInput& input, QList<NewsBlock>& blocks);
// The fields a rendering of input finds, numbered as its markers.
FieldSet TemplateFields(const RenderInput& input);
// Fills the markers of the assembled lines (before the soft line breaks) with input's values, or the
// sample, and writes the subject filled in; with input.keepFields the markers stay and the subject
// stands as typed.
void FillFields(RenderContext& context, const FieldSet& fields, const RenderInput& typed);

// Header, both text parts and the picture parts, before the soft line breaks.
void AssembleMessage(RenderContext& context);
// The complete message, line by line, as RenderMessage writes it.
QList<QByteArray> BuildMessageLines(const RenderInput& input, Prompts& prompts);
// Renders the message and replaces the file at targetPath with it in one step: a rendering that fails
// leaves an existing target as it was. An empty target builds the message and writes nothing.
void RenderMessage(const RenderInput& input, const QString& targetPath, Prompts& prompts);
// Renders the message once and replaces each target with it, in the order given, leaving what
// rendering into each target in turn would leave: the same bytes in every one, each replaced in one
// step, the working files as after a rendering, and on a failure the targets before the failing one
// replaced, the others as they were, and the failure that target's rendering reports.
void RenderMessage(const RenderInput& input, const QStringList& targetPaths, Prompts& prompts);

}  // namespace zw

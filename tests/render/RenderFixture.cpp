#include "RenderFixture.h"

namespace zw::test {

RenderFixture::RenderFixture()
    : images(folder.subfolder(u"Images"_qs)),
      input{.subject = "Neuigkeiten", .titel1 = "Kopfzeile", .titel2 = "Einleitung", .dateOn = false,
            .dateText = "Stand:", .dateDisplay = "07.12.2026", .kopfLogo = images.toUtf8() + "logo.jpg",
            .seperatorNews = images.toUtf8() + "sep.jpg", .seperatorImpressum = images.toUtf8() + "imp.jpg",
            .logoAlign = "center", .seperatorAlign = "center", .impressumAlign = "left", .textColor = "#000000",
            .linkColor = "#0000FF", .bkgColor = "#FFFFFF", .impressumText = "Zettelwerk GmbH",
            .impressumMailTo = "info@zettelwerk.de", .impressumUrl = "www.zettelwerk.de", .unsubscribeText = {},
            .unsubscribeLink = {}, .senderName = {}, .senderAddress = {}, .fieldValues = {},
            .workFolder = folder.path(), .imagesFolder = images, .copyFolder = {}, .vorschautext = {}} {
    addPicture("logo.jpg", 300);
    addPicture("sep.jpg", 100);
    addPicture("imp.jpg", 120);
}

QByteArray RenderFixture::addPicture(const QByteArray& name, int size) {
    // A JPEG's first bytes, then bytes of its own: only pictures go into a message.
    QByteArray bytes("\xFF\xD8\xFF\xE0");
    const uint seed = qHash(name);
    for (int i = 4; i < size; ++i) bytes.append(char((seed >> (i % 24)) + i * 7));
    writeAll(images + QString::fromUtf8(name), bytes);
    return bytes;
}

void RenderFixture::addBlock(const NewsBlock& block) { BlockFiles(folder.path()).write(++blocks, block.lines()); }

QList<QByteArray> RenderFixture::pictureBytes(const QList<QByteArray>& names) const {
    QList<QByteArray> all;
    for (const QByteArray& name : names) all.append(readAll(images + QString::fromUtf8(name)));
    return all;
}

QList<QByteArray> RenderFixture::assembled() {
    RenderContext context(input, prompts);
    AssembleMessage(context);
    return context.lines.lines();
}

QList<QByteArray> RenderFixture::htmlPart() {
    const QList<QByteArray> lines = assembled();
    const qsizetype start = lines.indexOf("Content-Type: text/html;") - 1;
    return lines.mid(start, lines.indexOf("------=_NextPart_2--") + 2 - start);
}

QList<QByteArray> RenderFixture::plainText() {
    RenderContext context(input, prompts);
    AddPlainTextPart(context);
    return context.lines.lines();
}

}  // namespace zw::test

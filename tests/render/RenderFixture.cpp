#include "RenderFixture.h"

namespace zw::test {

RenderFixture::RenderFixture() {
    images = folder.subfolder(QStringLiteral("Images"));
    input.subject = "Neuigkeiten";
    input.titel1 = "Kopfzeile";
    input.titel2 = "Einleitung";
    input.dateOn = false;
    input.dateText = "Stand:";
    input.dateDisplay = "07.12.2026";
    input.kopfLogo = images.toUtf8() + "logo.jpg";
    input.seperatorNews = images.toUtf8() + "sep.jpg";
    input.seperatorImpressum = images.toUtf8() + "imp.jpg";
    input.logoAlign = "center";
    input.seperatorAlign = "center";
    input.impressumAlign = "left";
    input.textColor = "#000000";
    input.linkColor = "#0000FF";
    input.bkgColor = "#FFFFFF";
    input.impressumText = "Zettelwerk GmbH";
    input.impressumMailTo = "info@zettelwerk.de";
    input.impressumUrl = "www.zettelwerk.de";
    input.workFolder = folder.path();
    input.imagesFolder = images;
    addPicture("logo.jpg", 300);
    addPicture("sep.jpg", 100);
    addPicture("imp.jpg", 120);
}

QByteArray RenderFixture::addPicture(const QByteArray& name, int size) {
    QByteArray bytes;
    bytes.reserve(size);
    const uint seed = qHash(name);
    for (int i = 0; i < size; ++i) bytes.append(char((seed >> (i % 24)) + i * 7));
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
    const qsizetype end = lines.indexOf("------=_NextPart_2--") + 1;
    return lines.mid(start, end - start + 1);
}

QList<QByteArray> RenderFixture::plainText() {
    RenderContext context(input, prompts);
    AddPlainTextPart(context);
    return context.lines.lines();
}

}  // namespace zw::test

#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QPair>

#include "render/RenderInput.h"
#include "support/Files.h"
#include "template/BlockCycle.h"

namespace zw::test {

// The render input of the shipped default template, its block files in work and its setting pictures
// copied there, as the window would render it on 8 December 2026.
inline RenderInput shippedTemplateInput(const TempFolder& work) {
    const QString images = shippedDataFolder() + u"Images/"_qs;
    const RebuildResult loaded =
        loadTemplate(shippedDataFolder() + u"Zettelwerk_Vorlage.nld"_qs, images, BlockFiles(work.path()));
    RenderInput input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
    input.copyFolder = work.path();
    return input;
}

// A small JPEG of one colour.
inline QByteArray jpeg(QColor colour, int width = 40, int height = 40) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 95);
    return bytes;
}

// A newsletter-shaped message: quoted-printable HTML (html given decoded, 8-bit as =XX) and plain
// text (given encoded), then the pictures by Content-ID, stored as they are.
inline QByteArray sampleMessage(const QByteArray& html, const QList<QPair<QByteArray, QByteArray>>& pictures,
                                const QByteArray& plainEncoded = "Text") {
    QByteArray encodedHtml;
    for (const char c : html) {
        const auto u = uchar(c);
        encodedHtml += (u >= 128 || c == '=')
                           ? "=" + QByteArray::number(u, 16).toUpper().rightJustified(2, '0')
                           : QByteArray(1, c);
    }
    QByteArray m =
        "MIME-Version: 1.0\r\nContent-Type: multipart/related; boundary=\"R\"\r\n\r\n"
        "--R\r\nContent-Type: multipart/alternative; boundary=\"A\"\r\n\r\n"
        "--A\r\nContent-Type: text/plain; charset=\"iso-8859-1\"\r\nContent-Transfer-Encoding: "
        "quoted-printable\r\n\r\n" +
        plainEncoded +
        "\r\n--A\r\nContent-Type: text/html; charset=\"iso-8859-1\"\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
        encodedHtml + "\r\n--A--\r\n";
    for (const auto& [id, bytes] : pictures)
        m += "--R\r\nContent-Type: image/jpeg\r\nContent-Transfer-Encoding: base64\r\nContent-ID: <" + id +
             ">\r\n\r\n" + bytes.toBase64() + "\r\n";
    return m + "--R--\r\n";
}

}  // namespace zw::test

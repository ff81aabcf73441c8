#include <QBuffer>
#include <QImage>

#include <gtest/gtest.h>

#include "PreviewSamples.h"
#include "dispatch/PreviewMessage.h"
#include "platform/Error.h"
#include "support/Files.h"

namespace zw::test {
namespace {

TEST(PreviewMessageTest, ContentIdsComeBackAsStoredFromTheAddressTheBrowserAsksFor) {
    const struct {
        const char* encoded;  // as the browser sends it
        QByteArray contentId;
    } rows[] = {
        {"1B_mein%20bild.jpg", "1B_mein bild.jpg"},
        {"2B_B%C3%A4ume.jpg", "2B_B\xE4ume.jpg"},     // UTF-8 back to Windows-1252
        {"3B_B%E4ume.jpg", "3B_B\xE4ume.jpg"},        // already 8-bit: as it is
        {"4B_%E2%82%AC.jpg", "4B_\x80.jpg"},          // the euro sign of Windows-1252
        {"5B_%E3%81%82.jpg", "5B_\xE3\x81\x82.jpg"},  // no Windows-1252 character: the bytes
        {"6B_100%25.jpg", "6B_100%.jpg"},
    };
    for (const auto& row : rows) {
        const auto request = previewRequestOf(
            QUrl(u"zw-preview://preview/preview1/3/cid/"_qs + QString::fromLatin1(row.encoded)));
        ASSERT_TRUE(request) << row.encoded;
        EXPECT_EQ(request->contentId, row.contentId) << row.encoded;
    }
}

TEST(PreviewMessageTest, ReferencesPointAtPictureAddressesOfTheirPreviewThatGiveTheContentIdBack) {
    const QByteArray html =
        "<img src=\"cid:1B_mein bild.jpg\"><img src='CID:2B_B\xE4ume.jpg'><td background=cid:3B_a.jpg>"
        "<div style=\"background:url(cid:4B_b.jpg)\">Text cid:5B_nicht.jpg</div>";
    // The fourth picture has the bytes of the third: the view fetches them once.
    const PreviewMessage message =
        parsePreviewMessage(sampleMessage(html, {{"1B_mein bild.jpg", jpeg(Qt::red)},
                                                 {"2B_B\xE4ume.jpg", jpeg(Qt::blue)},
                                                 {"3B_a.jpg", jpeg(Qt::green)},
                                                 {"4B_b.jpg", jpeg(Qt::green)}}),
                            u"preview2.eml"_qs);
    const QUrl page = previewAddress(u"preview2"_qs, 7);
    EXPECT_EQ(page, QUrl(u"zw-preview://preview/preview2/7/"_qs));
    const QByteArray at = "zw-preview://preview/preview2/7/cid/";
    EXPECT_EQ(htmlForView(message, page), "<img src=\"" + at + "1B_mein%20bild.jpg\"><img src='" + at +
                                              "2B_B%C3%A4ume.jpg'><td background=" + at +
                                              "3B_a.jpg><div style=\"background:url(" + at +
                                              "3B_a.jpg)\">Text cid:5B_nicht.jpg</div>");

    const struct {
        const char* address;  // as the browser asks for it
        bool picture;
        QByteArray contentId;
    } rows[] = {
        {"zw-preview://preview/preview2/7/", false, ""},
        {"zw-preview://preview/preview2/7/cid/1B_mein%20bild.jpg", true, "1B_mein bild.jpg"},
        {"zw-preview://preview/preview2/7/cid/2B_B%C3%A4ume.jpg", true, "2B_B\xE4ume.jpg"},
        {"zw-preview://preview/preview2/7/cid/3B_a%2Fb%3Fc.jpg", true, "3B_a/b?c.jpg"},
        {"zw-preview://preview/preview2/7/cid/4B_a%23b.jpg", true, "4B_a#b.jpg"},  // no fragment
    };
    for (const auto& row : rows) {
        const auto request = previewRequestOf(QUrl(QString::fromLatin1(row.address)));
        ASSERT_TRUE(request) << row.address;
        EXPECT_EQ(request->previewName, u"preview2"_qs);
        EXPECT_EQ(request->number, 7u);
        EXPECT_EQ(request->isPicture, row.picture);
        EXPECT_EQ(request->contentId, row.contentId);
    }
    for (const char* foreign :
         {"zw-preview://preview1/", "zw-preview://preview/preview1/x/",
          "zw-preview://preview/preview1/7/cid/", "zw-preview://preview/preview1/7/a.jpg",
          "https://preview/preview1/7/", "cid:1B_a.jpg"})
        EXPECT_FALSE(previewRequestOf(QUrl(QString::fromLatin1(foreign)))) << foreign;
}

TEST(PreviewMessageTest, ReadsHtmlPlainTextPicturesAndSizes) {
    const QByteArray red = jpeg(Qt::red), blue = jpeg(Qt::blue);
    const QByteArray bytes = sampleMessage(
        "<p>Gr\xFC\xDF"
        "e</p>",
        {{"1B_mein bild.jpg", red}, {"2B_B\xE4ume.jpg", blue}}, "Zeile eins=0D=0Azwei =E4");
    const PreviewMessage message = parsePreviewMessage(bytes, u"preview1.eml"_qs);
    EXPECT_EQ(message.html,
              "<p>Gr\xFC\xDF"
              "e</p>");  // the line end before a boundary is the boundary's
    EXPECT_EQ(message.htmlCharset, "iso-8859-1");
    EXPECT_EQ(message.plainText, "Zeile eins\r\nzwei \xE4");
    ASSERT_EQ(message.pictures.size(), 2);
    ASSERT_TRUE(message.picture("2B_B\xE4ume.jpg"));
    EXPECT_EQ(message.pictureBytes(*message.picture("1B_mein bild.jpg")), red);
    EXPECT_EQ(message.pictureBytes(*message.picture("2B_B\xE4ume.jpg")), blue);
    EXPECT_EQ(message.picture("2B_B\xE4ume.jpg")->mimeType, "image/jpeg");
    EXPECT_EQ(message.messageSize, bytes.size());
    EXPECT_EQ(message.htmlPartSize, qsizetype(strlen("<p>Gr=FC=DFe</p>")));
}

TEST(PreviewMessageTest, Base64WithLineEndsAndPaddingDecodesAsAMailReaderDoes) {
    QByteArray bytes(200, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 37 + 11);
    for (const int size : {0, 1, 2, 3, 57, 58, 200}) {
        const QByteArray encoded = bytes.first(size).toBase64();
        QByteArray lines;  // 76 characters a line, as messages carry it, and a stray blank
        for (qsizetype at = 0; at < encoded.size(); at += 76) lines += encoded.mid(at, 76) + "\r\n";
        lines.insert(lines.size() / 2, ' ');
        EXPECT_EQ(decodeBase64(lines), bytes.first(size)) << size;
    }
}

TEST(PreviewMessageTest, SizesInTheBarAndTheWarningsPastTheLimits) {
    PreviewMessage message;
    message.messageSize = 3 * 1024 * 1024 + 300 * 1024;
    // Gmail cuts off past about 102 KB: the warning comes past 100 KB, and says what goes missing.
    for (const qint64 html : {100 * 1024, 100 * 1024 + 1}) {
        message.htmlPartSize = html;
        EXPECT_EQ(sizeWarning(message).isEmpty(), html == 100 * 1024);
    }
    EXPECT_TRUE(sizeWarning(message).startsWith(u"Gmail kürzt Nachrichten ab etwa 102 KB"_qs));
    EXPECT_TRUE(sizeWarning(message).contains(u"Impressum"_qs) &&
                sizeWarning(message).contains(u"Abmeldelink"_qs));
    EXPECT_EQ(sizeSummary(message), u"Nachricht: 3,3 MB · HTML-Teil: 100,0 KB"_qs);
    const QString providers = u"Viele Anbieter nehmen so große Nachrichten nicht an"_qs;
    message.htmlPartSize = 1000;
    for (const qint64 size : {kProviderLimit, kProviderLimit + 1}) {
        message.messageSize = size;
        EXPECT_EQ(sizeWarning(message).contains(providers), size > kProviderLimit) << size;
    }
    message.htmlPartSize = kClipLimit + 1;  // both
    EXPECT_TRUE(sizeWarning(message).contains(providers) && sizeWarning(message).contains(u"102 KB"_qs));
}

TEST(PreviewMessageTest, UnreadableOrForeignFilesGiveAGermanReason) {
    TempFolder folder;
    writeAll(folder.file(u"preview1.eml"_qs), "Subject: nur Text\r\n\r\nHallo\r\n");
    const struct {
        QString path;
        QString reason;
    } rows[] = {
        {folder.file(u"preview1.eml"_qs), u"preview1.eml enthält keinen HTML-Teil"_qs},
        {folder.file(u"preview2.eml"_qs), u"kann nicht geöffnet werden"_qs},
    };
    for (const auto& row : rows) {
        try {
            readPreviewMessage(row.path);
            ADD_FAILURE() << row.path.toStdString();
        } catch (const Error& e) {
            EXPECT_TRUE(e.message().contains(row.reason)) << e.message().toStdString();
        }
    }
}

}  // namespace
}  // namespace zw::test

// The phone layout and the preview text: the text commands' markup as a phone shows it, picture widths
// for Outlook, and the message of every shipped template as a mail program's parser reads it.
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "RenderFixture.h"
#include "ShippedRender.h"
#include "render/PhoneLayout.h"
#include "render/PictureWidth.h"
#include "support/MimeCheck.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

TEST(PhoneNewsText, ListsSizesAndLinkColours) {
    const QByteArray ul = "<ul style=3D\"margin:8px 0;padding:0 0 0 24px\">";
    const QByteArray li = "<li style=3D\"margin:0 0 4px 0\">";
    const struct {
        QByteArray text, shown;
    } rows[] = {
        {"Neu<br><b>fett</b>", "Neu<br><b>fett</b>"},
        {"Vorher:<li>eins</li><li>zwei</li>Danach",
         "Vorher:" + ul + li + "eins</li>" + li + "zwei</li></ul>Danach"},
        {"<LI>eins</LI> <li>zwei</li><br><li>neu</li>",
         ul + li + "eins</LI> " + li + "zwei</li></ul><br>" + ul + li + "neu</li></ul>"},
        {"<li>offen", ul + li + "offen</ul>"},
        {"<font size=\"+1\">gross</font>", "<span style=3D\"font-size:18px\">gross</span>"},
        {"<font size=3D\"+3\">x</font><font size=\"+7\">y</font>",
         "<span style=3D\"font-size:24px\">x</span><span style=3D\"font-size:32px\">y</span>"},
        {"<font size=\"+2\"><font color=\"red\">x</font></font>",
         "<span style=3D\"font-size:20px\"><font color=3D\"red\">x</font></span>"},
        {"<a href=3D\"http://x.de/?a=3D1\">Link</a>",
         "<a href=3D\"http://x.de/?a=3D1\" style=3D\"color:#0000FF\">Link</a>"},
        {"<a href=\"x\" style=\"color:red\">eigen</a>", "<a href=3D\"x\" style=3D\"color:red\">eigen</a>"},
        {"<label>kein li</label> 3 < 4 = 4", "<label>kein li</label> 3 < 4 =3D 4"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(PhoneNewsText(row.text, "#0000FF"), row.shown) << row.text.toStdString();
}

TEST(PictureWidth, FromTheHeaderOfEachKind) {
    const QByteArray app0 = QByteArray("\xFF\xE0\x00\x10JFIF\x00", 9) + QByteArray(9, '\0');
    const QByteArray sof0 = QByteArray("\xFF\xC0\x00\x11\x08\x00\x78\x00\xA0", 9);  // 160 x 120
    const QByteArray dht = QByteArray("\xFF\xC4\x00\x04\x00\x00", 6);
    const struct {
        QByteArray head;
        std::optional<int> width;
    } rows[] = {
        {"\xFF\xD8" + app0 + dht + "\xFF" + sof0, 160},  // a fill byte before the frame marker
        {"\xFF\xD8" + app0 + QByteArray("\xFF\xDA\x00\x02", 4) + sof0, std::nullopt},
        {"\xFF\xD8" + app0, std::nullopt},
        {QByteArray("\x89PNG\r\n\x1A\n\x00\x00\x00\x0DIHDR\x00\x00\x02\x58\x00\x00\x00\x0A", 24), 600},
        {"kein Bild, nur Text", std::nullopt},
    };
    TempFolder folder;
    for (const auto& row : rows) {
        writeAll(folder.file(u"bild"_qs), row.head);
        EXPECT_EQ(PictureWidth(folder.file(u"bild"_qs)), row.width) << row.head.toHex().toStdString();
    }
    EXPECT_EQ(PictureWidth(folder.file(u"fehlt"_qs)), std::nullopt);
}

// The hidden preview text heads the HTML body in both layouts and the plain text only in the phone
// layout; a blank one writes nothing.
using LayoutMessage = RenderFixture;

// The index of the first line that starts so.
qsizetype lineStarting(const QList<QByteArray>& lines, const QByteArray& start) {
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (lines[i].startsWith(start))
            return i;
    return -1;
}

TEST_F(LayoutMessage, PreviewTextInBothLayouts) {
    const QList<QByteArray> classicPlain = plainText();
    const QList<QByteArray> classicHtml = htmlPart();
    input.vorschautext = "  ";
    EXPECT_EQ(htmlPart(), classicHtml);

    input.vorschautext = "Rabatt=20 % <nur> heute & morgen";
    const QByteArray hidden =
        "<div style=3D\"display:none;max-height:0;overflow:hidden;mso-hide:all\">Rabatt=3D20 % &lt;nur&gt; "
        "heute "
        "&amp; morgen</div>";
    QList<QByteArray> expected = classicHtml;
    expected.insert(lineStarting(classicHtml, "<BODY ") + 1, hidden);
    EXPECT_EQ(htmlPart(), expected);
    EXPECT_EQ(plainText(), classicPlain);

    // The phone layout's preview text ends in blanks that show nothing, and opens the plain text.
    input.mobileLayout = true;
    const QList<QByteArray> html = htmlPart();
    EXPECT_EQ(html.value(lineStarting(html, "<body ") + 1),
              hidden.chopped(6) + QByteArray("&nbsp;&zwnj;").repeated(90) + "</div>");
    EXPECT_EQ(plainText().value(0), "Rabatt=3D20 % <nur> heute & morgen");
}

QList<QByteArray> tags(const QByteArray& html, const char* name) {
    QList<QByteArray> found;
    const QRegularExpression tag(QStringLiteral("<%1\\b[^>]*>").arg(QLatin1String(name)),
                                 QRegularExpression::CaseInsensitiveOption);
    for (const auto& match : tag.globalMatch(QString::fromLatin1(html)))
        found.append(match.captured().toLatin1());
    return found;
}

// What a screen reader and a webmail need of every phone-layout message: its language, layout tables
// marked as such, every picture with a text, every link with a name, colours inline, no <style>, list
// items inside lists, picture widths for Outlook within their columns.
::testing::AssertionResult readsWellEverywhere(const QByteArray& message, const QByteArray& bkgColor) {
    const MimeNewsletter parsed = parseNewsletter(message);
    if (!parsed.problems.isEmpty())
        return ::testing::AssertionFailure() << parsed.problems.join(u';').toStdString();
    const QByteArray html = parsed.html;
    QStringList faults;
    // Every "=" of the encoded part is an escape or a soft line break: none is left for a reader to guess.
    const qsizetype body = message.indexOf("\r\n\r\n", message.indexOf("Content-Type: text/html;"));
    const QByteArray encoded = message.mid(body, message.indexOf("------=_NextPart_2--") - body);
    static const QRegularExpression bareEquals(u"=(?!3D|\r\n)"_qs);
    if (QString::fromLatin1(encoded).contains(bareEquals))
        faults << u"ein \"=\" ohne Escape"_qs;
    if (!html.contains("<html lang=\"de\">") || !html.contains("<title>"))
        faults << u"ohne lang oder title"_qs;
    if (html.contains("<style") || html.contains(" class="))
        faults << u"braucht Stylesheet"_qs;
    for (const QByteArray& table : tags(html, "table"))
        if (!table.contains(" role=\"presentation\""))
            faults << QString::fromLatin1(table);
    for (const QByteArray& img : tags(html, "img")) {
        static const QRegularExpression widthAttribute(u" width=\"(\\d+)\""_qs);
        const auto width = widthAttribute.match(QString::fromLatin1(img));
        if (!img.contains(" alt=\"") || !width.hasMatch() || width.captured(1).toInt() > 600 ||
            !img.contains("width:100%;max-width:" + width.captured(1).toLatin1() + "px;height:auto"))
            faults << QString::fromLatin1(img);
    }
    static const QRegularExpression link(u"(<a\\b[^>]*>)(.*?)</a>"_qs,
                                         QRegularExpression::DotMatchesEverythingOption);
    for (const auto& match : link.globalMatch(QString::fromLatin1(html))) {
        static const QRegularExpression named(u"alt=\"[^\"]+\"|>[^<\\s]"_qs);
        if (!match.captured(1).contains(u"style=\"color:"_qs) ||
            !(u">"_qs + match.captured(2)).contains(named))
            faults << match.captured();
    }
    const qsizetype items = html.count("<li"), inLists = html.count("<ul");
    if (items > 0 && inLists == 0)
        faults << u"Listenpunkte ohne Liste"_qs;
    if (!html.contains("bgcolor=\"" + bkgColor + "\" style=\"width:100%;background-color:" + bkgColor))
        faults << u"Hintergrund nicht an der Tabelle"_qs;
    if (!faults.isEmpty())
        return ::testing::AssertionFailure() << faults.join(u'\n').toStdString();
    return ::testing::AssertionSuccess();
}

TEST(PhoneLayout, EveryShippedTemplateReadsWellEverywhere) {
    FakePrompts prompts;
    for (const QString& file : shippedTemplates()) {
        SCOPED_TRACE(file.toStdString());
        const QString path = shippedDataFolder() + file;
        const TemplateSettings settings = readSettings(readAll(path));
        ASSERT_TRUE(settings.mobileLayout());
        const QByteArray message = renderShipped(path, prompts);
        EXPECT_TRUE(readsWellEverywhere(message, settings.BKGColor));
        const NewsletterTemplate parsed = parseTemplate(readAll(path));
        const QByteArray html = parseNewsletter(message).html;
        // The news pictures are named by their headlines, the head logo by the newsletter's title.
        for (const NewsBlock& block : parsed.blocks)
            if (!block.Picture.isEmpty()) {
                EXPECT_TRUE(html.contains(" alt=\"" + AltText(block.Headline) + "\""));
            }
        EXPECT_TRUE(html.contains("width=\"600\" alt=\"" + AltText(settings.Titel1) + "\""));
        EXPECT_EQ(html.contains("<h1 "), !settings.Titel1.isEmpty());
    }
}

// The edges the shipped templates do not show: empty imprint addresses write no nameless links, a
// linked picture without a headline is named by its link text, a picture wider than its column is
// given the column's width.
TEST_F(LayoutMessage, PhoneLayoutNamesEveryLinkAndPicture) {
    input.mobileLayout = true;
    input.impressumMailTo.clear();
    input.impressumUrl = " ";
    input.unsubscribeText = "Abmelden", input.unsubscribeLink = "x.de/ab?id=1";
    writeAll(images + u"breit.jpg"_qs, QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\x00\x10\x03\x20", 11));
    addBlock({"", "C:\\breit.jpg", "Zum Artikel", "x.de/a?b=1", "<li>eins</li><li>zwei</li>"});
    addBlock({"Ohne Bild", "", "", "", "Text"});
    const QByteArray message = crlf(BuildMessageLines(input, prompts));
    EXPECT_TRUE(readsWellEverywhere(message, input.bkgColor));
    const QByteArray html = parseNewsletter(message).html;
    EXPECT_TRUE(html.contains("<img src=\"cid:3B_breit.jpg\" width=\"180\" alt=\"Zum Artikel\""));
    EXPECT_FALSE(html.contains("mailto:"));
    EXPECT_TRUE(html.contains("<a href=\"http://x.de/ab?id=1\""));
    EXPECT_EQ(html.count("<!--[if mso]><table"), 2);  // the content and the one block with a picture
}

// A page without a title is read out nameless: without a subject the first header line with a text
// names it, without its markup. Mail apps that honour it keep the designed colours in dark mode.
TEST_F(LayoutMessage, PhoneTitleAndColourScheme) {
    input.mobileLayout = true;
    const struct {
        QByteArray subject, titel1, titel2, title;
    } rows[] = {
        {"Neuigkeiten", "Kopf", "", "<title>Neuigkeiten</title>"},
        {" ", "<b>Kopf</b> & \"Zeile\"", "", "<title>Kopf & &quot;Zeile&quot;</title>"},
        {"", " ", "Zweite=Zeile", "<title>Zweite=3DZeile</title>"},
        {"", "", "", "<title>Newsletter</title>"},
    };
    for (const auto& row : rows) {
        input.subject = row.subject, input.titel1 = row.titel1, input.titel2 = row.titel2;
        const QList<QByteArray> html = htmlPart();
        EXPECT_TRUE(html.contains(row.title)) << row.title.toStdString();
        EXPECT_TRUE(html.contains("<meta name=3D\"color-scheme\" content=3D\"light\">"));
    }
}

}  // namespace
}  // namespace zw::test

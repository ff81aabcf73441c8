// The phone layout's plain-text part: markup as a person reads it, wrapped as format=flowed, and the
// message of every shipped template as text-only readers get it. The shipped colours pass the
// contrast rule of the page "Farben".
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "RenderFixture.h"
#include "ShippedRender.h"
#include "editing/Colours.h"
#include "render/MarkupText.h"
#include "support/MimeCheck.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

TEST(MarkupToPlainLines, TagsListsLinksAndEntities) {
    const struct {
        QByteArray stored;
        QList<QByteArray> lines;
    } rows[] = {
        {"Neu<br><b>fett</b> und <I>kursiv</I>", {"Neu", "fett und kursiv"}},
        {"Vorher:<li>eins</li> <li> zwei</li>Danach", {"Vorher:", "- eins", "- zwei", "Danach"}},
        {"Absatz<br><br>noch einer<br>", {"Absatz", "", "noch einer"}},
        {"an <a href=3D\"mailto:x@y.de\">x@y.de</a>.", {"an x@y.de."}},
        {"in die <a href=\"http://x.de/l?a=3D1&amp;b=2\">Kuchenliste</a> ein",
         {"in die Kuchenliste <http://x.de/l?a=1&b=2> ein"}},
        {"<a href='www.x.de'>www.x.de/</a> <A HREF=x.de/neu></A>", {"www.x.de/ x.de/neu"}},
        {"3 < 4 &amp; 5&gt;2 &euro;&#228;&#x20AC; &unbekannt; a=3Db",
         {"3 < 4 & 5>2 \x80\xE4\x80 &unbekannt; a=b"}},
        {"  viel \t  Platz ", {"viel Platz"}},
        {"<font size=\"+1\">14,90 Euro</font><!-- still --> <u>je</u><p>Person</p>",
         {"14,90 Euro je", "Person"}},
        {"Hallo \x01"
         "0\x02, <b>\x01"
         "1\x02</b>",
         {"Hallo \x01"
          "0\x02, \x01"
          "1\x02"}},
        {"", {}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(MarkupToPlainLines(row.stored), row.lines) << row.stored.toStdString();
}

TEST(FlowedLines, WrappedAtBlanksWithSoftBreaksStuffedAndEscaped) {
    const QByteArray a(30, 'a'), b(30, 'b'), c(30, 'c'), url = "http://x.de/" + QByteArray(90, 'u');
    const QByteArray field =
        "\x01"
        "0\x02";  // counts as a name of 12
    const struct {
        QByteArray line;
        QList<QByteArray> flowed;
    } rows[] = {
        {"kurz", {"kurz"}},
        {"", {""}},
        {a + ' ' + b + ' ' + c, {a + ' ' + b + "=20", c}},
        {"vor " + url + " nach", {"vor=20", url + "=20", "nach"}},
        {"From Berlin > ein Zitat", {" From Berlin > ein Zitat"}},
        {"> zitiert a=b ", {" > zitiert a=3Db"}},
        {QByteArray(60, 'x') + ' ' + field, {QByteArray(60, 'x') + "=20", field}},
        {QByteArray(59, 'x') + ' ' + field, {QByteArray(59, 'x') + ' ' + field}},
    };
    for (const auto& row : rows) EXPECT_EQ(FlowedLines(row.line), row.flowed) << row.line.toStdString();
}

using PhonePlainText = RenderFixture;

// The whole part of a small phone newsletter, line by line, with personal fields filled in as the
// HTML part fills them.
TEST_F(PhonePlainText, ReadsAsTextWithLinksImprintAndUnsubscribe) {
    input.mobileLayout = true;
    input.dateOn = true;
    input.titel1 = "Hallo {Vorname|alle}";
    input.titel2 = "<b>Einleitung</b> mit =3D";
    input.vorschautext = "Rabatt=20 heute";
    input.unsubscribeText = "Abmelden";
    input.unsubscribeLink = "x.de/ab?m={E-Mail}";
    input.fieldValues =
        FieldValues{{fieldKey(u"Vorname"_qs), u"Anna"_qs}, {fieldKey(u"E-Mail"_qs), u"anna@example.org"_qs}};
    addPicture("bild.jpg");
    addBlock({"Erste <i>Meldung</i>", "C:\\bild.jpg", "Mehr lesen", "x.de/eins",
              "Ein langer Satz, der weit mehr als zweiundsiebzig Zeichen hat und darum umbrochen "
              "wird.<li>Punkt</li>Siehe <a href=3D\"http://x.de/liste\">Liste</a>."});
    addBlock({"Zweite", "", "", "mail@x.de", "Kurz"});
    const QByteArray message = crlf(BuildMessageLines(input, prompts));
    EXPECT_TRUE(
        message.contains("Content-Type: text/plain;\r\n\tcharset=\"iso-8859-1\";\r\n\tformat=flowed\r\n"));
    EXPECT_TRUE(message.contains("Content-Type: image/jpeg;\r\n"));
    EXPECT_FALSE(message.contains("image/jpg"));
    const QList<QByteArray> expected = {
        "Rabatt=20 heute",
        "",
        "Hallo Anna",
        "Einleitung mit =",
        "",
        "Stand: 07.12.2026",
        "",
        "Erste Meldung",
        "",
        "Ein langer Satz, der weit mehr als zweiundsiebzig Zeichen hat und darum ",
        "umbrochen wird.",
        "- Punkt",
        "Siehe Liste <http://x.de/liste>.",
        "",
        "Mehr lesen: http://x.de/eins",
        "",
        "Zweite",
        "",
        "Kurz",
        "",
        "mail@x.de",
        "",
        "Impressum:",
        "Zettelwerk GmbH",
        "info@zettelwerk.de",
        "http://www.zettelwerk.de",
        "",
        "Abmelden: http://x.de/ab?m=anna%40example.org",
    };
    EXPECT_EQ(plainLines(message), expected);
}

// The link addresses a template's texts hold, as typed.
QList<QByteArray> linkAddresses(const NewsletterTemplate& stored) {
    QList<QByteArray> addresses;
    for (const QByteArray& address :
         {stored.settings.ImpressumMailTo, stored.settings.ImpressumURL, stored.settings.UnsubscribeLink})
        addresses.append(address);
    static const QRegularExpression href(u"href=(?:3D)?\"(?:mailto:)?([^\"]+)\""_qs);
    for (const NewsBlock& block : stored.blocks) {
        addresses.append(block.LinkUrl);
        for (const auto& match : href.globalMatch(QString::fromLatin1(block.Text)))
            addresses.append(match.captured(1).replace(u"=3D"_qs, u"="_qs).toLatin1());
    }
    addresses.removeAll(QByteArray());
    return addresses;
}

TEST(ShippedPhoneTemplates, ReadAsPlainText) {
    FakePrompts prompts;
    static const QRegularExpression tag(u"</?(a|b|i|u|li|br|font|p|div|span|ul)\\b[^>]*>"_qs,
                                        QRegularExpression::CaseInsensitiveOption);
    for (const QString& file : shippedTemplates()) {
        SCOPED_TRACE(file.toStdString());
        const NewsletterTemplate stored = parseTemplate(readAll(shippedDataFolder() + file));
        const QByteArray message = renderShipped(shippedDataFolder() + file, prompts);
        const QByteArray plain = parseNewsletter(message).plain;
        EXPECT_FALSE(QString::fromLatin1(plain).contains(tag)) << plain.toStdString();
        for (const QByteArray& line : plainLines(message)) EXPECT_LE(line.size(), 78) << line.toStdString();
        for (const QByteArray& address : linkAddresses(stored))
            EXPECT_TRUE(plain.contains(address)) << address.toStdString();
        EXPECT_TRUE(plain.contains(stored.settings.UnsubscribeText + ':'));
        EXPECT_FALSE(message.contains("Content-Type: image/jpg"));
    }
}

TEST(ShippedTemplates, ColoursPassTheContrastRule) {
    for (const QString& file : shippedTemplates()) {
        const TemplateSettings settings = readSettings(readAll(shippedDataFolder() + file));
        EXPECT_EQ(contrastWarning(settings), QString()) << file.toStdString();
    }
}

}  // namespace
}  // namespace zw::test

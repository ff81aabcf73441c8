// Personal fields: found in the texts, filled in with the escaping of their place.
#include <gtest/gtest.h>

#include "render/Fields.h"
#include "render/RenderFixture.h"
#include "render/RenderMessage.h"
#include "support/MimeCheck.h"

namespace zw::test {
namespace {

enum class Where { Text, Link, Body };

QByteArray filled(const QByteArray& text, Where where, const FieldValues* values, FieldPlace place) {
    FieldSet set;
    const QByteArray marked = where == Where::Text   ? markTextFields(text, set)
                              : where == Where::Link ? markLinkFields(text, set)
                                                     : markBodyFields(text, set);
    return fillMarkers(marked, set, resolveFields(set, values), place);
}

TEST(PersonalFieldText, FilledInWithTheEscapingOfTheirPlace) {
    FieldValues anna{{fieldKey(u"Vorname"_qs), u"Anna 😀"_qs},
                     {fieldKey(u"Nachname"_qs), u"Müller & Söhne <GmbH>"_qs},
                     {fieldKey(u"Anrede"_qs), u"Sehr=geehrte"_qs},
                     {fieldKey(u"E-Mail"_qs), u"a+b@x.de"_qs},
                     {fieldKey(u"Leer"_qs), QString()}};
    const FieldPlace html = FieldPlace::Html, plain = FieldPlace::Plain, header = FieldPlace::Header;
    const struct {
        QByteArray text;
        Where where;
        FieldPlace place;
        QByteArray expected;
    } rows[] = {
        {"Liebe {Vorname|liebe Mitglieder},", Where::Text, html, "Liebe Anna &#128512;,"},
        {"Liebe {Leer|liebe Mitglieder},", Where::Text, html, "Liebe liebe Mitglieder,"},
        {"[{Leer}] [{Vornahme}] [{Vornahme|Hallo}]", Where::Text, html, "[] [] [Hallo]"},
        {"{Nachname}", Where::Text, html,
         "M\xFC"
         "ller &amp; S\xF6hne &lt;GmbH&gt;"},
        {"{Nachname}", Where::Text, plain,
         "M\xFC"
         "ller & S\xF6hne <GmbH>"},
        {"{Nachname}", Where::Text, header,
         "M\xFC"
         "ller & S\xF6hne <GmbH>"},
        {"{Anrede} a=b", Where::Text, html, "Sehr=3Dgeehrte a=b"},
        {"{ nachname |x}", Where::Text, plain,
         "M\xFC"
         "ller & S\xF6hne <GmbH>"},
        {"{E-Mail} {EMAIL} {Mail}", Where::Text, plain, "a+b@x.de a+b@x.de a+b@x.de"},
        {"{{Vorname}} {{{Leer|x}}} }} {{", Where::Text, plain, "{Vorname} {x} } {"},
        // Braces that are no field stay as typed.
        {"{} {|x} {a\tb} {Vorname", Where::Text, plain, "{} {|x} {a\tb} {Vorname"},
        // A value never changes where a link leads: fields only in the query, percent-encoded.
        {"https://v.example/{E-Mail}/ab?adresse={E-Mail}&n={Nachname}", Where::Link, html,
         "https://v.example/{E-Mail}/ab?adresse=a%2Bb%40x.de&n=M%C3%BCller%20%26%20S%C3%B6hne%20%3CGmbH%3E"},
        {"v.example/{Vorname}", Where::Link, html, "v.example/{Vorname}"},
        {"Hallo {Vorname}, <a href=3D\"https://x/{Vorname}?id={E-Mail}\">Link {Leer|hier}</a>", Where::Body,
         html, "Hallo Anna &#128512;, <a href=3D\"https://x/{Vorname}?id=a%2Bb%40x.de\">Link hier</a>"},
        {"<a href='?v={Vorname}'>{Vorname}</a>", Where::Body, plain,
         "<a href='?v=Anna%20%F0%9F%98%80'>Anna &#128512;</a>"},
        // A value inside any attribute stays inside it: an address percent-encoded, any other value
        // escaped, and one typed without quotes gets them.
        {"<a href=https://x.example/?n={Nachname}>{Vorname}</a>", Where::Body, html,
         "<a href=\"https://x.example/?n=M%C3%BCller%20%26%20S%C3%B6hne%20%3CGmbH%3E\">Anna &#128512;</a>"},
        {"<img title={Nachname} alt = '{Anrede}' src=x.jpg><b class=\"{Leer|k}\">", Where::Body, html,
         "<img title=\"M\xFC"
         "ller &amp; S\xF6hne &lt;GmbH&gt;\" alt = 'Sehr=3Dgeehrte' src=x.jpg><b class=\"k\">"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(filled(row.text, row.where, &anna, row.place), row.expected) << row.text.toStdString();

    // The sample: every fallback, or the field's name.
    EXPECT_EQ(filled("{Vorname|liebe Mitglieder}, {Nachname} <{E-Mail}>", Where::Text, nullptr, plain),
              "liebe Mitglieder, Nachname <E-Mail>");
}

TEST(PersonalFieldText, TextsWithoutFieldSyntaxStayAsTheyAre) {
    for (const QByteArray text : {"", "Preis {ca. 5", "a } b", "<font size=\"+3\">{}</font>", "{|x}", "{--}",
                                  "<style>p{color:red} b { margin: 0 }</style>"}) {
        FieldSet set;
        EXPECT_FALSE(hasFieldSyntax(text)) << text.toStdString();
        EXPECT_EQ(markBodyFields(text, set), text);
        EXPECT_EQ(markLinkFields(text, set), text);
        EXPECT_TRUE(set.isEmpty());
    }
}

TEST(PersonalFieldText, CellsAndKeys) {
    EXPECT_EQ(cleanFieldValue(u" Anna\r\nMaria\x07\tBerg \u2028"_qs), u"Anna Maria Berg"_qs);
    EXPECT_EQ(fieldKey(u"E-Mail-Adresse"_qs), fieldKey(u"mail"_qs));
    EXPECT_EQ(fieldKey(u"First Name"_qs), fieldKey(u"VORNAME"_qs));
    EXPECT_NE(fieldKey(u"Feld 1"_qs), fieldKey(u"Feld 2"_qs));

    FieldSet set;
    markTextFields("{Vorname|liebe Mitglieder} {vorname} {Anrede}", set);
    markLinkFields("x?a={Vorname}", set);
    set.subject =
        "Hallo \x01"
        "0\x02";
    EXPECT_EQ(set.names(), (QStringList{u"Vorname"_qs, u"Anrede"_qs}));
    const FieldSet back = FieldSet::parse(set.serialize());
    EXPECT_EQ(back.fields, set.fields);
    EXPECT_EQ(back.subject, set.subject);
}

using PersonalFieldRendering = RenderFixture;

// One recipient's message rendered with its values, read back by GMime.
TEST_F(PersonalFieldRendering, RendersTheValuesOrTheSample) {
    input.subject =
        "Gr\xFC\xDF"
        "e f\xFCr {Vorname|alle}";
    input.titel1 = "Liebe {Vorname|liebe Mitglieder},";
    input.impressumText = "Gesendet an {E-Mail}";
    input.unsubscribeText = "Abmelden";
    input.unsubscribeLink = "https://v.example/ab?m={E-Mail}";
    const QByteArray longText(90, 'x');
    addBlock({"F\xFCr {Nachname}!", "", "", "", longText + " {Vorname} & {{Klammern}}"});

    const MimeNewsletter sample = parseNewsletter(crlf(BuildMessageLines(input, prompts)));
    EXPECT_TRUE(sample.problems.isEmpty()) << sample.problems.join(u';').toStdString();
    EXPECT_EQ(sample.subject, u"Grüße für alle"_qs);
    EXPECT_TRUE(sample.html.contains("Liebe liebe Mitglieder,"));
    EXPECT_TRUE(sample.html.contains(longText + " Vorname & {Klammern}"));

    input.fieldValues = FieldValues{{u"vorname"_qs, u"Zoë <3"_qs}, {u"email"_qs, u"z@x.de"_qs}};
    const QByteArray message = crlf(BuildMessageLines(input, prompts));
    const MimeNewsletter zoe = parseNewsletter(message);
    EXPECT_EQ(zoe.subject, u"Grüße für Zoë <3"_qs);
    for (const QByteArray& text :
         {QByteArray("Liebe Zo\xEB &lt;3,"), QByteArray("F\xFCr !"), longText + " Zo\xEB &lt;3 & {Klammern}",
          QByteArray("Gesendet an z@x.de"), QByteArray("https://v.example/ab?m=z%40x.de")})
        EXPECT_TRUE(QByteArray(zoe.html).replace("\r\n", "\n").contains(text)) << text.toStdString();
    EXPECT_TRUE(plainLines(message).contains("Liebe Zo\xEB <3,"));
    EXPECT_FALSE(message.contains('\x01'));
}

}  // namespace
}  // namespace zw::test

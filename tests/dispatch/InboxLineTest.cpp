// The line an inbox shows of the newsletter: from real renderings, and the first words of odd HTML.
#include <gtest/gtest.h>

#include "PreviewSamples.h"
#include "dispatch/InboxLine.h"
#include "dispatch/PreviewMessage.h"
#include "render/RenderMessage.h"
#include "support/FakePrompts.h"
#include "support/Files.h"

namespace zw::test {
namespace {

// The shipped template rendered for one recipient, in both layouts, with and without a preview text:
// the subject is filled in and decoded, and the hidden preview text (else the title) comes first.
TEST(InboxLineTest, ARenderingShowsTheRecipientsSubjectAndFirstWords) {
    TempFolder work;
    const struct {
        bool mobile;
        QByteArray vorschautext;
        QString snippetStart;
    } rows[] = {
        {true, "Liebe {Vorname|Mitglieder}, heute: Herbstfest & mehr",
         u"Liebe Zoë, heute: Herbstfest & mehr"_qs},
        {false, "Liebe {Vorname|Mitglieder}, heute: Herbstfest & mehr",
         u"Liebe Zoë, heute: Herbstfest & mehr"_qs},
        // The phone layout puts the date line above the title, the classic one below.
        {true, "", u"Ausgabe vom 08.12.2026 Gartenpost für Zoë Neues aus dem Verein Sommerfest"_qs},
        {false, "", u"Gartenpost für Zoë Neues aus dem Verein Ausgabe vom 08.12.2026 Sommerfest"_qs},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.vorschautext.constData());
        SCOPED_TRACE(row.mobile);
        RenderInput input = shippedTemplateInput(work);
        input.mobileLayout = row.mobile;
        input.vorschautext = row.vorschautext;
        input.subject =
            "Hallo {Vorname}, Gr\xFC\xDF"
            "e &#9731;";  // the snowman needs an encoded word
        input.titel1 = "Gartenpost f\xFCr {Vorname}";
        input.titel2 = "Neues aus dem <b>Verein</b>";
        input.fieldValues = FieldValues{{u"vorname"_qs, u"Zoë"_qs}};
        FakePrompts prompts;
        const PreviewMessage message =
            parsePreviewMessage(crlf(BuildMessageLines(input, prompts)), u"preview1.eml"_qs);
        const InboxLine line = inboxLine(message, u"Gartenverein"_qs);
        EXPECT_EQ(line.subject, u"Hallo Zoë, Grüße ☃"_qs);
        // The preview text stands alone; without one the first words run on.
        if (row.vorschautext.isEmpty())
            EXPECT_TRUE(line.snippet.startsWith(row.snippetStart)) << line.snippet.toStdString();
        else
            EXPECT_EQ(line.snippet, row.snippetStart);
        EXPECT_LE(line.snippet.size(), 121);
        EXPECT_EQ(line.text(), u"Gartenverein – Hallo Zoë, Grüße ☃ – "_qs + line.snippet);
    }
}

TEST(InboxLineTest, FirstWordsLeaveMarkupOutAndRunBlanksTogether) {
    const struct {
        const char* html;
        QString snippet;
    } rows[] = {
        {"<html><head><title>Betreff</title><style>p{color:red}</style></head><body bgcolor=\"#fff\">"
         "<!--[if mso]><table><tr><td>Outlook<![endif]--><p>Am <b>Sams</b>tag</p><p>um&nbsp;3</p></body>",
         u"Am Samstag um 3"_qs},
        {"Fisch &amp; Chips &lt;frisch&gt; &#228;&#xFC; &auml;&szlig; &unbekannt; 3 < 4",
         u"Fisch & Chips <frisch> äü äß &unbekannt; 3 < 4"_qs},
        {"<table><tr><td>links</td><td>rechts</td></tr></table>\r\n\t <div>  unten </div>",
         u"links rechts unten"_qs},
        {"<body><script>alert(1)</script>Text", u"Text"_qs},
        {"<body><div style=\"display: none\">Vorschau &amp; mehr</div><p>Titel</p>", u"Vorschau & mehr"_qs},
        {"<body><p>Titel</p><div style=\"display:none\">versteckt</div>", u"Titel versteckt"_qs},
        {"", QString()},
    };
    for (const auto& row : rows)
        EXPECT_EQ(inboxSnippet(QString::fromUtf8(row.html)), row.snippet) << row.html;
    EXPECT_EQ(inboxSnippet(u"<p>eins zwei drei vier</p>"_qs, 9), u"eins zwei…"_qs);
}

TEST(InboxLineTest, SenderIsTheProfileElseTheImprint) {
    const struct {
        QString name, address, imprint, mail, sender;
    } rows[] = {
        {u"Gartenverein Grünau"_qs, u"post@garten.example"_qs, u"Verein e.V."_qs, u"i@v.example"_qs,
         u"Gartenverein Grünau"_qs},
        {u""_qs, u"post@garten.example"_qs, u"Verein e.V."_qs, u"i@v.example"_qs, u"post@garten.example"_qs},
        {u""_qs, u""_qs, u"  Verein\te.V. "_qs, u"i@v.example"_qs, u"Verein e.V."_qs},
        {u""_qs, u""_qs, u" "_qs, u"i@v.example"_qs, u"i@v.example"_qs},
        {u""_qs, u""_qs, u"Gartenfreunde e.V. | Am Hain 12<br>Vorsitz: R. Berger"_qs, u""_qs,
         u"Gartenfreunde e.V."_qs},
        {u""_qs, u""_qs, u"Nr. {Nummer}<BR/><b>Café Sonne</b> - Bäckerei GmbH"_qs, u""_qs, u"Café Sonne"_qs},
        {u""_qs, u""_qs, u"Dein {Verein}"_qs, u"i@v.example"_qs, u"i@v.example"_qs},
    };
    for (const auto& row : rows)
        EXPECT_EQ(inboxSenderName(row.name, row.address, row.imprint, row.mail), row.sender);
}

}  // namespace
}  // namespace zw::test

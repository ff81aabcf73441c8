// Personal fields sent to a real server: each received message reads as a rendering for its recipient.
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "render/RenderMessage.h"
#include "send/Campaign.h"
#include "send/FieldColumns.h"
#include "send/RenderedNewsletter.h"
#include "send/SendTestSupport.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/MimeCheck.h"
#include "support/SmtpTestServer.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace zw::test {
namespace {

using namespace zw::send;

// The shipped template with fields in every text that takes them, and one before a link's "?".
QByteArray templateWithFields() {
    QByteArray nld = readAll(shippedDataFolder() + u"Zettelwerk_Vorlage.nld"_qs);
    const std::pair<QByteArray, QByteArray> edits[] = {
        {"Berteff=Neues aus", "Berteff={Vorname|Hallo}, neues aus"},
        {"Titel2=Liebe Gartenfreundinnen und Gartenfreunde,",
         "Titel2={Anrede|Liebe} {Vorname|Gartenfreunde},"},
        {"Sommerfest am 12. Juli", "{Nachname}: Sommerfest am 12. Juli"},
        {"http://www.gartenfreunde-lindenhain.example.org/sommerfest",
         "http://www.gartenfreunde-lindenhain.example.org/{Vorname}/sommerfest?wer={E-Mail}&n={Nachname}"},
        {"Am <b>Samstag", "Gute Nachricht f\xFCr {Vorname|alle} {{und Familie}}: am <b>Samstag"},
        // Markers at every place of a soft line break.
        {"Zu viele Tomaten", QByteArray("{Vorname}.").repeated(30) + "Zu viele Tomaten"},
        {"ImpressumText=Gartenfreunde", "ImpressumText=Gesendet an {E-Mail}. Gartenfreunde"},
        {"UnsubscribeLink=www.gartenfreunde-lindenhain.example.org/rundbrief/abmelden",
         "UnsubscribeLink=https://www.gartenfreunde-lindenhain.example.org/abmelden?adresse={E-Mail}"},
        {"Layout=mobil", "Layout=mobil\r\nVorschautext=Vorschau f\xFCr {Vorname|alle}"},
    };
    for (const auto& [from, to] : edits) {
        EXPECT_TRUE(nld.contains(from)) << from.toStdString();
        nld.replace(from, to);
    }
    return nld;
}

class PersonalFields : public ::testing::Test {
public:
    PersonalFields() {
        writeAll(work.file(u"Vorlage.nld"_qs), templateWithFields());
        const QString images = shippedDataFolder() + u"Images/"_qs;
        const RebuildResult loaded =
            loadTemplate(work.file(u"Vorlage.nld"_qs), images, BlockFiles(work.path()));
        input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
        input.copyFolder = work.path();
    }

    // What a recipient should read: the template rendered with their values alone.
    MimeNewsletter expectedFor(const RecipientList& list, const Recipient& to) {
        RenderInput own = input;
        own.fieldValues = recipientFieldValues(list.columns, to);
        return parseNewsletter(crlf(BuildMessageLines(own, prompts)));
    }

    TempFolder work;
    RenderInput input;
    FakePrompts prompts;
};

TEST_F(PersonalFields, EachReceivedMessageReadsAsRenderedForItsRecipient) {
    const QByteArray csv =
        "Vorname;Nachname;E-Mail;Anrede\r\n"
        "Anna;M\xC3\xBCller & S\xC3\xB6hne <GmbH>;anna@example.org;Liebe\r\n"
        ";Berg;berg@example.org;\r\n"
        "\"Zo\xC3\xAB \xF0\x9F\x98\x80\";\"Zeilen\r\numbruch\";zoe@example.org;Hallo=Du\r\n";
    const RecipientList withColumns = readRecipientList(csv);
    const RecipientList without = readRecipientList("kurt@example.org\r\nlena@example.org\r\n");
    ASSERT_EQ(withColumns.recipients.size(), 3);

    const Newsletter newsletter = renderNewsletter(input, work.file(u"newsletter.eml"_qs), prompts);
    EXPECT_EQ(newsletter.fields.names(),
              (QStringList{u"Vorname"_qs, u"Anrede"_qs, u"E-Mail"_qs, u"Nachname"_qs}));
    SmtpTestServer::Options options;
    options.security = TestSecurity::None;
    options.login = false;
    SmtpTestServer server(options);
    std::atomic<bool> stop{false};
    for (const RecipientList* list : {&withColumns, &without}) {
        Campaign campaign = Campaign::create(work.path(), newsletter, *list, server.profile());
        SmtpTransport transport(server.profile(), QString());
        EXPECT_EQ(campaign.run(transport, stop).sent, list->recipients.size());
    }

    const QList<ReceivedMessage> received = server.received();
    ASSERT_EQ(received.size(), 5);
    QList<MimeNewsletter> got;
    for (qsizetype i = 0; i < received.size(); ++i) {
        const RecipientList& list = i < 3 ? withColumns : without;
        const MimeNewsletter expected = expectedFor(list, list.recipients[i < 3 ? i : i - 3]);
        got.append(parseNewsletter(received[i].content));
        EXPECT_TRUE(got[i].problems.isEmpty()) << got[i].problems.join(u';').toStdString();
        EXPECT_EQ(got[i].subject, expected.subject) << i;
        EXPECT_EQ(got[i].plain, expected.plain) << i;
        EXPECT_EQ(got[i].html, expected.html) << i;
        for (const QByteArray& part : {received[i].content, got[i].html, got[i].plain})
            EXPECT_FALSE(part.contains('\x01') || part.contains('\x02')) << i;
    }

    // What those renderings hold, spelled out; a text starts a line or follows its element's tag.
    const auto html = [&](int i) {
        return QByteArray(got[i].html).replace("\r\n", "\n").replace(">", ">\n");
    };
    EXPECT_TRUE(html(0).contains("\nVorschau f\xFCr Anna"));
    EXPECT_TRUE(plainLines(received[3].content).contains("Vorschau f\xFCr alle"));
    EXPECT_EQ(got[0].subject,
              u"Anna, neues aus dem Lindenhain: Sommerfest, Pflanzentauschbörse und Baumschnittkurs"_qs);
    EXPECT_TRUE(html(0).contains("\nLiebe Anna,"));
    EXPECT_TRUE(html(0).contains("\nM\xFCller &amp; S\xF6hne &lt;GmbH&gt;: Sommerfest"));
    EXPECT_TRUE(html(0).contains("Gute Nachricht f\xFCr Anna {und Familie}: am"));
    EXPECT_TRUE(
        html(0).contains("lindenhain.example.org/{Vorname}/"
                         "sommerfest?wer=anna%40example.org&n=M%C3%BCller%20%26%20S%C3%B6hne%20%3CGmbH%3E"));
    EXPECT_TRUE(html(0).contains("Gesendet an anna@example.org."));
    EXPECT_TRUE(html(0).contains("abmelden?adresse=anna%40example.org"));
    EXPECT_TRUE(received[0].content.contains(
        "List-Unsubscribe: "
        "<https://www.gartenfreunde-lindenhain.example.org/abmelden?adresse=anna%40example.org>"));
    EXPECT_TRUE(plainLines(received[0].content)
                    .contains("M\xFCller & S\xF6hne <GmbH>: Sommerfest am 12. Juli - feiern Sie mit!"));
    // An empty cell takes the fallback, or nothing.
    EXPECT_EQ(got[1].subject.left(7), u"Hallo, "_qs);
    EXPECT_TRUE(html(1).contains("\nLiebe Gartenfreunde,"));
    EXPECT_TRUE(html(1).contains("Gute Nachricht f\xFCr alle {und Familie}"));
    EXPECT_TRUE(html(0).contains(QByteArray("Anna.").repeated(30) + "Zu viele Tomaten"));
    EXPECT_TRUE(html(2).contains("\nHallo=Du Zo\xEB &#128512;,"));
    EXPECT_TRUE(html(2).contains("\nZeilen umbruch: Sommerfest"));
    EXPECT_EQ(got[2].subject.left(7), u"Zoë 😀,"_qs);
    // A list without the columns: every fallback, the address still there.
    EXPECT_TRUE(html(3).contains("\nLiebe Gartenfreunde,"));
    EXPECT_TRUE(html(3).contains("\n: Sommerfest"));
    EXPECT_TRUE(html(4).contains("Gesendet an lena@example.org."));
}

// The subject as a list of campaigns shows it (the fields as typed) and as each recipient reads it.
TEST_F(PersonalFields, SubjectTypedForTheCampaignFilledForTheRecipient) {
    const Recipient anna{u"anna@example.org"_qs, {}, 2, u"Anna"_qs};
    const FieldValues values = recipientFieldValues({u"Vorname"_qs}, anna);
    const struct {
        QByteArray subject;
        QString shown, read;
    } rows[] = {{"Hallo {Vorname|du} {{x}}", u"Hallo {Vorname|du} {{x}}"_qs, u"Hallo Anna {x}"_qs},
                {"Nur {{Klammern}}", u"Nur {Klammern}"_qs, u"Nur {Klammern}"_qs}};
    for (const auto& row : rows) {
        input.subject = row.subject;
        const OutgoingMessage message(renderNewsletter(input, work.file(u"newsletter.eml"_qs), prompts));
        EXPECT_EQ(message.subject(), row.shown);
        EXPECT_EQ(parseHeader(message.forRecipient(anna, {}, QDateTime::currentDateTime(), &values)).subject,
                  row.read);
    }
}

TEST_F(PersonalFields, TheCheckNamesEveryFieldAndWhoGetsAFallback) {
    input.titel1 = "{Vornahme} {Vorname|Hallo}";
    const RecipientList list = readRecipientList("Vorname;E-Mail\r\nAnna;a@x.de\r\n;b@x.de\r\n;c@x.de\r\n");
    bool missing = false;
    const QStringList lines = fieldReportLines(fieldUses(TemplateFields(input), list), &missing);
    EXPECT_TRUE(missing);
    EXPECT_TRUE(
        lines.contains(u"Das Feld {Vornahme} gibt es in der Liste nicht (dort bleibt die Stelle leer)"_qs))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(
        u"{Vorname}: 2 Empfänger ohne Wert, sie erhalten „Hallo“ bzw. „Gartenfreunde“ bzw. „alle“"_qs))
        << lines.join(u'\n').toStdString();
    EXPECT_TRUE(lines.contains(u"{E-Mail}: jeder Empfänger hat einen Wert"_qs));
}

}  // namespace
}  // namespace zw::test

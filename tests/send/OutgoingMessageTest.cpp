// The message each recipient gets: its header block written anew, its parts decoding to the rendered ones.
#include <QRegularExpression>

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "platform/Text.h"
#include "send/OutgoingMessage.h"
#include "support/MimeCheck.h"
#include "send/SendTestSupport.h"

namespace zw::test {
namespace {

using send::OutgoingMessage;

// The header block of a message, unfolded: one entry per field, as "Name: value".
QList<QByteArray> headerFields(const QByteArray& message) {
    QList<QByteArray> fields;
    for (const QByteArray& line : message.left(message.indexOf("\r\n\r\n")).split('\n')) {
        const QByteArray text = line.endsWith('\r') ? line.chopped(1) : line;
        if ((text.startsWith(' ') || text.startsWith('\t')) && !fields.isEmpty())
            fields.last() += text;
        else
            fields.append(text);
    }
    return fields;
}

QByteArray field(const QList<QByteArray>& fields, const QByteArray& name) {
    for (const QByteArray& f : fields) {
        if (asciiLower(f).startsWith(asciiLower(name) + ':'))
            return f.mid(name.size() + 1).trimmed();
    }
    return {};
}

TEST(OutgoingMessage, ShippedNewsletterGetsTheRecipientsHeaderAndKeepsEveryPart) {
    const QByteArray rendered = renderShippedTemplate();
    const OutgoingMessage message({rendered, "www.gartenfreunde-lindenhain.example.org/rundbrief/abmelden"});
    send::SenderProfile sender;
    sender.name = QStringLiteral("Gartenfreunde Lindenhain – Vorstand Jörg Müller");
    sender.address = QStringLiteral("vorstand@lindenhain.example");
    const QDateTime now = QDateTime::currentDateTime();
    const QByteArray out = message.forRecipient({QStringLiteral("erika@example.org"), QStringLiteral("Erika Mustermann"), 3},
                                                sender, now);

    const QList<QByteArray> fields = headerFields(out);
    EXPECT_EQ(field(fields, "To"), "\"Erika Mustermann\" <erika@example.org>");
    EXPECT_TRUE(field(fields, "From").endsWith(" <vorstand@lindenhain.example>"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^<[0-9a-z.]+@lindenhain\\.example>$"))
                    .match(QString::fromLatin1(field(fields, "Message-ID")))
                    .hasMatch());
    EXPECT_EQ(field(fields, "List-Unsubscribe"), "<http://www.gartenfreunde-lindenhain.example.org/rundbrief/abmelden>");
    EXPECT_EQ(field(fields, "List-Unsubscribe-Post"), "");  // not asked for, and not an https address
    for (const char* gone : {"X-Unsent", "X-MimeOLE", "X-MSMail-Priority", "Date: Fri, 29 Nov 2002"})
        EXPECT_FALSE(out.left(out.indexOf("\r\n\r\n")).contains(gone)) << gone;

    const ParsedHeader parsed = parseHeader(out);
    EXPECT_EQ(parsed.fromName, sender.name);
    EXPECT_EQ(parsed.date.toSecsSinceEpoch(), now.toSecsSinceEpoch());
    EXPECT_EQ(message.subject(), parsed.subject);
    EXPECT_EQ(message.subject(),
              QStringLiteral("Neues aus dem Lindenhain: Sommerfest, Pflanzentauschbörse und Baumschnittkurs"));

    // What readers decode is what the rendering holds, pictures included.
    const MimeNewsletter before = parseNewsletter(rendered);
    const MimeNewsletter after = parseNewsletter(out);
    ASSERT_TRUE(after.problems.isEmpty()) << after.problems.join(u'\n').toStdString();
    EXPECT_EQ(after.plain, before.plain);
    EXPECT_EQ(after.html, before.html);
    ASSERT_EQ(after.pictures.size(), before.pictures.size());
    for (qsizetype i = 0; i < after.pictures.size(); ++i) EXPECT_EQ(after.pictures[i].bytes, before.pictures[i].bytes);
}

TEST(OutgoingMessage, LongAndEightBitTextLinesBecomeSmtpSafeWithTheSameText) {
    // The HTML part keeps a long news text in one line of several thousand bytes; the plain text wraps it
    // as format=flowed.
    QByteArray longText;
    for (int i = 0; i < 120; ++i) longText += "Gr\xFC\xDF" "e an alle G\xE4rtner = Freunde ";
    const QByteArray rendered = renderShippedTemplate(longText);
    const OutgoingMessage message({rendered, {}});
    const QByteArray out = message.forRecipient({QStringLiteral("a@example.org"), {}, 1}, {}, QDateTime::currentDateTime());

    for (const QByteArray& line : out.split('\n')) {
        ASSERT_LE(line.size(), 999) << "with its CR";
        for (char c : line) ASSERT_LT(uchar(c), 0x80) << line.left(80).toStdString();
    }
    EXPECT_FALSE(message.hasUnsubscribe());
    EXPECT_FALSE(out.contains("List-Unsubscribe"));
    const MimeNewsletter before = parseNewsletter(rendered);
    const MimeNewsletter after = parseNewsletter(out);
    EXPECT_TRUE(QByteArray(before.plain).replace(" \r\n", " ").contains(longText.left(200)));
    EXPECT_EQ(after.plain, before.plain);
    EXPECT_EQ(after.html, before.html);
}

TEST(OutgoingMessage, UnsubscribeHeaderFromTheTemplatesLink) {
    struct Case {
        QByteArray stored;
        bool oneClick;
        QByteArray header, post;
    } cases[] = {
        {"https://x.example/ab?liste=3D7&id=3D9", true, "<https://x.example/ab?liste=7&id=9>", "List-Unsubscribe=One-Click"},
        {"abmelden@verein.example", true, "<mailto:abmelden@verein.example>", ""},
        {"mailto:abmelden@verein.example?subject=3Dweg", false, "<mailto:abmelden@verein.example?subject=weg>", ""},
        {"www.verein.example/weg mit leer", false, "<http://www.verein.example/weg%20mit%20leer>", ""},
        {"   ", true, "", ""},
    };
    for (const Case& c : cases) {
        send::SenderProfile sender;
        sender.address = QStringLiteral("info@verein.example");
        sender.oneClickUnsubscribe = c.oneClick;
        const QByteArray out = OutgoingMessage({renderShippedTemplate(), c.stored})
                                   .forRecipient({QStringLiteral("b@example.org"), {}, 1}, sender, QDateTime::currentDateTime());
        const QList<QByteArray> fields = headerFields(out);
        EXPECT_EQ(field(fields, "List-Unsubscribe"), c.header) << c.stored.constData();
        EXPECT_EQ(field(fields, "List-Unsubscribe-Post"), c.post) << c.stored.constData();
    }
}

TEST(OutgoingMessage, RefusesWhatIsNotARenderedNewsletter) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("Hallo\r\n"), QByteArray("From: a@b\r\nSubject: x\r\n\r\nText\r\n")})
        EXPECT_THROW(OutgoingMessage({bytes, {}}), Error) << bytes.constData();
}

}  // namespace
}  // namespace zw::test

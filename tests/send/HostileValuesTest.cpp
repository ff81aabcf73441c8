// Long and hostile values in the subject, the recipient's name and the fields: every message a mail
// program can read, no header line too long, each value read back as typed, none of them markup.
#include <QProcess>
#include <QRegularExpression>
#include <QUrl>

#include <gmime/gmime.h>
#include <gtest/gtest.h>

#include "platform/Text.h"
#include "render/RenderMessage.h"
#include "send/FieldColumns.h"
#include "send/RenderedNewsletter.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "template/BlockCycle.h"
#include "template/BlockFiles.h"

namespace zw::test {
namespace {

using namespace zw::send;

// What GMime, as a mail program, reads of a message, and every defect it finds on the way.
struct Read {
    QStringList defects;
    QString subject, toName, toAddress;
    QByteArray html;  // decoded, Windows-1252
};

Read readMessage(const QByteArray& message) {
    g_mime_init();
    Read read;
    GMimeParserOptions* options = g_mime_parser_options_new();
    g_mime_parser_options_set_warning_callback(
        options,
        [](gint64 offset, GMimeParserWarning code, const gchar* item, gpointer defects) {
            static_cast<QStringList*>(defects)->append(
                QStringLiteral("%1 at %2: %3").arg(int(code)).arg(offset).arg(QString::fromUtf8(item)));
        },
        &read.defects);
    GMimeStream* stream = g_mime_stream_mem_new_with_buffer(message.constData(), size_t(message.size()));
    GMimeParser* parser = g_mime_parser_new_with_stream(stream);
    GMimeMessage* parsed = g_mime_parser_construct_message(parser, options);
    if (parsed) {
        read.subject = QString::fromUtf8(g_mime_message_get_subject(parsed));
        InternetAddressList* to = g_mime_message_get_to(parsed);
        if (to && internet_address_list_length(to) == 1) {
            InternetAddress* first = internet_address_list_get_address(to, 0);
            read.toName = QString::fromUtf8(internet_address_get_name(first));
            if (INTERNET_ADDRESS_IS_MAILBOX(first))
                read.toAddress =
                    QString::fromUtf8(internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(first)));
        }
        GMimeObject* related = g_mime_message_get_mime_part(parsed);
        GMimeObject* alternative =
            GMIME_IS_MULTIPART(related) ? g_mime_multipart_get_part(GMIME_MULTIPART(related), 0) : nullptr;
        GMimeObject* html = alternative && GMIME_IS_MULTIPART(alternative)
                                ? g_mime_multipart_get_part(GMIME_MULTIPART(alternative), 1)
                                : nullptr;
        if (html && GMIME_IS_PART(html)) {
            GMimeStream* out = g_mime_stream_mem_new();
            g_mime_data_wrapper_write_to_stream(g_mime_part_get_content(GMIME_PART(html)), out);
            GByteArray* bytes = g_mime_stream_mem_get_byte_array(GMIME_STREAM_MEM(out));
            read.html = QByteArray(reinterpret_cast<const char*>(bytes->data), qsizetype(bytes->len));
            g_object_unref(out);
        }
        g_object_unref(parsed);
    } else {
        read.defects.append(QStringLiteral("no message"));
    }
    g_object_unref(parser);
    g_object_unref(stream);
    g_mime_parser_options_free(options);
    return read;
}

// The start tags of an HTML text as an HTML parser (Python's, which follows the HTML tokenizer) sees
// them: one line per tag, its name and its attributes with their decoded values.
QStringList tagsOf(const QByteArray& html) {
    static const char script[] = R"(
import html.parser, sys
class Tags(html.parser.HTMLParser):
    def handle_starttag(self, tag, attrs):
        print(tag + "".join(" %s=[%s]" % (k, v) for k, v in attrs))
Tags().feed(sys.stdin.buffer.read().decode("cp1252"))
)";
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(script)});
    python.write(html);
    python.closeWriteChannel();
    EXPECT_TRUE(python.waitForFinished(30000));
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// The tags with the attribute values left out: what markup the text makes.
QStringList skeleton(const QStringList& tags) {
    QStringList out;
    static const QRegularExpression value(QStringLiteral("=\\[[^\\]]*\\]"));
    for (QString tag : tags) out.append(tag.remove(value));
    return out;
}

class HostileValues : public ::testing::Test {
public:
    // The shipped template with the field {Wert} in the subject, in a typed link without quotes, in
    // a title attribute without quotes, in the news text and in the unsubscribe address.
    Newsletter render(const QByteArray& subject) {
        QByteArray nld = readAll(shippedDataFolder() + u"Zettelwerk_Vorlage.nld"_qs);
        const std::pair<QByteArray, QByteArray> edits[] = {
            {"Berteff=Neues aus dem Lindenhain: Sommerfest, Pflanzentauschb\xF6rse und Baumschnittkurs",
             "Berteff=" + subject},
            {"Titel2=Liebe Gartenfreundinnen und Gartenfreunde,",
             "Titel2=<a href=https://x.example/?n={Wert}>Link</a> <span title={Wert}>Gru\xDF</span>"},
            {"Am <b>Samstag", "F\xFCr {Wert}: am <b>Samstag"},
            {"UnsubscribeLink=www.gartenfreunde-lindenhain.example.org/rundbrief/abmelden",
             "UnsubscribeLink=https://x.example/abmelden?wer={Wert}"},
        };
        for (const auto& [from, to] : edits) {
            EXPECT_TRUE(nld.contains(from)) << from.toStdString();
            nld.replace(from, to);
        }
        TempFolder work;
        writeAll(work.file(u"Vorlage.nld"_qs), nld);
        const QString images = shippedDataFolder() + u"Images/"_qs;
        const RebuildResult loaded = loadTemplate(work.file(u"Vorlage.nld"_qs), images, BlockFiles(work.path()));
        RenderInput input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
        input.copyFolder = work.path();
        FakePrompts prompts;
        return renderNewsletter(input, work.file(u"out.eml"_qs), prompts);
    }

    QByteArray forRecipient(const Newsletter& newsletter, const QString& name, const QString& value) {
        SenderProfile from;
        from.name = u"Verein =?utf-8?q?Chef?="_qs;
        from.address = u"info@verein.example"_qs;
        const Recipient to{u"leser@example.org"_qs, name, 2, {}};
        const FieldValues values{{fieldKey(u"Wert"_qs), value}};
        return OutgoingMessage(newsletter).forRecipient(to, from, QDateTime::currentDateTime(), &values);
    }
};

TEST_F(HostileValues, EveryMessageReadsAsTypedAndNoValueBecomesMarkup) {
    const QString words = u"Wort "_qs.repeated(300) + u"Ende"_qs;
    const struct {
        const char* name;
        QByteArray subject;  // as typed in the template (Windows-1252)
        QString recipientName;
        QString value;
    } rows[] = {
        {"LongTypedSubject", "Betreff " + QByteArray("Sommerfest ").repeated(140) + "{Wert}", u"Anna"_qs,
         u"x"_qs},
        {"LongSubjectWithoutBlanks", QByteArray(1500, 'x') + "{Wert}", u"Anna"_qs, u"x"_qs},
        {"LongValueWithBlanks", "Betreff {Wert}", words, words},
        {"LongValueWithoutBlanks", "Betreff {Wert}", QString(1200, u'n'), QString(1200, u'w')},
        // "Bcc: boss@example.org" and CR LF, were they decoded.
        {"EncodedWordLookAlikes", "Betreff {Wert} =?iso-8859-1?q?Hallo?=", u"=?utf-8?q?=0D=0ABcc:_x@y.example?="_qs,
         u"=?utf-8?b?QmNjOiBib3NzQGV4YW1wbGUub3Jn?="_qs},
        {"LineBreaks", "Betreff {Wert}", u"Anna\r\nBcc: x@y.example"_qs, u"Zeile\r\nBcc: x@y.example"_qs},
        {"QuotesInUnquotedAttributes", "Betreff {Wert}", u"Anna \"Q\" \\ <x>"_qs,
         u"\"><img src=x onerror=alert(1)> x onmouseover=alert(2) '"_qs},
        {"UmlautsAndLookAlikeAtLength", "Gr\xFC\xDF" "e {Wert}", u"Zoë =?x?= 😀"_qs,
         u"Zoë =?x?= 😀 "_qs.repeated(120)},
    };
    const QStringList harmless = skeleton(tagsOf(readMessage(forRecipient(render("Betreff {Wert}"), u"Anna"_qs,
                                                                          u"x"_qs)).html));
    ASSERT_GT(harmless.size(), 10);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Newsletter newsletter = render(row.subject);
        const QByteArray message = forRecipient(newsletter, row.recipientName, row.value);

        for (const QByteArray& line : message.split('\n'))
            EXPECT_LE(line.size(), 999) << line.left(60).toStdString();  // with its CR
        const Read read = readMessage(message);
        EXPECT_TRUE(read.defects.isEmpty()) << read.defects.join(u"; "_qs).toStdString();

        const QString value = cleanFieldValue(row.value);
        EXPECT_EQ(read.subject, fromStored(row.subject).replace(u"{Wert}"_qs, value));
        QString name = row.recipientName;
        for (QChar& c : name)
            if (c.unicode() < 0x20)
                c = u' ';
        EXPECT_EQ(read.toName, name.trimmed());
        EXPECT_EQ(read.toAddress, u"leser@example.org"_qs);

        const QStringList tags = tagsOf(read.html);
        EXPECT_EQ(skeleton(tags), harmless) << "a value added markup";
        EXPECT_TRUE(tags.contains(u"a href=[https://x.example/?n=%1]"_qs.arg(
            QString::fromLatin1(QUrl::toPercentEncoding(value)))));
        EXPECT_TRUE(tags.contains(u"span title=[%1]"_qs.arg(value)));

        // The unsubscribe address, however folded, is the one the value makes.
        const qsizetype at = message.indexOf("\r\nList-Unsubscribe: ");
        ASSERT_GE(at, 0);
        QByteArray unsubscribe = message.mid(at + 20, message.indexOf("\r\n", at + 2) - at - 20);
        for (qsizetype next = message.indexOf("\r\n", at + 2); message.at(next + 2) == ' ';
             next = message.indexOf("\r\n", next + 2))
            unsubscribe += message.mid(next + 3, message.indexOf("\r\n", next + 2) - next - 3);
        EXPECT_EQ(unsubscribe, "<https://x.example/abmelden?wer=" + QUrl::toPercentEncoding(value) + '>');
    }
}

// The rendering itself (zettelwerk-render, the preview, the single mail): a subject too long for a
// header line is folded, one that looks encoded is encoded, and GMime reads both back as typed.
TEST_F(HostileValues, TheRenderedMessageFoldsAndEncodesItsSubject) {
    for (const QByteArray& subject :
         {QByteArray("Sommerfest ").repeated(140) + "Ende", QByteArray(1200, 'x'), QByteArray("Hallo =?utf-8?q?x?= Welt"),
          QByteArray("Kurz und b\xFCndig")}) {
        SCOPED_TRACE(subject.left(30).toStdString());
        TempFolder work;
        const QString images = shippedDataFolder() + u"Images/"_qs;
        const RebuildResult loaded = loadTemplate(shippedDataFolder() + u"Zettelwerk_Vorlage.nld"_qs, images,
                                                  BlockFiles(work.path()));
        RenderInput input = renderInputFromSettings(loaded.settings, "08.12.2026", work.path(), images);
        input.copyFolder = work.path();
        input.subject = subject;
        FakePrompts prompts;
        const QByteArray message = crlf(BuildMessageLines(input, prompts));
        for (const QByteArray& line : message.split('\n')) EXPECT_LE(line.size(), 999);
        const Read read = readMessage(message);
        EXPECT_TRUE(read.defects.isEmpty()) << read.defects.join(u"; "_qs).toStdString();
        EXPECT_EQ(read.subject, decodeWindows1252(subject));
    }
}

}  // namespace
}  // namespace zw::test

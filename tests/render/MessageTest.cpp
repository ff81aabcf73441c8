// The message around the HTML part: header block, subject, plain-text part, soft line breaks, picture
// parts and the writing of the file.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <functional>

#include "RenderFixture.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Text.h"
#include "support/MimeCheck.h"

namespace zw::test {
namespace {

using Lines = QList<QByteArray>;

const QString kNotFound = u"Das System kann die angegebene Datei nicht finden."_qs;
const QString kNotAPicture =
    u"Die Datei %1 ist kein Bild im Format JPEG, PNG, GIF oder WebP und kann nicht in den Newsletter übernommen werden."_qs;

class Message : public RenderFixture {
public:
    QString errorOf(const QString& target) {
        try {
            RenderMessage(input, target, prompts);
        } catch (const Error& e) {
            return e.message();
        }
        return u"(no error)"_qs;
    }
};

TEST_F(Message, HeaderBlockThenThePlainTextBody) {
    const Lines expected{"From: \"Ihr Name\" <ihre.adresse@example.com>",
                         "Subject: Neuigkeiten",
                         "Date: Fri, 29 Nov 2002 12:41:44 +0100",
                         "MIME-Version: 1.0",
                         "Content-Type: multipart/related;",
                         "\ttype=\"multipart/alternative\";",
                         "\tboundary=\"----=_NextPart_1\"",
                         "X-Priority: 3",
                         "X-MSMail-Priority: Normal",
                         "X-Unsent: 1",
                         "X-MimeOLE: Produced By Microsoft MimeOLE V5.50.4522.1200",
                         "",
                         "This is a multi-part message in MIME format.",
                         "",
                         "------=_NextPart_1",
                         "Content-Type: multipart/alternative;",
                         "\tboundary=\"----=_NextPart_2\"",
                         "",
                         "",
                         "------=_NextPart_2",
                         "Content-Type: text/plain;",
                         "\tcharset=\"iso-8859-1\"",
                         "Content-Transfer-Encoding: quoted-printable",
                         "",
                         " "};
    EXPECT_EQ(BuildMessageLines(input, prompts).mid(0, 25), expected);
}

TEST_F(Message, SubjectLines) {
    const struct {
        const char* name;
        QByteArray subject;
        Lines lines;  // empty: only the folding rules are checked
    } rows[] = {
        {"ascii stays as typed", "Sommerfest = 2026?", {"Subject: Sommerfest = 2026?"}},
        // A reader must not decode what was typed.
        {"a look-alike of an encoded word is encoded", "Sommerfest =?x?= 2026",
         {"Subject: =?windows-1252?Q?Sommerfest_=3D=3Fx=3F=3D_2026?="}},
        {"long ascii is not folded", QByteArray(120, 'a'), {"Subject: " + QByteArray(120, 'a')}},
        {"umlauts become an encoded word",
         "Sommerfest 2026 \xe4\xf6\xfc",
         {"Subject: =?windows-1252?Q?Sommerfest_2026_=E4=F6=FC?="}},
        {"other characters are encoded",
         "\x80 a=b?_c\t",
         {"Subject: =?windows-1252?Q?=80_a=3Db=3F=5Fc=09?="}},
        {"long 8-bit subject is folded",
         "Gr\xfc\xdf"
         "e aus dem Sommerfest " +
             QByteArray(60, 'x') + " \xe4nde",
         {}},
        {"many escapes", QByteArray(70, '\xe4'), {}},
        // Stored as a character reference; the subject then goes out in UTF-8, umlauts included.
        {"a character Windows-1252 cannot hold makes it UTF-8",
         "Anpfiff &#9917; am S\xfc" "dplatz",
         {"Subject: =?UTF-8?Q?Anpfiff_=E2=9A=BD_am_S=C3=BCdplatz?="}},
        {"long UTF-8 subject is folded between characters", "Tor! " + QByteArray("&#9917;").repeated(30), {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Lines lines = SubjectLines(row.subject);
        if (!row.lines.isEmpty()) {
            EXPECT_EQ(lines, row.lines);
        }
        const bool encoded = row.subject.contains('\x80') || row.subject.contains('\xe4') || row.subject.contains("&#");
        const QByteArray charset = row.subject.contains("&#") ? "=?UTF-8?Q?" : "=?windows-1252?Q?";
        for (qsizetype i = 0; encoded && i < lines.size(); ++i) {
            EXPECT_LE(lines[i].size(), 76);
            const QByteArray word = lines[i].mid(i == 0 ? 9 : 1);
            EXPECT_LE(word.size(), 75);
            EXPECT_TRUE(word.startsWith(charset) && word.endsWith("?="));
            EXPECT_TRUE(i == 0 ? lines[i].startsWith("Subject: ") : lines[i].startsWith(' '));
        }
        input.subject = row.subject;
        const QString typed = fromStored(row.subject);
        const MimeNewsletter parsed = parseNewsletter(crlf(BuildMessageLines(input, prompts)));
        EXPECT_EQ(parsed.subject, typed);
        EXPECT_TRUE(parsed.html.contains("<HTML><HEAD><TITLE>" + row.subject + "</TITLE>"));
    }
}

TEST_F(Message, FromLineCarriesTheSenderWhenThereIsOne) {
    const QString longName = u"Förderverein der Freunde und Förderer des Stadtmuseums Grünau am See e.V."_qs;
    const QString emoji = QString(30, u'x').replace(u"x"_qs, u"\U0001F600"_qs);
    const struct {
        const char* name;
        QString sender, address;
        Lines lines;  // empty: only folding and the decoded sender are checked
        QString decodedName;
    } rows[] = {
        {"no sender: the placeholder",
         u"Max"_qs,
         {},
         {"From: \"Ihr Name\" <ihre.adresse@example.com>"},
         u"Ihr Name"_qs},
        {"ascii name quoted",
         u"Max Muster"_qs,
         u"max@gmx.de"_qs,
         {"From: \"Max Muster\" <max@gmx.de>"},
         u"Max Muster"_qs},
        {"quotes escaped",
         u"Der \"gute\" Verein\\Club"_qs,
         u"a@b.de"_qs,
         {"From: \"Der \\\"gute\\\" Verein\\\\Club\" <a@b.de>"},
         u"Der \"gute\" Verein\\Club"_qs},
        {"no name: the address alone", {}, u"a@b.de"_qs, {"From: a@b.de"}, {}},
        {"umlauts as an encoded word",
         u"Förderverein Grünau"_qs,
         u"verein@gmx.de"_qs,
         {"From: =?UTF-8?Q?F=C3=B6rderverein_Gr=C3=BCnau?= <verein@gmx.de>"},
         u"Förderverein Grünau"_qs},
        {"long name folded", longName, u"verein@gmx.de"_qs, {}, longName},
        {"characters beyond one UTF-16 unit stay whole", emoji, u"a@b.de"_qs, {}, emoji},
        {"a line break in the name is a blank",
         u"Zeile\r\nBcc: x@y.de"_qs,
         u"a@b.de"_qs,
         {"From: \"Zeile  Bcc: x@y.de\" <a@b.de>"},
         u"Zeile  Bcc: x@y.de"_qs},
        {"an address with a line break keeps the placeholder",
         u"Max"_qs,
         u"a@b.de\r\nBcc: y@z.de"_qs,
         {"From: \"Ihr Name\" <ihre.adresse@example.com>"},
         u"Ihr Name"_qs},
        {"an address with a blank keeps the placeholder",
         u"Max"_qs,
         u"a b@c.de"_qs,
         {"From: \"Ihr Name\" <ihre.adresse@example.com>"},
         u"Ihr Name"_qs},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Lines lines = FromLines(row.sender, row.address);
        if (!row.lines.isEmpty()) {
            EXPECT_EQ(lines, row.lines);
        }
        for (qsizetype i = 0; i < lines.size() && row.lines.isEmpty(); ++i) {
            EXPECT_LE(lines[i].size(), 76);
            EXPECT_TRUE(i == 0 ? lines[i].startsWith("From: =?UTF-8?Q?") : lines[i].startsWith(' '));
        }
        input.senderName = row.sender;
        input.senderAddress = row.address;
        const Lines message = BuildMessageLines(input, prompts);
        EXPECT_EQ(message.mid(0, lines.size()), lines);
        EXPECT_EQ(message[lines.size()], "Subject: Neuigkeiten");
        const MimeNewsletter parsed = parseNewsletter(crlf(message));
        EXPECT_EQ(parsed.problems, QStringList());
        EXPECT_EQ(parsed.fromName, row.decodedName);
        const bool plain = row.lines.isEmpty() || !row.lines[0].contains("Ihr Name");
        EXPECT_EQ(parsed.fromAddress, plain ? row.address : u"ihre.adresse@example.com"_qs);
    }
}

struct PlainRow {
    const char* name;
    std::function<void(RenderInput&, RenderFixture&)> setup;
    Lines body;
};

class PlainText : public RenderFixture, public ::testing::WithParamInterface<PlainRow> {};

TEST_P(PlainText, Layout) {
    GetParam().setup(input, *this);
    EXPECT_EQ(plainText(), GetParam().body);
}

const Lines kHead{" ", " ", "Kopfzeile", "Einleitung"};
const Lines kImprint{" ", "Impressum:", " ", "Zettelwerk GmbH", "info@zettelwerk.de", "www.zettelwerk.de"};

INSTANTIATE_TEST_SUITE_P(
    Fields, PlainText,
    ::testing::Values(
        PlainRow{"dateOffNoBlocks", [](RenderInput&, RenderFixture&) {}, kHead + kImprint},
        PlainRow{"dateOnTrimsOnlyTheDateText",
                 [](RenderInput& in, RenderFixture&) {
                     in.dateOn = true, in.dateText = " \tStand vom ", in.titel1 = "  Kopf  ";
                 },
                 Lines{" ", " ", "  Kopf  ", "Einleitung", "Stand vom 07.12.2026"} + kImprint},
        PlainRow{
            "blockWithLink",
            [](RenderInput&, RenderFixture& f) {
                f.addBlock({" Titel ", "", "Mehr", "www.a.de/?x=1", "Neu<br><b>fett</b>"});
            },
            kHead +
                Lines{" ", "Titel", " ", "Neu<br><b>fett</b>", " ", "Mehr", "http://www.a.de/?x=3D1", " "} +
                kImprint},
        PlainRow{"addressWithoutLinkText",
                 [](RenderInput&, RenderFixture& f) {
                     f.addBlock({"T", "", "", "info@a.de", "x"});
                 },
                 kHead + Lines{" ", "T", " ", "x", " ", "", "mailto:info@a.de", " "} + kImprint},
        PlainRow{"linkTextWithoutAddressAndTwoBlocks",
                 [](RenderInput&, RenderFixture& f) {
                     f.addBlock({"A", "a.jpg", "Mehr", "", "eins"});
                     f.addBlock({"B", "", "", "", "zwei"});
                 },
                 kHead + Lines{" ", "A", " ", "eins", " ", " ", "B", " ", "zwei", " "} + kImprint},
        // The address is the text as typed: the "=" is escaped only for the quoted-printable part.
        PlainRow{
            "imprintAddressUnchangedAndUnsubscribeUnused",
            [](RenderInput& in, RenderFixture&) {
                in.impressumUrl = "www.a.de/?x=1", in.unsubscribeText = "Abmelden",
                in.unsubscribeLink = "a.de";
            },
            kHead + Lines{" ", "Impressum:", " ", "Zettelwerk GmbH", "info@zettelwerk.de", "www.a.de/?x=3D1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SoftLinePieces, CutAtSeventyWithoutSplittingAnEscape) {
    const QByteArray x70(70, 'x'), x68(68, 'x'), x69(69, 'x');
    const QByteArray meta = "http-equiv=3DContent-Type><!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 =";
    const struct {
        const char* name;
        QByteArray line;
        Lines out;
    } rows[] = {
        {"70 stays", x70, {x70}},
        {"71 cuts after 70", x70 + "y", {x70 + "=", "y"}},
        {"escape at 69 to 71", x68 + "=3Dyy", {x68 + "=", "=3Dyy"}},
        {"escape at 70 to 72", x69 + "=3Dy", {x69 + "=", "=3Dy"}},
        {"escape starting at 71", x70 + "=3D", {x70 + "=", "=3D"}},
        {"first of two at 69", x68 + "==x", {x68 + "=", "==x"}},
        {"the META line", meta, {meta.left(70) + "=", "="}},
        {"several cuts",
         QByteArray(150, 'z'),
         {QByteArray(70, 'z') + "=", QByteArray(70, 'z') + "=", "zzzzzzzzzz"}},
        {"empty", "", {""}},
    };
    ASSERT_EQ(meta.size(), 71);
    for (const auto& row : rows) EXPECT_EQ(softLinePieces(row.line), row.out) << row.name;
}

TEST_F(Message, SoftBreaksOnlyInTheHtmlRegion) {
    // Texts that contain the region's border lines, or are nothing else, must not move it; in the
    // plain-text part they stay texts.
    const QByteArray trap =
        "Content-Transfer-Encoding: base64 und Content-Type: text/html; " + QByteArray(40, 'w');
    input.subject = "Content-Type: text/html;";
    input.titel2 = "Content-Type: text/html;";
    addBlock({"Content-Transfer-Encoding: base64", "", "", "", trap});
    const QByteArray longName = "lang-" + QByteArray(80, 'n') + ".jpg";
    addPicture(longName);
    input.kopfLogo = images.toUtf8() + longName;

    const Lines lines = BuildMessageLines(input, prompts);
    const qsizetype html = lines.indexOf("------=_NextPart_2", 20) + 1;
    const qsizetype firstBase64 = lines.indexOf("------=_NextPart_1", html) + 2;
    ASSERT_EQ(lines[html], "Content-Type: text/html;");
    ASSERT_EQ(lines[firstBase64], "Content-Transfer-Encoding: base64");
    EXPECT_EQ(lines.count(trap), 1);  // once, in the plain-text part, not broken
    EXPECT_LT(lines.indexOf(trap), html);
    EXPECT_EQ(lines[firstBase64 + 1], "Content-ID: <1B_" + longName + ">");  // never broken
    for (qsizetype i = html; i <= firstBase64; ++i) EXPECT_LE(lines[i].size(), 71) << lines[i].toStdString();
    EXPECT_TRUE(lines.contains(trap.left(70) + "="));
    for (const QByteArray& line : lines.mid(firstBase64 + 2)) EXPECT_LE(line.size(), 76);
    const MimeNewsletter parsed = parseNewsletter(crlf(lines));
    EXPECT_TRUE(parsed.problems.isEmpty()) << parsed.problems.join(u';').toStdString();
    EXPECT_TRUE(parsed.html.contains(trap));
    EXPECT_EQ(plainLines(crlf(lines)).mid(3, 5),
              (Lines{"Content-Type: text/html;", " ", "Content-Transfer-Encoding: base64", " ", trap}));
}

TEST(PictureExtension, LastRunBetweenDots) {
    const struct {
        QByteArray fileName;
        QByteArray ext;
    } rows[] = {{"logo.JPG", "jpg"},
                {"logo.neu.jpg", "jpg"},
                {"logo", ""},
                {".jpg", ""},
                {"a..b", "b"},
                {"logo.", ""},
                {"..x.y.", "y"},
                {"Bild.J\xc4G", "j\xc4g"},
                {"", ""}};
    for (const auto& row : rows)
        EXPECT_EQ(PictureExtension(row.fileName), row.ext) << row.fileName.toStdString();
}

TEST(IsMailPicture, FirstBytesShowTheKind) {
    const struct {
        const char* hex;
        bool picture;
    } rows[] = {{"ffd8ffe1", true},                      // JPEG
                {"89504e470d0a1a0a0000", true},          // PNG
                {"474946383961", true},                  // GIF89a
                {"474946383761", true},                  // GIF87a
                {"524946462400000057454250565038", true},  // RIFF....WEBPVP8
                {"524946462400000057415645666d74", false}, // RIFF....WAVEfmt
                {"424d36000000", false},                 // BMP
                {"ffd8", false},                         // cut short
                {"89504e470d0a", false},
                {"726f6f743a783a303a303a", false},       // "root:x:0:0:"
                {"", false}};
    for (const auto& row : rows) EXPECT_EQ(isMailPicture(QByteArray::fromHex(row.hex)), row.picture) << row.hex;
}

TEST_F(Message, SettingPicturesAreSentFromTheirCopies) {
    const QByteArray logo = addPicture("logo.neu.JPG", 500);
    input.kopfLogo = images.toUtf8() + "logo.neu.JPG";
    const Lines lines = BuildMessageLines(input, prompts);
    const qsizetype part = lines.indexOf("Content-ID: <1B_logo.neu.JPG>");
    ASSERT_GT(part, 2);
    EXPECT_EQ(lines.mid(part - 3, 3),
              (Lines{"------=_NextPart_1", "Content-Type: image/jpg;", "Content-Transfer-Encoding: base64"}));
    EXPECT_EQ(readAll(images + "m_Kopf.jpg"), logo);
    EXPECT_EQ(readAll(images + "m_Impressum.jpg"), readAll(images + "imp.jpg"));
}

TEST_F(Message, RemovedHeadLogoIsSentFromTheEarlierCopy) {
    const QByteArray logo = readAll(images + "logo.jpg");
    RenderMessage(input, QString(), prompts);  // no target: nothing written but the working files
    EXPECT_EQ(readAll(folder.file("temp.mim")).replace("\r\n", ""), readAll(images + "imp.jpg").toBase64());
    EXPECT_EQ(QDir(folder.path()).entryList({u"*.eml"_qs}, QDir::Files), QStringList());

    QFile::remove(images + "logo.jpg");
    const QByteArray message = crlf(BuildMessageLines(input, prompts));
    EXPECT_TRUE(isNewsletter(message, u"Neuigkeiten"_qs, {logo, readAll(images + "imp.jpg")}));
    QFile::remove(images + "m_Kopf.jpg");
    EXPECT_EQ(errorOf(QString()),
              u"Datei %1 kann nicht geöffnet werden. %2"_qs.arg(images + "m_Kopf.jpg", kNotFound));
}

TEST_F(Message, WrittenFileIsTheLinesWithCrLf) {
    addPicture("bild.jpg", 3000);
    // A text long enough that the lines before the pictures are written in several pieces.
    addBlock({"Meldung", "C:\\x\\bild.jpg", "Mehr", "a.de/?x=1", QByteArray(70000, 't')});
    const QString target = folder.file("out.eml");
    writeAll(target, "alte Nachricht, viel l\xe4nger als nichts");
    RenderMessage(input, target, prompts);
    const QByteArray written = readAll(target);
    EXPECT_EQ(written, joinLines(BuildMessageLines(input, prompts)));
    EXPECT_TRUE(written.endsWith("\r\n------=_NextPart_1--\r\n"));
    EXPECT_TRUE(written.contains("Content-Transfer-Encoding: quoted-printable\r\n\r\n \r\n"));
    // A mail program shows the plain-text alternative with every text, the link address decoded.
    const Lines block{" ", "Meldung", " ", QByteArray(70000, 't'), " ", "Mehr", "http://a.de/?x=1", " "};
    EXPECT_EQ(plainLines(written), kHead + block + kImprint);
    EXPECT_TRUE(isNewsletter(written, u"Neuigkeiten"_qs,
                             pictureBytes({"logo.jpg", "sep.jpg", "bild.jpg", "imp.jpg"})));
    EXPECT_EQ(QDir(folder.path()).entryList({u"out.eml*"_qs}, QDir::Files | QDir::Hidden),
              QStringList{u"out.eml"_qs});
}

TEST_F(Message, FailuresLeaveTheTargetAsItWas) {
    const QString target = folder.file("out.eml");
    const struct {
        const char* name;
        std::function<void(Message&)> breakIt;
        QString error;
        const char* workFile;  // the picture whose base64 text "temp.mim" keeps; "" untouched
    } rows[] = {
        {"missing block picture",
         [](Message& m) {
             m.addBlock({"M", "C:\\x\\fehlt.jpg", "", "", "t"});
         },
         u"Datei %1fehlt.jpg kann nicht geöffnet werden. %2"_qs.arg(images, kNotFound), "sep.jpg"},
        {"short block file", [](Message& m) { writeAll(m.folder.file("Temp002.edt"), "eins\r\nzwei\r\n"); },
         u"Listenindex überschreitet das Maximum (2)"_qs, ""},
        {"temp.mim cannot be created", [](Message& m) { m.input.workFolder = m.folder.file("kein Ordner/"); },
         u"Datei \"%1kein Ordner/temp.mim\" kann nicht erstellt werden. %2"_qs.arg(folder.path(), kNotFound),
         ""},
        {"temp.mim cannot be created and the last picture is missing: stopped at the first picture",
         [](Message& m) {
             m.input.workFolder = m.folder.file("kein Ordner/");
             m.input.seperatorImpressum.clear();
             QFile::remove(m.images + "m_Impressum.");
         },
         u"Datei \"%1kein Ordner/temp.mim\" kann nicht erstellt werden. %2"_qs.arg(folder.path(), kNotFound),
         ""},
        {"a head logo that is no picture",
         [](Message& m) {
             writeAll(m.folder.file("passwd"), "root:x:0:0:root:/root:/bin/bash\n");
             m.input.kopfLogo = m.folder.file("passwd").toUtf8();
         },
         kNotAPicture.arg(folder.file("passwd")), ""},
        {"an earlier copy that is no picture",
         [](Message& m) {
             m.input.kopfLogo = m.images.toUtf8() + "weg.jpg";
             writeAll(m.images + "m_Kopf.jpg", "fremd");
         },
         kNotAPicture.arg(images + "m_Kopf.jpg"), ""},
        {"a block picture that is no picture",
         [](Message& m) {
             writeAll(m.images + "text.jpg", "GIF88a, nur fast ein Bild");
             m.addBlock({"M", "C:\\x\\text.jpg", "", "", "t"});
         },
         kNotAPicture.arg(images + "text.jpg"), "sep.jpg"},
        {"empty imprint separator",
         [](Message& m) {
             m.input.seperatorImpressum.clear();
             QFile::remove(m.images + "m_Impressum.");
         },
         u"Datei %1m_Impressum. kann nicht geöffnet werden. %2"_qs.arg(images, kNotFound), "logo.jpg"},
    };
    for (const auto& row : rows) {
        const RenderInput saved = input;
        writeAll(target, "alte Nachricht");
        writeAll(folder.file("temp.mim"), "alt");
        row.breakIt(*this);
        EXPECT_EQ(errorOf(target), row.error) << row.name;
        EXPECT_EQ(readAll(target), "alte Nachricht") << row.name;
        const QByteArray workFile = *row.workFile ? readAll(images + row.workFile).toBase64() : "alt";
        EXPECT_EQ(readAll(folder.file("temp.mim")).replace("\r\n", ""), workFile) << row.name;
        input = saved;
        BlockFiles(folder.path()).clear();
        blocks = 0;
    }
}

// The preview's two files: one rendering, replaced in turn, leaving what renderings into each in turn
// would leave, also when a target cannot be written.
TEST_F(Message, SeveralTargetsGetTheSameRenderingReplacedInTurn) {
    addPicture("bild.jpg", 3000);
    addBlock({"Meldung", "C:\\x\\bild.jpg", "Mehr", "a.de", "Text"});
    const QString one = folder.file("preview1.eml"), two = folder.file("preview2.eml");
    const QString missing = folder.file("kein Ordner/preview2.eml");
    const QByteArray message = joinLines(BuildMessageLines(input, prompts));
    const struct {
        const char* name;
        QStringList targets;
        std::function<void(Message&)> breakIt;
        QString error;
        QByteArray first, second;  // the files afterwards
    } rows[] = {
        {"both written", {one, two}, [](Message&) {}, {}, message, message},
        {"first cannot be created",
         {missing, two},
         [](Message&) {},
         u"Datei \"%1\" kann nicht erstellt werden. %2"_qs.arg(missing, kNotFound),
         "",
         "alt2"},
        {"second cannot be created",
         {one, missing},
         [](Message&) {},
         u"Datei \"%1\" kann nicht erstellt werden. %2"_qs.arg(missing, kNotFound),
         message,
         ""},
        {"missing block picture",
         {one, two},
         [](Message& m) {
             m.addBlock({"M", "C:\\x\\fehlt.jpg", "", "", "t"});
         },
         u"Datei %1fehlt.jpg kann nicht geöffnet werden. %2"_qs.arg(images, kNotFound),
         "alt1",
         "alt2"},
    };
    for (const auto& row : rows) {
        writeAll(one, "alt1");
        writeAll(two, "alt2");
        QFile::remove(folder.file("temp.mim"));
        QFile::remove(images + "m_Kopf.jpg");
        row.breakIt(*this);
        QString error;
        try {
            RenderMessage(input, row.targets, prompts);
        } catch (const Error& e) {
            error = e.message();
        }
        EXPECT_EQ(error, row.error) << row.name;
        // Compared whole but not printed: a message is long.
        EXPECT_TRUE((row.targets[0] == one ? readAll(one) : "") == row.first) << row.name;
        EXPECT_TRUE((row.targets[1] == two ? readAll(two) : "") == row.second) << row.name;
        if (row.error.isEmpty()) {  // the working files of one rendering
            EXPECT_EQ(readAll(folder.file("temp.mim")).replace("\r\n", ""),
                      readAll(images + "imp.jpg").toBase64());
            EXPECT_EQ(readAll(images + "m_Kopf.jpg"), readAll(images + "logo.jpg"));
        }
        EXPECT_EQ(QDir(folder.path()).entryList({u"*.zw-part"_qs}, QDir::Files | QDir::Hidden), QStringList())
            << row.name;
    }
}

TEST_F(Message, BackslashInAnAddressIsShownOncePerUse) {
    addPicture("b.jpg");
    addBlock({"M", "b.jpg", "Mehr", "www.a.de\\x", "t"});
    input.impressumUrl = "www.b.de\\y";
    RenderMessage(input, QString(), prompts);
    const QString block = u"Ungültiges Zeichen \"\\\" in der URL www.a.de\\x"_qs;
    const QString imprint = u"Ungültiges Zeichen \"\\\" in der URL www.b.de\\y"_qs;
    // plain text once, picture link and text link in the HTML part, then the imprint address
    EXPECT_EQ(prompts.informations, (QStringList{block, block, block, imprint}));
}

}  // namespace
}  // namespace zw::test

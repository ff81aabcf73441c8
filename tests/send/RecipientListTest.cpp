// Recipient lists as spreadsheets, address books and hand-written files give them, and the address
// check.
#include <gtest/gtest.h>

#include <QSet>
#include <QStringEncoder>

#include <random>

#include "platform/Error.h"
#include "send/RecipientList.h"
#include "support/Files.h"

namespace zw::send {
namespace {

// A list as lines "LINE address (name)" for the recipients, then "LINE ! reason: text" for the rows not
// taken.
QStringList summary(const RecipientList& list) {
    QStringList out;
    for (const Recipient& r : list.recipients)
        out << QStringLiteral("%1 %2").arg(r.line).arg(r.address) +
                   (r.name.isEmpty() ? u""_qs : " (" + r.name + ")");
    for (const RejectedRow& r : list.rejected)
        out << QStringLiteral("%1 ! %2: %3").arg(r.line).arg(r.reason, r.text);
    return out;
}

QByteArray utf16le(const QString& text) {
    return "\xFF\xFE" + QStringEncoder(QStringEncoder::Utf16LE).encode(text);
}

TEST(ReadRecipientList, FindsEncodingSeparatorHeaderAndColumns) {
    const struct {
        const char* name;
        QByteArray bytes;
        QStringList expected;
    } rows[] = {
        {"UTF-8 with BOM",
         "\xEF\xBB\xBF"
         "E-Mail;Name\r\nj@x.de;J\xC3\xBCrgen M\xC3\xBCller\r\n",
         {u"2 j@x.de (Jürgen Müller)"_qs}},
        {"UTF-8, comma, quoted comma",
         "Name,Email\n\"M\xC3\xBCller, J\xC3\xBCrgen\",j@x.de\n",
         {u"2 j@x.de (Müller, Jürgen)"_qs}},
        {"Windows-1252", "NAME;MAIL\nJ\xFCrgen \x80;j@x.de\n", {u"2 j@x.de (Jürgen €)"_qs}},
        {"UTF-16 tab text",
         utf16le(u"Vorname\tNachname\tE-Mail-Adresse\r\nÄnne\tBöll\ta@x.de\r\n"_qs),
         {u"2 a@x.de (Änne Böll)"_qs}},
        {"semicolon wins over unquoted commas",
         "Adresse;Name\na@x.de;Meier, Hans\nb@x.de;Roth, Eva\n",
         {"2 a@x.de (Meier, Hans)", "3 b@x.de (Roth, Eva)"}},
        {"sep= line", "sep=,\nE-Mail,Name\na@x.de,Eva\n", {"3 a@x.de (Eva)"}},
        {"Name beside Vorname is the surname",
         "Name;Vorname;E-Mail\nMeier;Hans;h@x.de\n",
         {"2 h@x.de (Hans Meier)"}},
        {"e-mail column wins over the postal one",
         "Name;Adresse;e-mail\nEva;Hauptstr. 1;e@x.de\n",
         {"2 e@x.de (Eva)"}},
        {"Thunderbird export",
         "Vorname,Nachname,Anzeigename,Prim\xC3\xA4re "
         "E-Mail-Adresse\nHans,Meier,Hansi,h@x.de\nEva,Roth,,e@x.de\n",
         {"2 h@x.de (Hansi)", "3 e@x.de (Eva Roth)"}},
        {"header without address column", "Name;Kontakt\nHans;h@x.de\n", {"2 h@x.de (Hans)"}},
        {"no header: the column of addresses",
         "Hans;h@x.de\nEva;e@x.de\nOtto;kein Anschluss\n",
         {"1 h@x.de", "2 e@x.de", "3 ! Leerzeichen in der Adresse: kein Anschluss"}},
        {"one address per line, blank lines, CR only", "\n a@x.de \r\r  \rb@x.de", {"2 a@x.de", "5 b@x.de"}},
        {"list across one row",
         "a@x.de; b@x.de; Hans <h@x.de>",
         {"1 a@x.de", "1 b@x.de",
          "1 ! Name oder spitze Klammern bei der Adresse (nur die Adresse selbst ist erlaubt): Hans "
          "<h@x.de>"}},
        {"one row with one address", "Hans Meier;h@x.de\n", {"1 h@x.de"}},
        {"quoted separators, quotes and line breaks",
         "E-Mail;Name;Notiz\na@x.de;\"Eva \"\"die Gute\"\"; "
         "Roth\";\"eins\r\nzwei\r\n\"\n;Otto;\nb@x.de;Max\n",
         {u"2 a@x.de (Eva \"die Gute\"; Roth)"_qs, "6 b@x.de (Max)",
          "5 ! keine Adresse in dieser Zeile: ;Otto;"}},
        {"name with a line break becomes one line",
         "Mail,Name\na@x.de,\"Eva\nRoth\"\nb@x.de,Max\n",
         {"2 a@x.de (Eva Roth)", "4 b@x.de (Max)"}},
        {"stray quote open to the end", "a@x.de\n\"b@x.de\nc@x.de\n", {"1 a@x.de", "2 b@x.de", "3 c@x.de"}},
        {"stray quotes closing lines later",
         "\"a@x.de\nb@x.de\n\"c@x.de\nd@x.de\n",
         {"1 a@x.de", "2 b@x.de", "3 c@x.de", "4 d@x.de"}},
        {"quoted address over two lines",
         "\"a@x.de\nb@x.de\"\nc@x.de\n",
         {"1 a@x.de", "2 b@x.de", "3 c@x.de"}},
        {"display names and injected lines",
         "Mail;Name\nHans <h@x.de>;Hans\n\"a@x.de\nBcc: b@x.de\";Eva\n\"\"\"x\"\" <e@x.de>\";X\n",
         {"3 a@x.de",
          "2 ! Name oder spitze Klammern bei der Adresse (nur die Adresse selbst ist erlaubt): Hans <h@x.de>",
          "4 ! Leerzeichen in der Adresse: Bcc: b@x.de",
          u"5 ! Name oder spitze Klammern bei der Adresse (nur die Adresse selbst ist erlaubt): \"x\" <e@x.de>"_qs}},
        {"duplicates ignoring case, umlaut domain",
         "A@X.de\nb@x.de\na@x.DE\ninfo@b\xC3\xA4"
         "cker.de\nINFO@xn--bcker-gra.de\n",
         {"1 A@X.de", "2 b@x.de", "4 info@xn--bcker-gra.de", "3 ! doppelt (wie Zeile 1): a@x.DE",
          "5 ! doppelt (wie Zeile 4): INFO@xn--bcker-gra.de"}},
        {"control characters",
         QByteArray("E-Mail\n\0@\x01.de", 13),
         {u"2 ! Steuerzeichen in der Adresse: \0@\x01.de"_qs}},
    };
    for (const auto& row : rows) EXPECT_EQ(summary(readRecipientList(row.bytes)), row.expected) << row.name;
}

TEST(ReadRecipientList, ExclusionsAreReportedInTheOrderOfTheLines) {
    RecipientList list = readRecipientList("E-Mail;Name\na@x.de;A\nb@x.de;B\nbad\nc@x.de;C\n");
    const RecipientList exclusions = readRecipientList("Name,E-Mail\nBe,B@X.DE\nZe,z@x.de\n,kaputt@\n");
    applyExclusions(list, exclusions);
    EXPECT_EQ(summary(list),
              QStringList({"2 a@x.de (A)", "5 c@x.de (C)", "3 ! steht auf der Sperrliste: b@x.de",
                           "4 ! kein @ in der Adresse: bad"}));
    EXPECT_EQ(summary(exclusions).last(), u"4 ! nichts nach dem @: kaputt@"_qs);
}

// Whatever the bytes: no crash, time in proportion to the size, and only checked, unique addresses
// with lines of the file.
TEST(ReadRecipientList, SurvivesHugeLinesAndGarbage) {
    std::mt19937 random(15);
    QByteArray garbage(1 << 20, '\0');
    for (char& c : garbage) c = char(random() % 7 ? random() : "\"@;,\n."[random() % 6]);
    const QByteArray many = QByteArray("x@x.de;").repeated(20000);
    const struct {
        const char* name;
        QByteArray bytes;
        qsizetype recipients, rejected;
    } rows[] = {
        {"10 MB line", QByteArray(10 << 20, 'a'), 0, 1},
        {"10 MB of separators", QByteArray(10 << 20, ';'), 0, 0},
        {"10 MB unclosed quote", '"' + QByteArray(10 << 20, '@'), 0, 1},
        {"10 MB quotes", QByteArray(10 << 20, '"'), 0, 1},
        {"a row wider than a spreadsheet", many, 1, 16384},
        {"garbage", garbage, -1, -1},
    };
    for (const auto& row : rows) {
        const RecipientList list = readRecipientList(row.bytes);
        if (row.recipients >= 0) {
            EXPECT_EQ(list.recipients.size(), row.recipients) << row.name;
            EXPECT_EQ(list.rejected.size(), row.rejected) << row.name;
        }
        const qsizetype lines = row.bytes.count('\n') + row.bytes.count('\r') + 1;
        QSet<QString> seen;
        for (const Recipient& r : list.recipients) {
            EXPECT_EQ(checkAddress(r.address), QString()) << row.name;
            EXPECT_FALSE(seen.contains(r.address.toLower())) << row.name;
            seen.insert(r.address.toLower());
            EXPECT_TRUE(r.line >= 1 && r.line <= lines) << row.name;
        }
        for (const RejectedRow& r : list.rejected) {
            EXPECT_TRUE(r.line >= 1 && r.line <= lines) << row.name;
            EXPECT_LE(r.text.size(), 201) << row.name;
        }
    }
}

TEST(CheckAddress, TakesPlainAddressesOnly) {
    const struct {
        QString address, reason;
    } rows[] = {
        {u"a@b.de"_qs, {}},
        {u"first.last+tag@sub.example.co.uk"_qs, {}},
        {u"o'brien_{x}~@x-y.ie"_qs, {}},
        {u"x@xn--bcker-gra.de"_qs, {}},
        {QString(64, u'l') + u"@x.de"_qs, {}},
        {u""_qs, u"keine Adresse"_qs},
        {u"a@b.de\r\nBcc: c@d.de"_qs, u"Zeilenumbruch in der Adresse"_qs},
        {u"<a@b.de>"_qs,
         u"Name oder spitze Klammern bei der Adresse (nur die Adresse selbst ist erlaubt)"_qs},
        {u"\"a b\"@c.de"_qs, u"Anführungszeichen in der Adresse"_qs},
        {u"a@b.de,c@d.de"_qs, u"Komma in der Adresse (mehrere Adressen in einem Feld?)"_qs},
        {u"a b@c.de"_qs, u"Leerzeichen in der Adresse"_qs},
        {u"ab.de"_qs, u"kein @ in der Adresse"_qs},
        {u"a@b@c.de"_qs, u"mehr als ein @ in der Adresse"_qs},
        {u"ä@b.de"_qs, u"Umlaut oder anderes Sonderzeichen in der Adresse"_qs},
        {u"@b.de"_qs, u"nichts vor dem @"_qs},
        {QString(65, u'l') + u"@x.de"_qs, u"Teil vor dem @ länger als 64 Zeichen"_qs},
        {u"a@"_qs + QString(250, u'x') + u".de"_qs, u"Adresse länger als 254 Zeichen"_qs},
        {u"a..b@c.de"_qs, u"Punkt am Anfang, am Ende oder doppelt vor dem @"_qs},
        {u".a@c.de"_qs, u"Punkt am Anfang, am Ende oder doppelt vor dem @"_qs},
        {u"a(b)@c.de"_qs, u"unzulässiges Zeichen „(“ in der Adresse"_qs},
        {u"a@b"_qs, u"kein Punkt nach dem @ (etwa „beispiel.de“)"_qs},
        {u"a@b.de."_qs, u"ungültiger Teil nach dem @"_qs},
        {u"a@-b.de"_qs, u"ungültiger Teil nach dem @"_qs},
        {u"a@b_c.de"_qs, u"ungültiger Teil nach dem @"_qs},
        {u"a@1.2.3.4"_qs, u"ungültiger Teil nach dem @"_qs},
        {u"a@[1.2.3.4]"_qs, u"ungültiger Teil nach dem @"_qs},
        {u"a@"_qs + QString(64, u'x') + u".de"_qs, u"ungültiger Teil nach dem @"_qs},
    };
    for (const auto& row : rows)
        EXPECT_EQ(checkAddress(row.address), row.reason) << row.address.toStdString();
}

TEST(ReadRecipientFile, ReadsAFileAndNamesOneItCannotRead) {
    const test::TempFolder folder;
    test::writeAll(folder.file(u"liste.csv"_qs), "E-Mail\na@x.de\n");
    EXPECT_EQ(summary(readRecipientFile(folder.file(u"liste.csv"_qs))), QStringList({"2 a@x.de"}));
    try {
        readRecipientFile(folder.file(u"fehlt.csv"_qs));
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(u"fehlt.csv")) << e.what();
    }
}

}  // namespace
}  // namespace zw::send

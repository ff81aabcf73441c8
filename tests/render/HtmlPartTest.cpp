// The HTML part line by line, its variants, and the numbering of the pictures.
#include <gtest/gtest.h>

#include <functional>

#include "RenderFixture.h"
#include "support/MimeCheck.h"

namespace zw::test {
namespace {

using Lines = QList<QByteArray>;

bool containsRun(const Lines& lines, const Lines& run) {
    for (qsizetype i = 0; i + run.size() <= lines.size(); ++i) {
        if (lines.mid(i, run.size()) == run) return true;
    }
    return false;
}

std::string show(const Lines& lines) { return lines.join("\n").toStdString(); }

class HtmlPart : public RenderFixture {
protected:
    HtmlPart() { addPicture("fest.jpg"); }
    NewsBlock block{"Sommerfest", "C:\\Bilder\\fest.jpg", "Mehr", "www.fest.de/?a=1", "Neu<br><b>fett</b>"};
};

TEST_F(HtmlPart, WholeDocumentWithDateBlockAndUnsubscribeLink) {
    input.dateOn = true;
    input.dateText = "  Stand: ";
    input.unsubscribeText = "Abmelden";
    input.unsubscribeLink = "www.zettelwerk.de/ab?id=7";
    addBlock(block);
    const QByteArray textFont = "<FONT face=3DArial color=3D#000000 size=3D2>";
    const QByteArray linkFont = "<FONT face=3DArial color=3D#0000FF size=3D2>";
    const QByteArray table600 = "<TABLE border=3D0 cellPadding=3D0 cellSpacing=3D0 width=3D600>";
    const Lines expected{
        "------=_NextPart_2", "Content-Type: text/html;", "\tcharset=\"iso-8859-1\"",
        "Content-Transfer-Encoding: quoted-printable", "",
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">",
        "<HTML><HEAD><TITLE>Neuigkeiten</TITLE>", "<META content=3Dtext/html;charset=3Diso-8859-1 =",
        "http-equiv=3DContent-Type><!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 =", "Transitional//EN\">", "",
        "<META content=3D\"MSHTML 5.00.3315.2870\" name=3DGENERATOR></HEAD>",
        "<BODY aLink=3D#0000FF bgColor=3D#FFFFFF link=3D#0000FF topMargin=3D0 vLink=3D#0000FF marginheight=3D\"0\">",
        "<TABLE border=3D0 cellPadding=3D0 cellSpacing=3D0 width=3D\"100%\">", "<TR>", "<TD align=3Dmiddle>", "",
        table600, "",
        // head logo
        "<TR>", "<TD>", table600, "<TR><TD><DIV ALIGN=3D\"center\">", "<IMG alt=3D\"\" src=3D\"cid:1B_logo.jpg\">",
        "</DIV></TD></TR>", "</TABLE>", "</TD>", "</TR>", "",
        // title row with the date
        "<TR>", "<TD>", table600, "<TR>", "<TD class=3DTextgross vAlign=3Dtop><P><B>", textFont, "Kopfzeile",
        "</FONT></B></P><P><FONT face=3DArial color=3D#000000 size=3D2><B>", "Einleitung", "</B></FONT></P></TD>",
        "<TD align=3Dright class=3Dtext vAlign=3Dtop>", textFont, "Stand:", "</FONT>", textFont, "07.12.2026",
        "</FONT></TD>", "</TR>", "</TABLE>", "</TD>", "</TR>",
        // the block
        "", "<TR>", "<TD>", "<DIV ALIGN=3D\"CENTER\">",
        "<BR><IMG alt=3D\"\" border=3D0 src=3D\"cid:2B_sep.jpg\"></DIV><BR>", table600, "<TR>",
        "<TD align=3Dmiddle class=3Dtext vAlign=3Dtop width=3D180><A href=3D\"", "http://www.fest.de/?a=3D1",
        "\" target=3D_blank><IMG alt=3D\"\" border=3D0 src=3D\"cid:3B_fest.jpg\"></A></TD>",
        "<TD class=3Dtextgross colSpan=3D2 vAlign=3Dtop width=3D420><B><FONT face=3DArial color=3D#000000 size=3D2>",
        "Sommerfest", "</FONT></B><BR><FONT face=3DArial color=3D#000000 size=3D2>", "Neu<br><b>fett</b>",
        "</FONT><BR>", "<A href=3D\"", "http://www.fest.de/?a=3D1",
        "\" target=3D_blank><B><FONT face=3DArial color=3D#0000FF size=3D2>", "Mehr", "</FONT></B></A>", "</TD>",
        "</TR>", "</TABLE>", "",
        // imprint
        "", "<TR>", "<TD>", "<BR>", "<DIV ALIGN=3D\"LEFT\">",
        "<IMG alt=3D\"\" border=3D0 src=3D\"cid:4B_imp.jpg\"></DIV><BR><BR>", table600, "<TR>",
        "<TD class=3Dtext><FONT face=3DArial color=3D#000000 size=3D2>", "Zettelwerk GmbH",
        "</FONT><BR><BR><A href=3D\"mailto:", "info@zettelwerk.de", "\">", linkFont, "info@zettelwerk.de",
        "</FONT></A><BR><A href=3D\"", "http://www.zettelwerk.de", "\">", linkFont, "www.zettelwerk.de",
        "</FONT></A><BR><BR><BR>", "<A href=3D\"", "http://www.zettelwerk.de/ab?id=3D7", "\">", linkFont, "Abmelden",
        "</FONT></A></TD>",
        // document end
        "</TR>", "</TABLE>", "</TR>", "</TR>", "</TABLE>", "", "</BODY>", "</HTML>", "", "", "------=_NextPart_2--", ""};
    const Lines html = htmlPart();
    EXPECT_EQ(html, expected) << show(html);
    EXPECT_EQ(html[8].size(), 71);   // the second META line, cut later into 70 + "=" and "="
    EXPECT_EQ(html[12].size(), 104);  // the BODY line with seven-character colours
}

struct Variant {
    const char* name;
    std::function<void(RenderInput&, NewsBlock&)> change;
    Lines present;  // a run of lines that must appear
    Lines absent;   // a run that must not
};

class HtmlVariants : public HtmlPart, public ::testing::WithParamInterface<Variant> {};

TEST_P(HtmlVariants, LinesFollowTheFields) {
    GetParam().change(input, block);
    addBlock(block);
    const Lines html = htmlPart();
    EXPECT_TRUE(containsRun(html, GetParam().present)) << show(html);
    if (!GetParam().absent.isEmpty()) {
        EXPECT_FALSE(containsRun(html, GetParam().absent)) << show(html);
    }
}

const QByteArray kTextCell =
    "<TD class=3Dtextgross colSpan=3D2 vAlign=3Dtop width=3D420><B><FONT face=3DArial color=3D#000000 size=3D2>";
const QByteArray kLinkFont = "<FONT face=3DArial color=3D#0000FF size=3D2>";

const QByteArray kPictureCell = "<TD align=3Dmiddle class=3Dtext vAlign=3Dtop width=3D180>";

INSTANTIATE_TEST_SUITE_P(
    Fields, HtmlVariants,
    ::testing::Values(
        Variant{"dateOff", [](RenderInput& in, NewsBlock&) { in.dateOn = false; },
                {"</B></FONT></P></TD>", "</TR>"}, {"07.12.2026"}},
        Variant{"pictureWithoutLinkAndNoTextLink", [](RenderInput&, NewsBlock& b) { b.LinkUrl.clear(); },
                {"<TR>", kPictureCell + "<IMG alt=3D\"\" border=3D0 src=3D\"cid:3B_fest.jpg\"></TD>", kTextCell},
                {"Mehr"}},
        Variant{"addressWithoutLinkTextLinksOnlyThePicture", [](RenderInput&, NewsBlock& b) { b.LinkText.clear(); },
                {kPictureCell + "<A href=3D\"", "http://www.fest.de/?a=3D1",
                 "\" target=3D_blank><IMG alt=3D\"\" border=3D0 src=3D\"cid:3B_fest.jpg\"></A></TD>", kTextCell},
                {"</FONT><BR>", "<A href=3D\""}},
        Variant{"noPictureKeepsTheWideCellAndTheCount", [](RenderInput&, NewsBlock& b) { b.Picture.clear(); },
                {"<TR>", kTextCell}, {"cid:3B_fest.jpg"}},
        Variant{"blankUnsubscribeTextGivesTheShortEnding",
                [](RenderInput& in, NewsBlock&) { in.unsubscribeText = "  \t", in.unsubscribeLink = "ab.de"; },
                {"info@zettelwerk.de", "</FONT></A><BR>", "<A href=3D\"", "http://www.zettelwerk.de", "\">", kLinkFont,
                 "www.zettelwerk.de", "</FONT></A></TD>", "</TR>"},
                {"http://ab.de"}},
        Variant{"unsubscribeTextAndLinkUntrimmed",
                [](RenderInput& in, NewsBlock&) { in.unsubscribeText = " Ab ", in.unsubscribeLink = " ab.de"; },
                {"<A href=3D\"", "http:// ab.de", "\">", kLinkFont, " Ab ", "</FONT></A></TD>"}, {}},
        Variant{"emptyUnsubscribeLinkGivesTheShortEnding", [](RenderInput& in, NewsBlock&) { in.unsubscribeText = "Ab"; },
                {"</FONT></A><BR>", "<A href=3D\""}, {"Ab"}},
        Variant{"emptyMailAddressStillLinks", [](RenderInput& in, NewsBlock&) { in.impressumMailTo.clear(); },
                {"</FONT><BR><BR><A href=3D\"mailto:", "", "\">", kLinkFont, ""}, {}},
        Variant{"emptyWebAddressGetsHttp", [](RenderInput& in, NewsBlock&) { in.impressumUrl.clear(); },
                {"<A href=3D\"", "http://", "\">", kLinkFont, "", "</FONT></A></TD>"}, {}},
        Variant{"alignmentsChangeCase",
                [](RenderInput& in, NewsBlock&) { in.logoAlign = "Center", in.impressumAlign = "Right"; },
                {"<TR><TD><DIV ALIGN=3D\"center\">"}, {}},
        Variant{"imprintAlignmentInCapitals", [](RenderInput& in, NewsBlock&) { in.impressumAlign = "Right"; },
                {"<BR>", "<DIV ALIGN=3D\"RIGHT\">"}, {}},
        // Escaped so that a reader decodes them as typed; the "=3D" of a link tag already is.
        Variant{"userTextsKeepTheirEqualsSignsForTheReader",
                [](RenderInput& in, NewsBlock& b) {
                    in.subject = "a=b", b.Text = "<a href=3D\"x.de\">x</a> = y <font size=\"+3\">HERBST=20</font>";
                },
                {"</FONT></B><BR><FONT face=3DArial color=3D#000000 size=3D2>",
                 "<a href=3D\"x.de\">x</a> =3D y <font size=3D\"+3\">HERBST=3D20</font>", "</FONT><BR>"},
                {"<a href=3D3D\"x.de\">x</a> =3D y <font size=3D\"+3\">HERBST=3D20</font>"}}),
    [](const auto& info) { return std::string(info.param.name); });

using PictureNumbering = RenderFixture;

// Which pictures the blocks have ("" for none) and the Content-IDs that follow, in order: references
// and parts count alike.
TEST_F(PictureNumbering, ReferencesAndPartsCountAlike) {
    const struct {
        Lines blockPictures;
        Lines contentIds;
    } rows[] = {{{}, {"1B_logo.jpg", "2B_imp.jpg"}},
                {{"", "b.jpg", ""}, {"1B_logo.jpg", "2B_sep.jpg", "3B_sep.jpg", "4B_b.jpg", "5B_sep.jpg", "6B_imp.jpg"}},
                {{"a.jpg", "b.jpg", "c.jpg"},
                 {"1B_logo.jpg", "2B_sep.jpg", "3B_a.jpg", "4B_sep.jpg", "5B_b.jpg", "6B_sep.jpg", "7B_c.jpg",
                  "8B_imp.jpg"}}};
    for (const auto& row : rows) {
        BlockFiles(folder.path()).clear();
        blocks = 0;
        Lines files{"logo.jpg"};
        for (const QByteArray& picture : row.blockPictures) {
            addBlock({"Meldung", picture.isEmpty() ? QByteArray() : "D:\\alt\\" + picture, "", "", "Text"});
            files.append("sep.jpg");
            if (picture.isEmpty()) continue;
            addPicture(picture);
            files.append(picture);
        }
        files.append("imp.jpg");

        const Lines lines = BuildMessageLines(input, prompts);
        Lines ids;
        for (const QByteArray& line : lines) {
            if (line.startsWith("Content-ID: <")) ids.append(line.mid(13, line.size() - 14));
        }
        EXPECT_EQ(ids, row.contentIds);
        EXPECT_TRUE(isNewsletter(crlf(lines), u"Neuigkeiten"_qs, pictureBytes(files)));
        EXPECT_EQ(parseNewsletter(crlf(lines)).references, row.contentIds);
    }
}

}  // namespace
}  // namespace zw::test

#pragma once

// The fixed texts of the phone layout's HTML part, in the order the part has them. Unlike the classic
// fragments they are kept as plain HTML, to stay readable beside the many inline styles; the writer
// escapes each finished line once for quoted-printable. Every style is inline: several webmails delete
// <style> blocks, and Outlook's Word engine sizes by attributes alone, so both are given. 7-bit ASCII.

namespace zw::texts {

// Widths of the content, and of a news block's picture and text columns side by side.
inline constexpr int kPhoneContentWidth = 600;
inline constexpr int kPhonePictureWidth = 180;
inline constexpr int kPhoneTextWidth = 420;

// The hidden line that inboxes show beside the subject (both layouts). Mail programs that honour
// none of the hiding styles show it as the first line, so it is written only when the user gave one.
inline constexpr char kPreheaderOpen[] =
    "<div style=\"display:none;max-height:0;overflow:hidden;mso-hide:all\">";
inline constexpr char kPreheaderClose[] = "</div>";

inline constexpr char kPhoneDoctype[] = "<!DOCTYPE html>";
inline constexpr char kPhoneHtmlOpen[] = "<html lang=\"de\">";
inline constexpr char kPhoneHead[] = "<head>";
inline constexpr char kPhoneMetaCharset[] =
    "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=iso-8859-1\">";
inline constexpr char kPhoneMetaViewport[] =
    "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">";
inline constexpr char kPhoneTitleOpen[] = "<title>";
inline constexpr char kPhoneTitleClose[] = "</title>";
inline constexpr char kPhoneHeadClose[] = "</head>";
// "%1" is the background colour, on the body and again on the wrapper table: Gmail, Outlook.com and
// Yahoo drop the attributes of <body>.
inline constexpr char kPhoneBody[] = "<body style=\"margin:0;padding:0;background-color:%1\" bgcolor=\"%1\">";
inline constexpr char kPhoneWrapper[] =
    "<table role=\"presentation\" width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
    "bgcolor=\"%1\" style=\"width:100%;background-color:%1\">";
inline constexpr char kPhoneWrapperCell[] = "<tr><td align=\"center\" style=\"padding:0\">";
// Outlook takes width:100% literally and knows no max-width: its own table holds it at 600 pixels.
inline constexpr char kMsoContentOpen[] =
    "<!--[if mso]><table role=\"presentation\" width=\"600\" border=\"0\" cellpadding=\"0\" "
    "cellspacing=\"0\" "
    "align=\"center\"><tr><td><![endif]-->";
inline constexpr char kPhoneContent[] =
    "<table role=\"presentation\" width=\"600\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\" "
    "align=\"center\" style=\"width:100%;max-width:600px;margin:0 auto\">";

// A row that holds one picture: "%1" the alignment attribute, "%2" the text-align value.
inline constexpr char kPhonePictureRow[] = "<tr><td align=\"%1\" style=\"padding:%2;text-align:%1\">";
inline constexpr char kPhoneRowEnd[] = "</td></tr>";
inline constexpr char kPhoneImageOpen[] = "<img src=\"cid:";
inline constexpr char kPhoneImageWidth[] = "\" width=\"";
inline constexpr char kPhoneImageAlt[] = "\" alt=\"";
// "%1" the margin that aligns a picture shown as a block.
inline constexpr char kPhoneImageStyle[] =
    "\" style=\"display:block;max-width:100%;height:auto;border:0;margin:%1\">";
inline constexpr char kPhoneInlineImageStyle[] = "\" style=\"max-width:100%;height:auto;border:0\">";

// Texts: the font on every element that holds text, since Outlook does not pass it on to headings.
inline constexpr char kPhoneFont[] = "font-family:Arial,Helvetica,sans-serif;line-height:1.5;color:";
inline constexpr char kPhoneTitleCell[] = "<tr><td style=\"padding:16px 16px 0 16px\">";
inline constexpr char kPhoneDate[] = "<p style=\"margin:0 0 8px 0;text-align:right;font-size:14px;";
inline constexpr char kPhoneTitle[] = "<h1 style=\"margin:0 0 8px 0;font-size:24px;font-weight:bold;";
inline constexpr char kPhoneTitleEnd[] = "</h1>";
inline constexpr char kPhoneTitle2[] = "<p style=\"margin:0;font-size:16px;font-weight:bold;";
inline constexpr char kPhoneTagEnd[] = "\">";

// A news block: two inline blocks that sit side by side in 600 pixels and stack below 600 (picture
// above, centred; text below), inside Outlook's own two-column table. font-size:0 keeps the blank
// between the two blocks from pushing the second onto the next line.
inline constexpr char kPhoneColumnsCell[] =
    "<tr><td align=\"center\" style=\"padding:8px 0 0 0;font-size:0;text-align:center\">";
inline constexpr char kMsoColumnsOpen[] =
    "<!--[if mso]><table role=\"presentation\" width=\"600\" border=\"0\" cellpadding=\"0\" "
    "cellspacing=\"0\">"
    "<tr><td width=\"180\" valign=\"top\"><![endif]-->";
inline constexpr char kPhonePictureColumn[] =
    "<div style=\"display:inline-block;width:100%;max-width:180px;vertical-align:top\">";
inline constexpr char kPhoneColumnTable[] =
    "<table role=\"presentation\" width=\"100%\" border=\"0\" cellpadding=\"0\" cellspacing=\"0\">";
inline constexpr char kPhonePictureCell[] =
    "<tr><td align=\"center\" style=\"padding:0 0 12px 0;text-align:center\">";
inline constexpr char kPhoneLinkOpen[] = "<a href=\"";
inline constexpr char kPhoneLinkTarget[] = "\" target=\"_blank\" style=\"color:";
inline constexpr char kPhoneLinkClose[] = "</a>";
inline constexpr char kPhoneColumnEnd[] = "</td></tr></table></div>";
inline constexpr char kMsoColumnsBetween[] =
    "<!--[if mso]></td><td width=\"420\" valign=\"top\"><![endif]-->";
inline constexpr char kPhoneTextColumn[] =
    "<div style=\"display:inline-block;width:100%;max-width:420px;vertical-align:top\">";
inline constexpr char kPhoneTextCell[] =
    "<tr><td style=\"padding:0 12px 12px 12px;text-align:left;font-size:16px;";
inline constexpr char kPhoneHeadline[] = "<h2 style=\"margin:0 0 8px 0;font-size:20px;font-weight:bold;";
inline constexpr char kPhoneHeadlineClose[] = "</h2>";
inline constexpr char kPhoneNewsTextOpen[] = "<div>";
inline constexpr char kPhoneNewsTextClose[] = "</div>";
inline constexpr char kPhoneMoreOpen[] = "<p style=\"margin:12px 0 0 0;font-weight:bold\">";
inline constexpr char kPhoneParagraphClose[] = "</p>";
inline constexpr char kMsoColumnsClose[] = "<!--[if mso]></td></tr></table><![endif]-->";

// The imprint.
inline constexpr char kPhoneImprintCell[] =
    "<tr><td style=\"padding:16px 16px 24px 16px;text-align:left;font-size:14px;";
inline constexpr char kPhoneParagraph[] = "<p style=\"margin:0 0 12px 0\">";
inline constexpr char kPhoneUnsubscribe[] = "<p style=\"margin:24px 0 0 0\">";
inline constexpr char kPhoneBreak[] = "<br>";

// The end of the document.
inline constexpr char kPhoneTableClose[] = "</table>";
inline constexpr char kMsoContentClose[] = "<!--[if mso]></td></tr></table><![endif]-->";
inline constexpr char kPhoneBodyClose[] = "</body>";
inline constexpr char kPhoneHtmlClose[] = "</html>";

// The size command's steps in the news text, by the size they reach from the text's size 2: a phone's
// text is 16 pixels, so each step lands on a larger pixel size. <font size="+1"> gives size 3.
inline constexpr int kPhoneFontPixels[] = {14, 16, 18, 20, 24, 28, 32};
inline constexpr char kPhoneListOpen[] = "<ul style=\"margin:8px 0;padding:0 0 0 24px\">";
inline constexpr char kPhoneListClose[] = "</ul>";
inline constexpr char kPhoneListItem[] = "<li style=\"margin:0 0 4px 0\">";

}  // namespace zw::texts

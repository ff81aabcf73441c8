#pragma once

// The fixed texts of the phone layout's HTML part, in the order the part has them, stored like the
// classic ones already in quoted-printable form ("=3D" is "="). Every style is inline: several webmails
// delete <style> blocks, and Outlook's Word engine sizes by attributes alone, so both are given. 7-bit
// ASCII.

namespace zw::texts {

// The plain-text part's header: its lines are wrapped as format=flowed, which phones and watches join
// again to their own width.
inline constexpr char kPhonePlainCharsetParam[] = "\tcharset=\"iso-8859-1\";";
inline constexpr char kPhonePlainFlowed[] = "\tformat=flowed";

// The registered type of the picture parts, by the picture's first bytes.
inline constexpr char kJpegType[] = "jpeg";
inline constexpr char kPngType[] = "png";
inline constexpr char kGifType[] = "gif";
inline constexpr char kWebpType[] = "webp";

// Widths of the content, and of a news block's picture and text columns side by side.
inline constexpr int kPhoneContentWidth = 600;
inline constexpr int kPhonePictureWidth = 180;
inline constexpr int kPhoneTextWidth = 420;

// The hidden line that inboxes show beside the subject (both layouts). Mail programs that honour
// none of the hiding styles show it as the first line, so it is written only when the user gave one.
inline constexpr char kPreheaderOpen[] =
    "<div style=3D\"display:none;max-height:0;overflow:hidden;mso-hide:all\">";
inline constexpr char kPreheaderClose[] = "</div>";
// After the phone layout's preview text: inboxes fill their line with whatever text follows, so blanks
// that show nothing (a no-break space and a zero-width non-joiner, repeated) take that room.
inline constexpr char kPreheaderFiller[] = "&nbsp;&zwnj;";
inline constexpr int kPreheaderFillerCount = 90;

inline constexpr char kPhoneDoctype[] = "<!DOCTYPE html>";
inline constexpr char kPhoneHtmlOpen[] = "<html lang=3D\"de\">";
inline constexpr char kPhoneHead[] = "<head>";
inline constexpr char kPhoneMetaCharset[] =
    "<meta http-equiv=3D\"Content-Type\" content=3D\"text/html; charset=3Diso-8859-1\">";
inline constexpr char kPhoneMetaViewport[] =
    "<meta name=3D\"viewport\" content=3D\"width=3Ddevice-width, initial-scale=3D1\">";
// Mail apps that honour these keep the designed colours instead of inverting them in dark mode.
inline constexpr char kPhoneMetaColorScheme[] = "<meta name=3D\"color-scheme\" content=3D\"light\">";
inline constexpr char kPhoneMetaSupportedSchemes[] =
    "<meta name=3D\"supported-color-schemes\" content=3D\"light\">";
inline constexpr char kPhoneTitleOpen[] = "<title>";
// The title of a newsletter without subject and header lines: a page without one is read out nameless.
inline constexpr char kPhoneFallbackTitle[] = "Newsletter";
inline constexpr char kPhoneTitleClose[] = "</title>";
inline constexpr char kPhoneHeadClose[] = "</head>";
// "%1" is the background colour, on the body and again on the wrapper table: Gmail, Outlook.com and
// Yahoo drop the attributes of <body>.
inline constexpr char kPhoneBody[] =
    "<body style=3D\"margin:0;padding:0;background-color:%1\" bgcolor=3D\"%1\">";
inline constexpr char kPhoneWrapper[] =
    "<table role=3D\"presentation\" width=3D\"100%\" border=3D\"0\" cellpadding=3D\"0\" cellspacing=3D\"0\" "
    "bgcolor=3D\"%1\" style=3D\"width:100%;background-color:%1\">";
inline constexpr char kPhoneWrapperCell[] = "<tr><td align=3D\"center\" style=3D\"padding:0\">";
// Outlook takes width:100% literally and knows no max-width: its own table holds it at 600 pixels.
inline constexpr char kMsoContentOpen[] =
    "<!--[if mso]><table role=3D\"presentation\" width=3D\"600\" border=3D\"0\" cellpadding=3D\"0\" "
    "cellspacing=3D\"0\" "
    "align=3D\"center\"><tr><td><![endif]-->";
inline constexpr char kPhoneContent[] =
    "<table role=3D\"presentation\" width=3D\"600\" border=3D\"0\" cellpadding=3D\"0\" cellspacing=3D\"0\" "
    "align=3D\"center\" style=3D\"width:100%;max-width:600px;margin:0 auto\">";

// A row that holds one picture: "%1" the alignment attribute, "%2" the padding.
inline constexpr char kPhonePictureRow[] = "<tr><td align=3D\"%1\" style=3D\"padding:%2;text-align:%1\">";
inline constexpr char kPhoneRowEnd[] = "</td></tr>";
inline constexpr char kPhoneImageOpen[] = "<img src=3D\"cid:";
inline constexpr char kPhoneImageWidth[] = "\" width=3D\"";
inline constexpr char kPhoneImageAlt[] = "\" alt=3D\"";
// A picture's width by style as well: a picture that is not shown (held back by the mail app, or
// broken) keeps its width attribute and ignores max-width:100%, so width:100% with the picture's own
// width as the maximum is what keeps it inside a phone's screen. "%1" is that width, "%2" the margin
// that aligns a picture shown as a block. Its alt text, shown in its place, is set like the text.
inline constexpr char kPhoneImageStyle[] =
    "\" style=3D\"display:block;width:100%;max-width:%1px;height:auto;border:0;margin:%2;";
inline constexpr char kPhoneInlineImageStyle[] =
    "\" style=3D\"width:100%;max-width:%1px;height:auto;border:0;";
inline constexpr char kPhoneAltFont[] = "font-size:14px;";

// Texts: the font on every element that holds text, since Outlook does not pass it on to headings. A
// long address or compound word breaks where it must instead of widening the page, which a mail app
// then shrinks as a whole; the older engines know only word-break's form of it.
inline constexpr char kPhoneFont[] =
    "overflow-wrap:anywhere;word-break:break-word;hyphens:auto;"
    "font-family:Arial,Helvetica,sans-serif;line-height:1.5;color:";
// One left edge for the title, the date, the news texts and the imprint, at every width.
inline constexpr char kPhoneTitleCell[] = "<tr><td style=3D\"padding:16px 16px 0 16px\">";
inline constexpr char kPhoneDate[] = "<p style=3D\"margin:0 0 8px 0;text-align:right;font-size:14px;";
inline constexpr char kPhoneTitle[] = "<h1 style=3D\"margin:0 0 8px 0;font-size:24px;font-weight:bold;";
inline constexpr char kPhoneTitleEnd[] = "</h1>";
inline constexpr char kPhoneTitle2[] = "<p style=3D\"margin:0;font-size:16px;font-weight:bold;";
inline constexpr char kPhoneTagEnd[] = "\">";

// A news block: two inline blocks that sit side by side in 600 pixels and stack below 600 (picture
// above, centred; text below), inside Outlook's own two-column table. font-size:0 keeps the blank
// between the two blocks from pushing the second onto the next line; the picture cell sets a size of
// its own again for the alt text shown when the picture is not.
inline constexpr char kPhoneColumnsCell[] =
    "<tr><td align=3D\"center\" style=3D\"padding:8px 0 0 0;font-size:0;text-align:center\">";
inline constexpr char kMsoColumnsOpen[] =
    "<!--[if mso]><table role=3D\"presentation\" width=3D\"600\" border=3D\"0\" cellpadding=3D\"0\" "
    "cellspacing=3D\"0\">"
    "<tr><td width=3D\"180\" valign=3D\"top\"><![endif]-->";
inline constexpr char kPhonePictureColumn[] =
    "<div style=3D\"display:inline-block;width:100%;max-width:180px;vertical-align:top\">";
inline constexpr char kPhoneColumnTable[] =
    "<table role=3D\"presentation\" width=3D\"100%\" border=3D\"0\" cellpadding=3D\"0\" cellspacing=3D\"0\">";
inline constexpr char kPhonePictureCell[] =
    "<tr><td align=3D\"center\" style=3D\"padding:0 0 12px 0;text-align:center;font-size:14px;";
inline constexpr char kPhoneLinkOpen[] = "<a href=3D\"";
inline constexpr char kPhoneLinkTarget[] = "\" target=3D\"_blank\" style=3D\"color:";
inline constexpr char kPhoneLinkClose[] = "</a>";
inline constexpr char kPhoneColumnEnd[] = "</td></tr></table></div>";
inline constexpr char kMsoColumnsBetween[] =
    "<!--[if mso]></td><td width=3D\"420\" valign=3D\"top\"><![endif]-->";
// Beside a picture the text column is 420 pixels wide; stacked below it (a cell narrower than 600) it
// fills the width. The calc() width is far below the minimum from 600 pixels on and far above the
// maximum below: no media query needed. An engine without calc() keeps the first width and max-width.
inline constexpr char kPhoneTextColumn[] =
    "<div style=3D\"display:inline-block;vertical-align:top;width:100%;max-width:420px;min-width:70%;"
    "max-width:calc(100%);width:calc((600px - 100%) * 9999)\">";
// A block without a picture: its text takes the full width.
inline constexpr char kPhoneFullTextColumn[] = "<div>";
inline constexpr char kPhoneTextCell[] =
    "<tr><td style=3D\"padding:0 16px 12px 16px;text-align:left;font-size:16px;";
inline constexpr char kPhoneHeadline[] = "<h2 style=3D\"margin:0 0 8px 0;font-size:20px;font-weight:bold;";
inline constexpr char kPhoneHeadlineClose[] = "</h2>";
inline constexpr char kPhoneNewsTextOpen[] = "<div>";
inline constexpr char kPhoneNewsTextClose[] = "</div>";
inline constexpr char kPhoneMoreOpen[] = "<p style=3D\"margin:12px 0 0 0;font-weight:bold\">";
inline constexpr char kPhoneParagraphClose[] = "</p>";
inline constexpr char kMsoColumnsClose[] = "<!--[if mso]></td></tr></table><![endif]-->";

// The imprint.
inline constexpr char kPhoneImprintCell[] =
    "<tr><td style=3D\"padding:16px 16px 24px 16px;text-align:left;font-size:14px;";
inline constexpr char kPhoneParagraph[] = "<p style=3D\"margin:0 0 12px 0\">";
inline constexpr char kPhoneUnsubscribe[] = "<p style=3D\"margin:24px 0 0 0\">";
inline constexpr char kPhoneBreak[] = "<br>";

// The end of the document.
inline constexpr char kPhoneTableClose[] = "</table>";
inline constexpr char kMsoContentClose[] = "<!--[if mso]></td></tr></table><![endif]-->";
inline constexpr char kPhoneBodyClose[] = "</body>";
inline constexpr char kPhoneHtmlClose[] = "</html>";

// The size command's steps in the news text, by the size they reach from the text's size 2: a phone's
// text is 16 pixels, so each step lands on a larger pixel size. <font size="+1"> gives size 3.
inline constexpr int kPhoneFontPixels[] = {14, 16, 18, 20, 24, 28, 32};
inline constexpr char kPhoneListOpen[] = "<ul style=3D\"margin:8px 0;padding:0 0 0 24px\">";
inline constexpr char kPhoneListClose[] = "</ul>";
inline constexpr char kPhoneListItem[] = "<li style=3D\"margin:0 0 4px 0\">";

}  // namespace zw::texts

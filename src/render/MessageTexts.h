#pragma once

#include <QtGlobal>

// The fixed texts of the newsletter message, in the order the message has them. The HTML fragments
// are stored already in quoted-printable form ("=3D" is "="), and the renderer writes them as they
// stand. Everything here is 7-bit ASCII.

namespace zw::texts {

// Header block and the plain-text part's header.
inline constexpr char kFrom[] = "From: \"Ihr Name\" <ihre.adresse@example.com>";
inline constexpr char kSubject[] = "Subject: ";
// Every message carries the same date: the mail program fills in its own when the message is sent.
inline constexpr char kDate[] = "Date: Fri, 29 Nov 2002 12:41:44 +0100";
inline constexpr char kMimeVersion[] = "MIME-Version: 1.0";
inline constexpr char kRelatedType[] = "Content-Type: multipart/related;";
inline constexpr char kRelatedTypeParam[] = "\ttype=\"multipart/alternative\";";
inline constexpr char kRelatedBoundaryParam[] = "\tboundary=\"----=_NextPart_1\"";
inline constexpr char kPriority[] = "X-Priority: 3";
inline constexpr char kMsMailPriority[] = "X-MSMail-Priority: Normal";
inline constexpr char kUnsent[] = "X-Unsent: 1";
inline constexpr char kMimeOle[] = "X-MimeOLE: Produced By Microsoft MimeOLE V5.50.4522.1200";
inline constexpr char kPreamble[] = "This is a multi-part message in MIME format.";
inline constexpr char kRelatedDelimiter[] = "------=_NextPart_1";
inline constexpr char kAlternativeType[] = "Content-Type: multipart/alternative;";
inline constexpr char kAlternativeBoundaryParam[] = "\tboundary=\"----=_NextPart_2\"";
inline constexpr char kAlternativeDelimiter[] = "------=_NextPart_2";
inline constexpr char kPlainType[] = "Content-Type: text/plain;";
inline constexpr char kCharsetParam[] = "\tcharset=\"iso-8859-1\"";
inline constexpr char kQuotedPrintable[] = "Content-Transfer-Encoding: quoted-printable";

// Subjects with 8-bit characters become encoded words of this character set; header texts with a
// character that Windows-1252 has no byte for (a subject with an emoji, a sender's name) of the second.
inline constexpr char kSubjectCharset[] = "windows-1252";
inline constexpr char kWideCharset[] = "UTF-8";

// Plain-text part. A free line holds one blank, never nothing.
inline constexpr char kPlainFreeLine[] = " ";
inline constexpr char kPlainImprint[] = "Impressum:";

// HTML part header and document head.
inline constexpr char kHtmlType[] = "Content-Type: text/html;";
inline constexpr char kDoctype[] = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 Transitional//EN\">";
inline constexpr char kTitleOpen[] = "<HTML><HEAD><TITLE>";
inline constexpr char kTitleClose[] = "</TITLE>";
inline constexpr char kMetaContentType[] = "<META content=3Dtext/html;charset=3Diso-8859-1 =";
inline constexpr char kMetaHttpEquiv[] =
    "http-equiv=3DContent-Type><!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0 =";
inline constexpr char kMetaTransitional[] = "Transitional//EN\">";
inline constexpr char kMetaGenerator[] = "<META content=3D\"MSHTML 5.00.3315.2870\" name=3DGENERATOR></HEAD>";
inline constexpr char kBodyALink[] = "<BODY aLink=3D";
inline constexpr char kBodyBgColor[] = " bgColor=3D";
inline constexpr char kBodyLink[] = " link=3D";
inline constexpr char kBodyVLink[] = " topMargin=3D0 vLink=3D";
inline constexpr char kBodyEnd[] = " marginheight=3D\"0\">";
inline constexpr char kOuterTable[] = "<TABLE border=3D0 cellPadding=3D0 cellSpacing=3D0 width=3D\"100%\">";
inline constexpr char kRowOpen[] = "<TR>";
inline constexpr char kCellMiddle[] = "<TD align=3Dmiddle>";
inline constexpr char kTable600[] = "<TABLE border=3D0 cellPadding=3D0 cellSpacing=3D0 width=3D600>";

// Head logo row.
inline constexpr char kCellOpen[] = "<TD>";
inline constexpr char kLogoDivOpen[] = "<TR><TD><DIV ALIGN=3D\"";
inline constexpr char kAttributeEnd[] = "\">";
inline constexpr char kLogoImage[] = "<IMG alt=3D\"\" src=3D\"cid:";
inline constexpr char kLogoRowEnd[] = "</DIV></TD></TR>";
inline constexpr char kTableClose[] = "</TABLE>";
inline constexpr char kCellClose[] = "</TD>";
inline constexpr char kRowClose[] = "</TR>";

// Title row.
inline constexpr char kTitleCell[] = "<TD class=3DTextgross vAlign=3Dtop><P><B>";
inline constexpr char kFontOpen[] = "<FONT face=3DArial color=3D";
inline constexpr char kFontSize[] = " size=3D2>";
inline constexpr char kTitle2Open[] = "</FONT></B></P><P><FONT face=3DArial color=3D";
inline constexpr char kTitle2Size[] = " size=3D2><B>";
inline constexpr char kTitle2Close[] = "</B></FONT></P></TD>";
inline constexpr char kDateCell[] = "<TD align=3Dright class=3Dtext vAlign=3Dtop>";
inline constexpr char kFontClose[] = "</FONT>";
inline constexpr char kDateCellClose[] = "</FONT></TD>";

// One news block.
inline constexpr char kDivAlignOpen[] = "<DIV ALIGN=3D\"";
inline constexpr char kSeparatorImage[] = "<BR><IMG alt=3D\"\" border=3D0 src=3D\"cid:";
inline constexpr char kSeparatorImageEnd[] = "\"></DIV><BR>";
inline constexpr char kPictureCellLinked[] =
    "<TD align=3Dmiddle class=3Dtext vAlign=3Dtop width=3D180><A href=3D\"";
inline constexpr char kPictureLinkedImage[] = "\" target=3D_blank><IMG alt=3D\"\" border=3D0 src=3D\"cid:";
inline constexpr char kPictureLinkedEnd[] = "\"></A></TD>";
inline constexpr char kPictureCell[] =
    "<TD align=3Dmiddle class=3Dtext vAlign=3Dtop width=3D180><IMG alt=3D\"\" border=3D0 src=3D\"cid:";
inline constexpr char kPictureEnd[] = "\"></TD>";
inline constexpr char kTextCell[] =
    "<TD class=3Dtextgross colSpan=3D2 vAlign=3Dtop width=3D420><B><FONT face=3DArial color=3D";
inline constexpr char kHeadlineEnd[] = "</FONT></B><BR><FONT face=3DArial color=3D";
inline constexpr char kTextEnd[] = "</FONT><BR>";
inline constexpr char kLinkOpen[] = "<A href=3D\"";
inline constexpr char kTextLinkFont[] = "\" target=3D_blank><B><FONT face=3DArial color=3D";
inline constexpr char kTextLinkClose[] = "</FONT></B></A>";

// Imprint row.
inline constexpr char kBreak[] = "<BR>";
inline constexpr char kImprintImage[] = "<IMG alt=3D\"\" border=3D0 src=3D\"cid:";
inline constexpr char kImprintImageEnd[] = "\"></DIV><BR><BR>";
inline constexpr char kImprintCell[] = "<TD class=3Dtext><FONT face=3DArial color=3D";
inline constexpr char kMailLinkOpen[] = "</FONT><BR><BR><A href=3D\"mailto:";
inline constexpr char kMailLinkCloseLong[] = "</FONT></A><BR><A href=3D\"";
inline constexpr char kWebLinkCloseLong[] = "</FONT></A><BR><BR><BR>";
inline constexpr char kMailLinkCloseShort[] = "</FONT></A><BR>";
inline constexpr char kLastLinkClose[] = "</FONT></A></TD>";

// Document end. The closing tags do not pair with the open elements; mail programs have shown them
// this way for years, so they stay.
inline constexpr char kBodyClose[] = "</BODY>";
inline constexpr char kHtmlClose[] = "</HTML>";
inline constexpr char kAlternativeClose[] = "------=_NextPart_2--";

// Picture parts.
inline constexpr char kImageType[] = "Content-Type: image/";
inline constexpr char kBase64Encoding[] = "Content-Transfer-Encoding: base64";
inline constexpr char kContentIdOpen[] = "Content-ID: <";
inline constexpr char kContentIdClose[] = ">";
inline constexpr char kReferenceSeparator[] = "B_";
inline constexpr char kRelatedClose[] = "------=_NextPart_1--";

// The picture copies of the three setting pictures, completed by the picture's extension word.
inline constexpr char kHeadLogoCopy[] = "m_Kopf.";
inline constexpr char kNewsSeparatorCopy[] = "m_Seperator.";
inline constexpr char kImprintSeparatorCopy[] = "m_Impressum.";
// The working file that is left with the base64 text of the last picture part.
inline constexpr char kBase64WorkFile[] = "temp.mim";

// Soft line breaks of the HTML region.
inline constexpr qsizetype kSoftLineLength = 70;

}  // namespace zw::texts

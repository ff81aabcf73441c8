#pragma once

#include <QByteArray>

#include "render/RenderMessage.h"

namespace zw {

// The start of the HTML part that both layouts share: its delimiter and header, ended by the empty line.
void AddHtmlPartHeader(RenderContext& context);
// The phone layout's HTML document, from its doctype through the closing delimiter of the alternatives:
// one column at most 600 pixels wide that narrows with the screen, every style inline.
void AddPhoneHtmlDocument(RenderContext& context);
// The phone layout's plain-text part: the texts as a person reads them, wrapped as format=flowed.
void AddPhonePlainText(RenderContext& context);
// The hidden preview text for the top of the body, already quoted-printable; empty without one.
QByteArray PreheaderLine(const QByteArray& vorschautext);
// A news text as the phone layout's HTML part carries it, quoted-printable: the list items the text
// commands write stand inside a list, the size command's steps become pixel sizes, and every link
// carries the link colour. The stored text keeps what the user wrote.
QByteArray PhoneNewsText(const QByteArray& text, const QByteArray& linkColor);
// A user text as the value of an alt attribute: without tags, quotes as references.
QByteArray AltText(const QByteArray& text);

}  // namespace zw

#pragma once

#include <QByteArray>
#include <QString>

#include "platform/Prompts.h"
#include "render/RenderInput.h"
#include "send/OutgoingMessage.h"

namespace zw::send {

// The unsubscribe address as the rendering links it ("http://...", "mailto:..."), with the web
// address's "=" as typed rather than in the HTML part's quoted-printable form; empty when the rendering
// shows no unsubscribe link (it needs both the text and the address).
QByteArray unsubscribeLinkOf(const RenderInput& input);

// Renders the newsletter into target, as save and preview do (RenderMessage), and takes it up as the
// message a sending sends. Throws zw::Error (German) as the rendering does.
Newsletter renderNewsletter(const RenderInput& input, const QString& target, Prompts& prompts);

}  // namespace zw::send

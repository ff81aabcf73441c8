#pragma once

#include <QObject>
#include <QString>

#include <functional>

#include "send/SenderProfile.h"
#include "send/SmtpTransport.h"

namespace zw::send {

// Talks to the mail server off the user-interface thread, with the wait cursor shown meanwhile, and
// hands the answer to done on the user-interface thread; not at all when context is gone by then. An
// error thrown by work becomes a Fatal answer with its German message.
void askServer(QObject* context, std::function<SendResult()> work,
               std::function<void(const SendResult&)> done);

// What "Verbindung prüfen" says about the answer, in German.
QString verifyReport(const SenderProfile& profile, const SendResult& result);
// What "Testmail an mich senden" says about the answer, in German.
QString testMailReport(const SenderProfile& profile, const SendResult& result);

}  // namespace zw::send

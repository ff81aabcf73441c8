#pragma once

#include <curl/curl.h>

#include <QString>

#include "send/SenderProfile.h"

namespace zw::send {

// The TLS rules every connection of ours keeps, sending or reading: TLS required unless security is
// None (the caller allows that only to loopback), TLS 1.2 at least, the certificate and the host name
// always checked, against the system's store plus the extra CA file when one is given. Returns an empty
// text, or the German reason the CA file cannot be read.
QString requireCheckedTls(CURL* curl, Security security, const QString& caFile);
// Why a transfer's certificate check failed, in a German sentence ("Es ist abgelaufen."); errorText
// is libcurl's error buffer of the transfer, host the server's name as the profile gives it.
QString certificateReason(CURL* curl, const char* errorText, const QString& host);

}  // namespace zw::send

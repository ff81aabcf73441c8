#pragma once

#include <atomic>
#include <memory>

#include <QByteArray>
#include <QString>

#include "send/SenderProfile.h"

namespace zw::send {

// How the server answered one message, as a campaign must act on it.
enum class Outcome {
    Sent,              // accepted; serverText holds the queue answer ("250 2.0.0 Ok: queued as ...")
    Temporary,         // 4xx or a dropped connection: try this recipient again later
    RecipientRefused,  // 5xx to this recipient or its message: report it and go on
    Fatal,             // login refused, sender refused, certificate failed, server unreachable: stop
    Throttled,         // the provider refuses the sender for now (a sending limit): wait, then go on
    // The message went out in full, but its answer never came (the connection broke, the server kept
    // silent past the time limit, or the sending was stopped meanwhile): it may have arrived.
    AnswerLost,
    Stopped,  // the sending was stopped before the message went out in full: it has not arrived
};

struct SendResult {
    Outcome outcome = Outcome::Fatal;
    int code = 0;             // the server's reply code, 0 when there was none
    QString serverText;       // the server's last reply as it sent it
    QString message;          // German, for the user: what happened, naming the server; empty when sent
    bool dailyQuota = false;  // Throttled by the day's quota: wait until a day after the day's first message
};

// One SMTP connection through libcurl, kept open for many messages. TLS always checks the
// certificate and host name (system store plus the profile's CA file); plain SMTP only to loopback.
// Answers: 4xx is Temporary; 5xx to RCPT, DATA or the message is RecipientRefused; 5xx to the login
// or to MAIL FROM, a failed certificate check, a server without STARTTLS and an unreachable server
// are Fatal. serverText is the server's answer; the login exchange is never recorded.
// Each wait for the server has its limit from the profile (the greeting and every command, the end of
// a message), counted from the moment the wait began: an answer that trickles in byte by byte does
// not stretch it. A server silent past it is a Temporary failure, or AnswerLost after a message.
// The password is handed to libcurl in the constructor and kept nowhere else.
// Not thread-safe: one transport belongs to one sending thread.
class SmtpTransport {
public:
    SmtpTransport(SenderProfile profile, QString password);
    ~SmtpTransport();
    SmtpTransport(const SmtpTransport&) = delete;
    SmtpTransport& operator=(const SmtpTransport&) = delete;

    // Connects, secures the connection and logs in, then says NOOP: nothing is sent, and the
    // connection stays open for the messages that follow ("Verbindung prüfen"). Sent means all went
    // well; message then says so in German. Without a login name only the connection is checked.
    SendResult verify();
    // Sends one message (CRLF lines, 7-bit, dot-stuffing left to libcurl) to one recipient, with the
    // profile's address as envelope sender. A connection that dropped before the message went out in
    // full is opened again once before the answer is Temporary; one that dropped after it is never
    // tried again here (AnswerLost: the caller decides when, if at all).
    SendResult send(const QByteArray& recipient, const QByteArray& message);
    // While stop is true, the exchange under way gets a moment to finish and is then broken off, so
    // that a stop never waits for a silent server. Must outlive the transport's use; null: none.
    void setStop(const std::atomic<bool>* stop);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace zw::send

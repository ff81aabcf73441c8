#pragma once

#include <QByteArray>

namespace zw::test {

// Inbox messages as the servers write them, built from RFC 3464 and the servers' published texts. Each
// bounce returns our message "<nl.4711@example.org>" to versand@example.org.
namespace samples {

inline constexpr char kOriginalId[] = "<nl.4711@example.org>";

// The copy of our newsletter that bounces attach or quote; its unsubscribe link must not count.
inline const QByteArray kReturnedHeaders =
    "From: Turnverein <versand@example.org>\r\n"
    "To: anna@example.net\r\n"
    "Subject: Sommerfest\r\n"
    "Message-ID: <nl.4711@example.org>\r\n"
    "List-Unsubscribe: <mailto:versand@example.org?subject=Abmelden>\r\n";

inline QByteArray dsn(const QByteArray& recipientBlocks,
                      const QByteArray& subject = "Undelivered Mail Returned to Sender") {
    return "From: MAILER-DAEMON@mx.example.net (Mail Delivery System)\r\n"
           "To: versand@example.org\r\n"
           "Subject: " +
           subject +
           "\r\n"
           "Date: Tue, 01 Dec 2026 10:00:00 +0100\r\n"
           "Auto-Submitted: auto-replied\r\n"
           "MIME-Version: 1.0\r\n"
           "Content-Type: multipart/report; report-type=delivery-status; boundary=\"B1\"\r\n\r\n"
           "--B1\r\nContent-Type: text/plain\r\n\r\n"
           "I'm sorry to have to inform you that your message could not be delivered.\r\n\r\n"
           "--B1\r\nContent-Type: message/delivery-status\r\n\r\n"
           "Reporting-MTA: dns; mx.example.net\r\n"
           "Arrival-Date: Tue,  1 Dec 2026 09:59:58 +0100\r\n\r\n" +
           recipientBlocks + "--B1\r\nContent-Type: text/rfc822-headers\r\n\r\n" + kReturnedHeaders +
           "\r\n--B1--\r\n";
}

inline QByteArray textBounce(const QByteArray& headers, const QByteArray& body) {
    return headers +
           "To: versand@example.org\r\nDate: Tue, 01 Dec 2026 10:00:00 +0100\r\n"
           "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n"
           "Content-Transfer-Encoding: 8bit\r\n\r\n" +
           body;
}

inline QByteArray mail(const QByteArray& headers, const QByteArray& body) {
    return headers +
           "To: versand@example.org\r\nDate: Wed, 02 Dec 2026 08:00:00 +0100\r\n"
           "Message-ID: <antwort.1@example.net>\r\n"
           "MIME-Version: 1.0\r\nContent-Type: text/plain; charset=utf-8\r\n"
           "Content-Transfer-Encoding: 8bit\r\n\r\n" +
           body;
}

}  // namespace samples
}  // namespace zw::test

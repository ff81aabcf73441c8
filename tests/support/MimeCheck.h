#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

namespace zw::test {

// One picture part of a newsletter as a mail program's parser (GMime) sees it.
struct MimePicture {
    QByteArray contentId;  // without the angle brackets
    QByteArray bytes;      // decoded
};

// A rendered newsletter taken apart by GMime, independently of our own writer.
struct MimeNewsletter {
    QStringList problems;  // empty when the message has the newsletter's structure
    QString subject;       // decoded to Unicode
    QString fromName, fromAddress;  // the one sender of the From line, decoded
    // The decoded bodies of the two alternatives, still Windows-1252.
    QByteArray plain;
    QByteArray html;
    QList<MimePicture> pictures;   // in part order
    QList<QByteArray> references;  // the "cid:" references of the decoded HTML, in order
};

// Parses a message and checks its structure: multipart/related holding multipart/alternative (text/plain,
// text/html) and then base64 picture parts with a Content-ID each; every "cid:" reference has exactly
// one part, and every part is referenced.
MimeNewsletter parseNewsletter(const QByteArray& message);
// The lines of the decoded plain-text alternative, as a mail program shows them.
QList<QByteArray> plainLines(const QByteArray& message);

// The checks above, plus the decoded subject and the decoded picture bytes in part order.
::testing::AssertionResult isNewsletter(const QByteArray& message, const QString& subject,
                                        const QList<QByteArray>& pictures);

}  // namespace zw::test

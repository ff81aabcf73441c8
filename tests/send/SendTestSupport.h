#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zw::test {

// The shipped default template rendered as the program renders it; a text given is put in front of
// its first news block's text.
QByteArray renderShippedTemplate(const QByteArray& firstBlockTextPrefix = {});

// The shipped default template, with that text in front of its first block's text, as a file in folder.
QString writeShippedTemplate(const QString& folder, const QByteArray& firstBlockTextPrefix = {});

// The fields a reader shows of a received message, decoded by GMime.
struct ParsedHeader {
    QString fromName, fromAddress;
    QString toAddress;
    QString subject;
    QDateTime date;
    QString messageId;
};
ParsedHeader parseHeader(const QByteArray& message);

}  // namespace zw::test

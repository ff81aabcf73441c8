#pragma once

#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include <atomic>

#include "inbox/BounceSamples.h"
#include "send/Campaign.h"

namespace zw::test {

// A campaign "sent" to the addresses (into a map, not over SMTP) in the working-files folder work:
// each recipient's Message-ID.
inline QMap<QString, QByteArray> sendCampaign(const QString& work, const QString& subject,
                                              const QStringList& to) {
    const QByteArray message = "From: x@example.org\r\nSubject: " + subject.toUtf8() +
                               "\r\nMIME-Version: 1.0\r\nContent-Type: text/plain\r\n\r\nHallo\r\n";
    send::RecipientList list = send::readRecipientList(to.join(u'\n').toUtf8());
    send::SenderProfile profile;
    profile.address = QStringLiteral("versand@example.org");
    send::Campaign campaign =
        send::Campaign::create(work, {message, "https://verein.example/ab"}, list, profile);
    QMap<QString, QByteArray> ids;
    static const QRegularExpression id(QStringLiteral("\r\nMessage-ID: (<[^>]+>)\r\n"));
    const std::atomic<bool> stop = false;
    campaign.run(
        [&](const QByteArray& address, const QByteArray& bytes) {
            ids.insert(QString::fromUtf8(address),
                       id.match(QString::fromLatin1(bytes)).captured(1).toLatin1());
            return send::SendResult{send::Outcome::Sent, 250, QStringLiteral("250 OK"), {}};
        },
        stop);
    return ids;
}

// A bounce sample returning the copy with this Message-ID.
inline QByteArray returning(const QByteArray& bounce, const QByteArray& messageId) {
    QByteArray out = bounce;
    return out.replace(samples::kOriginalId, messageId);
}

inline QByteArray failedDsn(const QString& address, const char* status) {
    return samples::dsn("Final-Recipient: rfc822; " + address.toUtf8() +
                        "\r\nAction: failed\r\nStatus: " + status + "\r\nDiagnostic-Code: smtp; " +
                        (status[0] == '5' ? "550 " : "452 ") + status + " Nein\r\n\r\n");
}

}  // namespace zw::test

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "render/Fields.h"
#include "send/RecipientList.h"
#include "send/SenderProfile.h"

namespace zw::send {

// What a campaign sends: one rendering of the template, and the template's unsubscribe address as
// the rendering linked it (a web address or "mailto:..."; empty when the template has none).
// A rendering with personal fields keeps their markers, and fields says what each stands for.
struct Newsletter {
    QByteArray rendered;
    QByteArray unsubscribeLink;
    FieldSet fields{};
};

// The rendered message prepared once for many recipients: its top-level header block split off and
// the body made fit for SMTP (lines of at most 998 characters, 7-bit) with its decoded content
// unchanged. Per recipient only the header block is written anew, and the lines with personal fields
// are filled in and encoded again; everything else, the pictures above all, is encoded once.
class OutgoingMessage {
public:
    // Throws zw::Error (German) when the bytes are not a rendered newsletter.
    explicit OutgoingMessage(const Newsletter& newsletter);

    // The subject as readers see it, decoded.
    QString subject() const;
    // The size of one recipient's message in bytes, near enough for the check page.
    qsizetype size() const;
    bool hasUnsubscribe() const;

    // The whole message for one recipient, CRLF lines: From, To, Subject, Date (now, local zone),
    // Message-ID under the sender's domain, MIME-Version and the rendering's Content-Type lines,
    // List-Unsubscribe (and List-Unsubscribe-Post when the profile says one-click); no draft marker
    // and no header of another program.
    // Personal fields get the recipient's values, or the sample (the test mail) without them.
    QByteArray forRecipient(const Recipient& to, const SenderProfile& from, const QDateTime& now,
                            const FieldValues* values = nullptr) const;
    // The same under a Message-ID the caller made (and keeps, to know the bounces of this copy).
    QByteArray forRecipient(const Recipient& to, const SenderProfile& from, const QDateTime& now,
                            const QByteArray& messageId, const FieldValues* values = nullptr) const;
    const FieldSet& fields() const { return fields_; }

    // A part of the body: bytes ready to send, then a line (its soft line breaks joined) whose
    // fields are filled in per recipient.
    struct BodyPiece {
        QByteArray ready;
        QByteArray fill;
        FieldPlace place = FieldPlace::Plain;
    };

private:
    QList<QByteArray> contentHeader_;  // MIME-Version and Content-Type lines as rendered
    QByteArray subjectLines_;          // the Subject header as rendered, folded lines included
    QByteArray body_;  // everything after the header block, CRLF, SMTP-safe; empty with fields
    QByteArray unsubscribeLink_;
    QString subject_;
    FieldSet fields_;
    QList<BodyPiece> pieces_;       // only with fields: body_ in pieces
    QByteArray unsubscribeFields_;  // the unsubscribe link with field markers, when it has any
};

// A unique Message-ID ("<...@domain>") under the domain of the sender's address.
QByteArray newMessageId(const QString& senderAddress);

}  // namespace zw::send

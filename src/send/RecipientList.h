#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace zw::send {

// One address a campaign sends to.
struct Recipient {
    QString address;  // an addr-spec, checked
    QString name;     // the display name the list gives, may be empty
    qsizetype line = 0;  // the line of the file it came from (1-based), for the report
};

// A row of the file that was not taken, and why (German).
struct RejectedRow {
    qsizetype line = 0;
    QString text;    // the row's address cell (or the row) as read, for the report
    QString reason;  // e.g. "ungültige Adresse", "doppelt (Zeile 12)", "steht auf der Sperrliste"
};

struct RecipientList {
    QList<Recipient> recipients;
    QList<RejectedRow> rejected;
};

// Empty when address is an addr-spec a mail server accepts; otherwise the German reason.
QString checkAddress(const QString& address);

// Reads a CSV or plain-text list as spreadsheets and address books export it (separator, encoding,
// header row and address column found from the content). Never throws on the content.
RecipientList readRecipientList(const QByteArray& bytes);
// The same from a file; throws zw::Error (German) when it cannot be read.
RecipientList readRecipientFile(const QString& path);

// Drops every recipient whose address (ignoring case) is on the exclusion list, reporting each as a
// rejected row.
void applyExclusions(RecipientList& list, const RecipientList& exclusions);

}  // namespace zw::send

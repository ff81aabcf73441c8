#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zw::send {

// One address a campaign sends to.
struct Recipient {
    QString address;     // a bare address (local part @ domain), checked
    QString name;        // the display name the list gives, may be empty
    qsizetype line = 0;  // the line of the file it came from (1-based), for the report
    // The row's cells under the header's columns, for the personal fields: cleaned (no tab), one tab
    // between two. One text per row keeps a long list small.
    QString cells{};
};

// A row of the file that was not taken, and why (German).
struct RejectedRow {
    qsizetype line = 0;
    QString text;    // the row's address cell (or the row) as read, for the report
    QString reason;  // German, e.g. "doppelt (wie Zeile 12)", "steht auf der Sperrliste"
};

struct RecipientList {
    QStringList columns;  // the header row's names; empty without a header
    QList<Recipient> recipients;
    QList<RejectedRow> rejected;
};

// Empty when address is a bare address (local part @ domain) that a mail server accepts; otherwise
// the German reason. Only plain addresses pass: no name or angle brackets, no quoted local part, no
// blanks, commas or line breaks, ASCII only, a domain with a dot, at most 64 characters before the @
// and 254 in all.
QString checkAddress(const QString& address);

// Reads a CSV or plain-text list as spreadsheets and address books export it (separator, encoding,
// header row and address column found from the content). Never throws on the content, and takes time
// in proportion to its size whatever the bytes are. Blank rows are skipped; every other row not taken
// is rejected with its reason: no or an invalid address, or a duplicate (ignoring case) of an earlier
// one. Recipients and rejected rows are in the order of the file. An address's domain with umlauts is
// given in the form mail servers know ("xn--..."). Names come from a header's columns ("Name", or
// "Vorname" and "Nachname"); a list without a header gives none.
RecipientList readRecipientList(const QByteArray& bytes);
// The same from a file; throws zw::Error (German) when it cannot be read or is far too large for a list.
RecipientList readRecipientFile(const QString& path);

// Drops every recipient whose address (ignoring case) is on the exclusion list (read as a list, its
// recipients are the addresses to leave out), reporting each as a rejected row; the rejected rows stay
// in the order of the lines. Rows of the exclusion list that were no address are its own rejected rows:
// show them too, since an entry there that is not understood excludes nobody.
void applyExclusions(RecipientList& list, const RecipientList& exclusions);

}  // namespace zw::send

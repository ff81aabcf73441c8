#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "render/Fields.h"
#include "send/RecipientList.h"

namespace zw::send {

// One recipient's values for the personal fields: the cells under the list's columns, and the
// address for the address field whatever its column.
FieldValues recipientFieldValues(const QStringList& columns, const Recipient& recipient);

// How one field of the template meets the list, for the check before sending.
struct FieldUse {
    QString name;           // as the template writes it
    bool inList = false;    // the list has the column (the address always)
    qsizetype empty = 0;    // recipients whose cell is empty
    QStringList fallbacks;  // the fallbacks the template gives it, each once
};
QList<FieldUse> fieldUses(const FieldSet& fields, const RecipientList& list);

// The check page's lines about the fields, in German; missing says whether a field is missing from
// the list (the sending waits for a confirmation then).
QStringList fieldReportLines(const QList<FieldUse>& uses, bool* missing = nullptr);

// The list last read for a sending, remembered in the working-files folder: the field menu offers its
// columns and the preview its first recipients.
inline constexpr char kLastListFile[] = "LetzteListe.ini";
void rememberLastList(const QString& workFolder, const QString& listPath);
// That list as read now; empty when there is none or it cannot be read any more.
RecipientList lastList(const QString& workFolder);

}  // namespace zw::send

#include "send/FieldColumns.h"

#include <QDir>
#include <QFile>

#include "platform/Error.h"
#include "platform/FileIo.h"

namespace zw::send {

namespace {

const QString kAddressKey = QStringLiteral("email");

}  // namespace

FieldValues recipientFieldValues(const QStringList& columns, const Recipient& recipient) {
    FieldValues values;
    // The first of two columns of the same name counts, as in the list reader.
    const QList<QStringView> cells = QStringView(recipient.cells).split(u'\t');
    for (qsizetype i = 0; i < columns.size() && i < cells.size(); ++i) {
        const QString key = fieldKey(columns[i]);
        if (!values.contains(key))
            values.insert(key, cells[i].toString());
    }
    values.insert(kAddressKey, recipient.address);
    return values;
}

QList<FieldUse> fieldUses(const FieldSet& fields, const RecipientList& list) {
    QStringList keys;
    QList<FieldUse> uses;
    for (const Field& field : fields.fields) {
        const QString key = fieldKey(field.name);
        qsizetype at = keys.indexOf(key);
        if (at < 0) {
            at = keys.size();
            keys.append(key);
            FieldUse use;
            use.name = field.name;
            use.inList = key == kAddressKey;
            for (const QString& column : list.columns) use.inList = use.inList || fieldKey(column) == key;
            uses.append(use);
        }
        if (field.hasFallback && !uses[at].fallbacks.contains(field.fallback))
            uses[at].fallbacks.append(field.fallback);
    }
    for (const Recipient& recipient : list.recipients) {
        const FieldValues values = recipientFieldValues(list.columns, recipient);
        for (qsizetype i = 0; i < uses.size(); ++i) uses[i].empty += values.value(keys[i]).isEmpty();
    }
    return uses;
}

QStringList fieldReportLines(const QList<FieldUse>& uses, bool* missing) {
    QStringList lines;
    bool anyMissing = false;
    for (const FieldUse& use : uses) {
        const QString field = u'{' + use.name + u'}';
        QString ending =
            use.fallbacks.isEmpty()
                ? QStringLiteral("dort bleibt die Stelle leer")
                : QStringLiteral("sie erhalten „%1“").arg(use.fallbacks.join(QStringLiteral("“ bzw. „")));
        if (!use.inList) {
            anyMissing = true;
            lines.append(QStringLiteral("Das Feld %1 gibt es in der Liste nicht").arg(field) +
                         QStringLiteral(" (") + ending + u')');
        } else if (use.empty == 0) {
            lines.append(QStringLiteral("%1: jeder Empfänger hat einen Wert").arg(field));
        } else {
            lines.append(
                QStringLiteral("%1: %2 Empfänger ohne Wert, %3").arg(field).arg(use.empty).arg(ending));
        }
    }
    if (missing)
        *missing = anyMissing;
    return lines;
}

void rememberLastList(const QString& workFolder, const QString& listPath) {
    try {
        writeWorkingFile(QDir(workFolder).filePath(QLatin1String(kLastListFile)), listPath.toUtf8() + '\n');
    } catch (const Error&) {
        // Only a convenience for the next preview; the sending itself does not need it.
    }
}

RecipientList lastList(const QString& workFolder) {
    QFile file(QDir(workFolder).filePath(QLatin1String(kLastListFile)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString path = QString::fromUtf8(file.readLine()).trimmed();
    try {
        return path.isEmpty() ? RecipientList() : readRecipientFile(path);
    } catch (const Error&) {
        return {};
    }
}

}  // namespace zw::send

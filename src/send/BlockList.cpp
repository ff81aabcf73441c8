#include "send/BlockList.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include "platform/FileIo.h"
#include "send/CampaignFiles.h"
#include "send/CsvReader.h"

namespace zw::send {

namespace {

// The columns in the order the file is written; reading finds them by their header.
enum Column { Address, Reason, Date, Evidence, CampaignName, ColumnCount };
constexpr const char* kHeaders[ColumnCount] = {"Adresse", "Grund", "Datum", "Nachweis", "Versand"};
// A spreadsheet shows this as a date and time and writes it back the same way.
constexpr char kDateFormat[] = "yyyy-MM-dd HH:mm";
// The evidence is a line for people, not the whole bounce: long server texts are cut.
constexpr qsizetype kMaxEvidence = 300;

QString oneLine(QString text, qsizetype limit) {
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u' ';
    text = text.simplified();
    return text.size() > limit ? text.left(limit - 1) + u'…' : text;
}

QString key(const QString& address) {
    return address.trimmed().toLower();
}

}  // namespace

QString blockListPath(const QString& workFolder) {
    return QDir(workFolder).filePath(QLatin1String(kBlockListFileName));
}

BlockList BlockList::load(const QString& path) {
    if (!QFileInfo::exists(path))
        return {};
    return parse(readFile(path));
}

BlockList BlockList::parse(const QByteArray& bytes) {
    BlockList list;
    const QString text = decodeListText(bytes);
    const TableLayout layout = detectLayout(text);
    CsvReader reader(text, layout);
    int columns[ColumnCount] = {0, 1, 2, 3, 4};
    CsvRow row;
    bool first = true;
    while (reader.next(row)) {
        if (first) {
            first = false;
            // A header row names the columns; a file without one is read in the order we write.
            bool header = false;
            for (int c = 0; c < ColumnCount; ++c) {
                columns[c] = -1;
                for (qsizetype i = 0; i < row.size(); ++i)
                    if (row.cell(i).trimmed().compare(QLatin1String(kHeaders[c]), Qt::CaseInsensitive) == 0)
                        columns[c] = int(i);
                header = header || columns[c] >= 0;
            }
            if (header)
                continue;
            for (int c = 0; c < ColumnCount; ++c) columns[c] = c;
        }
        auto cell = [&](Column c) {
            return columns[c] >= 0 && columns[c] < row.size() ? row.cell(columns[c]).trimmed().toString()
                                                              : QString();
        };
        BlockEntry entry{cell(Address), cell(Reason),
                         QDateTime::fromString(cell(Date), QLatin1String(kDateFormat)), cell(Evidence),
                         cell(CampaignName)};
        if (!entry.date.isValid())
            entry.date = QDateTime::fromString(cell(Date), Qt::ISODate);
        if (!entry.address.isEmpty())
            list.add(std::move(entry));
    }
    return list;
}

QByteArray BlockList::toCsv() const {
    QByteArray out = "\xEF\xBB\xBF";
    for (int c = 0; c < ColumnCount; ++c) out += QByteArray(c ? ";" : "") + kHeaders[c];
    out += "\r\n";
    for (const BlockEntry& e : entries_) {
        out += csvField(e.address) + ';' + csvField(e.reason) + ';' +
               csvField(e.date.isValid() ? e.date.toString(QLatin1String(kDateFormat)) : QString()) + ';' +
               csvField(e.evidence) + ';' + csvField(e.campaign) + "\r\n";
    }
    return out;
}

void BlockList::save(const QString& path) const {
    writePrivateFile(path, toCsv());
}

const BlockEntry* BlockList::find(const QString& address) const {
    const auto it = index_.constFind(key(address));
    return it == index_.cend() ? nullptr : &entries_[*it];
}

bool BlockList::add(BlockEntry entry) {
    entry.address = oneLine(entry.address, 254);
    if (entry.address.isEmpty() || find(entry.address))
        return false;
    entry.reason = oneLine(entry.reason, 100);
    entry.evidence = oneLine(entry.evidence, kMaxEvidence);
    entry.campaign = oneLine(entry.campaign, 200);
    index_.insert(key(entry.address), entries_.size());
    entries_.append(std::move(entry));
    return true;
}

bool BlockList::remove(const QString& address) {
    const auto it = index_.constFind(key(address));
    if (it == index_.cend())
        return false;
    entries_.removeAt(*it);
    index_.clear();
    for (qsizetype i = 0; i < entries_.size(); ++i) index_.insert(key(entries_[i].address), i);
    return true;
}

QList<BlockedRecipient> leaveOutBlocked(RecipientList& list, const BlockList& blocks) {
    QList<BlockedRecipient> blocked;
    if (blocks.entries().isEmpty())
        return blocked;
    QList<Recipient> kept;
    kept.reserve(list.recipients.size());
    for (Recipient& r : list.recipients) {
        if (const BlockEntry* entry = blocks.find(r.address))
            blocked.append({std::move(r), *entry});
        else
            kept.append(std::move(r));
    }
    list.recipients = std::move(kept);
    return blocked;
}

QString blockedCountText(qsizetype count) {
    return count == 1 ? QStringLiteral("1 Adresse der Liste steht auf der Sperrliste")
                      : QStringLiteral("%1 Adressen der Liste stehen auf der Sperrliste").arg(count);
}

qsizetype importIntoBlockList(BlockList& blocks, const QString& listPath, QList<RejectedRow>* rejected) {
    const RecipientList read = readRecipientFile(listPath);
    if (rejected)
        *rejected = read.rejected;
    qsizetype added = 0;
    const QDateTime now = QDateTime::currentDateTime();
    const QString from = QStringLiteral("aus %1").arg(QFileInfo(listPath).fileName());
    for (const Recipient& r : read.recipients)
        added += blocks.add({r.address, QStringLiteral("eingelesen"), now, from, {}});
    return added;
}

}  // namespace zw::send

#include "inbox/InboxCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

#include "inbox/ImapSession.h"
#include "platform/FileIo.h"
#include "send/Campaign.h"
#include "send/CampaignFiles.h"

namespace zw::inbox {

using namespace zw::send;

namespace {

constexpr char kKinds[] = "PTU";  // InboxFinding::Kind as the state file writes it
// Headers of this many messages are read in one go before their bodies.
constexpr qsizetype kBatch = 1000;
// Of a message fetched whole, its start is enough: a bounce's words and report, a request's first
// lines. A member's reply with a large attachment is not loaded for that.
constexpr qint64 kMessageBytes = 256 * 1024;

QString statePath(const QString& workFolder) {
    return QDir(workFolder).filePath(QLatin1String(kInboxStateFileName));
}

QString field(QString text) {
    return text.replace(u'\t', u' ').replace(u'\n', u' ').replace(u'\r', u' ');
}

// IMAP's date for SEARCH SINCE, in English whatever the locale.
QByteArray imapDate(const QDate& date) {
    return QLocale::c().toString(date, QStringLiteral("d-MMM-yyyy")).toLatin1();
}

}  // namespace

QString kindText(InboxFinding::Kind kind) {
    switch (kind) {
        case InboxFinding::Permanent:
            return QStringLiteral("unzustellbar");
        case InboxFinding::Temporary:
            return QStringLiteral("vorübergehend unzustellbar");
        case InboxFinding::Unsubscribe:
            return QStringLiteral("Abmeldung");
    }
    return {};
}

CampaignIndex CampaignIndex::build(const QString& workFolder) {
    CampaignIndex index;
    for (const CampaignStatus& status : listCampaigns(workFolder)) {
        const QList<Recipient> recipients = readCampaignRecipients(status.folder);
        const Replay replay =
            replayJournal(Journal::read(status.folder + u'/' + kJournalFile), recipients.size());
        const qsizetype n = index.campaigns_.size();
        index.campaigns_.append({status.folder, status.subject, status.created});
        for (qsizetype i = 0; i < recipients.size(); ++i) {
            const QString address = recipients[i].address.toLower();
            index.byAddress_[address].append(n);
            if (!replay.recipients[i].messageId.isEmpty())
                index.byMessageId_.insert(replay.recipients[i].messageId, {n, recipients[i].address});
        }
    }
    return index;
}

QDateTime CampaignIndex::oldest() const {
    QDateTime oldest;
    for (const Entry& e : campaigns_)
        if (!oldest.isValid() || e.created < oldest)
            oldest = e.created;
    return oldest;
}

std::optional<ReviewItem> CampaignIndex::match(const InboxFinding& finding) const {
    qsizetype campaign = -1;
    QString address;
    if (const auto it = byMessageId_.constFind(finding.originalMessageId); it != byMessageId_.cend()) {
        campaign = it->first;
        address = it->second;
    } else if (const auto byAddress = byAddress_.constFind(finding.address); byAddress != byAddress_.cend()) {
        campaign = byAddress->first();
        for (qsizetype c : *byAddress) {
            if (!finding.date.isValid() || campaigns_[c].created <= finding.date) {
                campaign = c;
                break;
            }
        }
        address = finding.address;
    } else {
        return std::nullopt;
    }
    const Entry& e = campaigns_[campaign];
    return ReviewItem{finding.kind, address, finding.evidence, finding.date, e.folder, e.subject, false};
}

InboxState InboxState::load(const QString& path) {
    InboxState state;
    if (!QFileInfo::exists(path))
        return state;
    for (const QByteArray& raw : splitLines(readFile(path))) {
        const QString line = QString::fromUtf8(raw);
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals);
        const QString value = line.mid(equals + 1);
        const QStringList parts = value.split(u'\t');
        if (key == u"Konto")
            state.account = value;
        else if (key == u"UIDVALIDITY")
            state.uidValidity = value.toUInt();
        else if (key == u"LetzteUID")
            state.lastUid = value.toUInt();
        else if (key == u"Voruebergehend" && parts.size() == 2)
            state.temporaryFailures.insert({parts[0], parts[1]});
        else if (key == u"Offen" && parts.size() == 6 && parts[0].size() == 1 &&
                 QByteArray(kKinds).contains(parts[0][0].toLatin1())) {
            ReviewItem item;
            item.kind = InboxFinding::Kind(QByteArray(kKinds).indexOf(parts[0][0].toLatin1()));
            item.address = parts[1];
            item.date = QDateTime::fromMSecsSinceEpoch(parts[2].toLongLong());
            item.campaignFolder = parts[3];
            item.campaignSubject = parts[4];
            item.evidence = parts[5];
            state.open.append(item);
        }
    }
    return state;
}

void InboxState::save(const QString& path) const {
    QList<QByteArray> lines = {"[Posteingang]", "Konto=" + field(account).toUtf8(),
                               "UIDVALIDITY=" + QByteArray::number(uidValidity),
                               "LetzteUID=" + QByteArray::number(lastUid)};
    for (const ReviewItem& i : open) {
        lines.append("Offen=" + QByteArray(1, kKinds[i.kind]) + '\t' + field(i.address).toUtf8() + '\t' +
                     QByteArray::number(i.date.toMSecsSinceEpoch()) + '\t' +
                     field(i.campaignFolder).toUtf8() + '\t' + field(i.campaignSubject).toUtf8() + '\t' +
                     field(i.evidence).toUtf8());
    }
    QList<std::pair<QString, QString>> failures(temporaryFailures.begin(), temporaryFailures.end());
    std::sort(failures.begin(), failures.end());
    for (const auto& [address, campaign] : failures)
        lines.append("Voruebergehend=" + field(address).toUtf8() + '\t' + field(campaign).toUtf8());
    writePrivateFile(path, joinLines(lines));
}

CheckResult checkInbox(const QString& workFolder, const QString& account, ImapSession& session,
                       const BlockList& blocks) {
    CheckResult result;
    const QString path = statePath(workFolder);
    InboxState state = InboxState::load(path);
    const CampaignIndex index = CampaignIndex::build(workFolder);
    const ImapSession::Mailbox box = session.examine();
    if (state.account != account || state.uidValidity != box.uidValidity) {
        // The server numbered its messages anew (or this is another mailbox): what was read says
        // nothing about the numbers now.
        result.startedOver = state.uidValidity != 0;
        state.account = account;
        state.uidValidity = box.uidValidity;
        state.lastUid = 0;
    }

    QList<InboxFinding> findings;
    if (!index.isEmpty() && box.exists > 0) {
        const QDate since = index.oldest().date().addDays(-1);
        QList<quint32> uids = session.searchUids("UID " + QByteArray::number(state.lastUid + 1) +
                                                 ":* SINCE " + imapDate(since));
        // "n:*" names the last message even when its UID is below n.
        uids.removeIf([&](quint32 uid) { return uid <= state.lastUid; });
        for (qsizetype from = 0; from < uids.size(); from += kBatch) {
            const QList<quint32> batch = uids.mid(from, kBatch);
            QList<quint32> whole;
            session.fetch(batch, "HEADER", 0, [&](quint32 uid, const QByteArray& header) {
                if (worthFetching(header) || index.knows(senderAddress(header)))
                    whole.append(uid);
            });
            std::sort(whole.begin(), whole.end());
            session.fetch(whole, "", kMessageBytes, [&](quint32, const QByteArray& message) {
                findings += readInboxMessage(message).findings;
            });
            result.newMessages += batch.size();
            result.fetchedWhole += whole.size();
        }
        if (!uids.isEmpty())
            state.lastUid = uids.last();
    }

    for (const InboxFinding& finding : findings) {
        std::optional<ReviewItem> item = index.match(finding);
        if (!item || blocks.find(item->address))
            continue;
        if (item->kind == InboxFinding::Temporary)
            state.temporaryFailures.insert(
                {item->address.toLower(), QFileInfo(item->campaignFolder).fileName()});
        const bool known = std::any_of(state.open.cbegin(), state.open.cend(), [&](const ReviewItem& o) {
            return o.kind == item->kind && o.address.compare(item->address, Qt::CaseInsensitive) == 0 &&
                   o.campaignFolder == item->campaignFolder;
        });
        if (!known)
            state.open.append(*item);
    }
    state.open.removeIf([&](const ReviewItem& i) { return blocks.find(i.address) != nullptr; });
    for (ReviewItem& item : state.open) {
        if (item.kind != InboxFinding::Temporary) {
            item.ticked = true;
            continue;
        }
        int campaigns = 0;
        for (const auto& [address, campaign] : state.temporaryFailures)
            campaigns += address == item.address.toLower();
        item.ticked = campaigns >= kTemporaryCampaigns;
    }
    std::stable_sort(state.open.begin(), state.open.end(),
                     [](const ReviewItem& a, const ReviewItem& b) { return a.date < b.date; });
    state.save(path);
    result.items = state.open;
    return result;
}

qsizetype applyReview(const QString& workFolder, const QList<ReviewItem>& items) {
    const QString listPath = blockListPath(workFolder);
    BlockList blocks = BlockList::load(listPath);
    qsizetype added = 0;
    // A bounce without a date of its own (or a lost one) is dated by the check that found it.
    const QDateTime today = QDateTime::currentDateTime();
    for (const ReviewItem& i : items)
        if (i.ticked) {
            const QDateTime date = i.date.isValid() && i.date.toMSecsSinceEpoch() > 0 ? i.date : today;
            added += blocks.add({i.address, kindText(i.kind), date, i.evidence, i.campaignSubject});
        }
    blocks.save(listPath);
    const QString path = statePath(workFolder);
    InboxState state = InboxState::load(path);
    state.open.clear();
    state.save(path);
    return added;
}

}  // namespace zw::inbox

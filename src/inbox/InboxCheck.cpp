#include "inbox/InboxCheck.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <limits>

#include "inbox/ImapSession.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "send/Campaign.h"
#include "send/CampaignFiles.h"

namespace zw::inbox {

using namespace zw::send;

namespace {

constexpr char kKinds[] = "PTUS";  // InboxFinding::Kind as the state file writes it
constexpr char kUnassignedMark[] = "N";
// A message's header block is enough to choose; its rest is never needed to decide whether to fetch.
constexpr qint64 kHeaderBytes = 64 * 1024;
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
        case InboxFinding::SenderSide:
            return QStringLiteral("Problem beim Absender");
    }
    return {};
}

bool mayBlock(const ReviewItem& item) {
    return item.assigned && item.kind != InboxFinding::SenderSide;
}

QString providerOf(const QString& address) {
    const QString domain = address.section(u'@', -1).toLower();
    static const std::pair<const char*, const char*> families[] = {
        {"^(gmx\\.[a-z]+|web\\.de|1und1\\.de|online\\.de|email\\.de)$", "GMX/WEB.DE (1&1)"},
        {"^(t-online\\.de|magenta\\.de)$", "T-Online"},
        {"^((yahoo|ymail|rocketmail|aol|aim)\\.[a-z.]+|verizon\\.net)$", "Yahoo/AOL"},
        {"^(gmail|googlemail)\\.com$", "Gmail"},
        {"^(outlook|hotmail|live|msn)\\.[a-z.]+$", "Outlook.com"},
        {"^strato\\.de$", "Strato"},
    };
    for (const auto& [pattern, name] : families)
        if (QRegularExpression(QLatin1String(pattern)).match(domain).hasMatch())
            return QLatin1String(name);
    return domain;
}

QString SenderProblem::title() const {
    return addresses.size() == 1 ? QStringLiteral("%1 (1 Adresse)").arg(provider)
                                 : QStringLiteral("%1 (%2 Adressen)").arg(provider).arg(addresses.size());
}

QList<SenderProblem> senderProblems(const QList<ReviewItem>& items) {
    QList<SenderProblem> problems;
    for (const ReviewItem& i : items) {
        if (i.kind != InboxFinding::SenderSide)
            continue;
        const QString provider = providerOf(i.address);
        auto it = std::find_if(problems.begin(), problems.end(), [&](const SenderProblem& p) {
            return p.provider == provider && p.campaignFolder == i.campaignFolder;
        });
        if (it == problems.end())
            it = problems.insert(problems.end(), {provider, i.campaignFolder, i.campaignSubject, {}, {}, {}});
        if (!it->addresses.contains(i.address, Qt::CaseInsensitive))
            it->addresses.append(i.address);
        if (!it->date.isValid() || i.date >= it->date) {
            it->date = i.date;
            it->evidence = i.evidence;
        }
    }
    return problems;
}

CampaignIndex CampaignIndex::build(const QString& workFolder) {
    CampaignIndex index;
    for (const CampaignStatus& status : listCampaigns(workFolder)) {
        const QList<Recipient> recipients = readCampaignRecipients(status.folder);
        const Replay replay =
            replayJournal(Journal::read(status.folder + u'/' + kJournalFile), recipients.size());
        const qsizetype n = index.campaigns_.size();
        index.campaigns_.append({status.folder, status.subject, status.created});
        const QString sender = readCampaignSettings(status.folder).profile.address.trimmed().toLower();
        if (!sender.isEmpty() && !index.senders_.contains(sender))
            index.senders_.append(sender);
        for (qsizetype i = 0; i < recipients.size(); ++i) {
            const QString address = recipients[i].address.toLower();
            index.byAddress_[address].append(n);
            index.listed_.insert(address, recipients[i].address);
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

ReviewItem CampaignIndex::item(const InboxFinding& finding, qsizetype campaign,
                               const QString& address) const {
    const Entry& e = campaigns_[campaign];
    ReviewItem i{finding.kind, address, finding.evidence, finding.date, e.folder, e.subject, false};
    i.stillTrying = finding.stillTrying;
    return i;
}

std::optional<ReviewItem> CampaignIndex::matchOne(const InboxFinding& finding) const {
    const QStringList names = QStringList{finding.address} + finding.otherAddresses;
    if (const auto it = byMessageId_.constFind(finding.originalMessageId); it != byMessageId_.cend()) {
        const qsizetype campaign = it->first;
        // A request to leave comes from wherever its writer reads the copy.
        if (finding.kind == InboxFinding::Unsubscribe)
            return item(finding, campaign, it->second);
        for (const QString& name : names)
            if (byAddress_.value(name).contains(campaign))
                return item(finding, campaign, listed_.value(name, name));
        ReviewItem unassigned = item(finding, campaign, finding.address);
        unassigned.assigned = false;
        return unassigned;
    }
    for (const QString& name : names) {
        const auto byAddress = byAddress_.constFind(name);
        if (byAddress == byAddress_.cend())
            continue;
        qsizetype campaign = byAddress->first();
        for (qsizetype c : *byAddress) {
            if (!finding.date.isValid() || campaigns_[c].created <= finding.date) {
                campaign = c;
                break;
            }
        }
        return item(finding, campaign, listed_.value(name, name));
    }
    return std::nullopt;
}

QList<ReviewItem> CampaignIndex::match(const QList<InboxFinding>& findings) const {
    QList<ReviewItem> assigned, unassigned;
    for (const InboxFinding& finding : findings)
        if (std::optional<ReviewItem> i = matchOne(finding))
            (i->assigned ? assigned : unassigned).append(*i);
    if (assigned.isEmpty() && !unassigned.isEmpty())
        assigned.append(unassigned.first());
    return assigned;
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
        else if (key == u"Offen" && (parts.size() == 6 || parts.size() == 7) && parts[0].size() == 1 &&
                 QByteArray(kKinds).contains(parts[0][0].toLatin1())) {
            ReviewItem item;
            item.kind = InboxFinding::Kind(QByteArray(kKinds).indexOf(parts[0][0].toLatin1()));
            item.address = parts[1];
            item.date = QDateTime::fromMSecsSinceEpoch(parts[2].toLongLong());
            item.campaignFolder = parts[3];
            item.campaignSubject = parts[4];
            item.evidence = parts[5];
            item.assigned = parts.value(6) != QLatin1String(kUnassignedMark);
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
                     field(i.evidence).toUtf8() + (i.assigned ? "" : QByteArray("\t") + kUnassignedMark));
    }
    QList<std::pair<QString, QString>> failures(temporaryFailures.begin(), temporaryFailures.end());
    std::sort(failures.begin(), failures.end());
    for (const auto& [address, campaign] : failures)
        lines.append("Voruebergehend=" + field(address).toUtf8() + '\t' + field(campaign).toUtf8());
    writePrivateFile(path, joinLines(lines));
}

namespace {

// How far a check that failed came, for its message.
QString progress(qsizetype read, qsizetype found) {
    if (found == 0)
        return QStringLiteral("Es wurden noch keine neuen Nachrichten gelesen.");
    if (read == 0)
        return QStringLiteral("Von den %1 neuen Nachrichten wurde noch keine gelesen.").arg(found);
    return QStringLiteral(
               "Bis dahin wurden %1 von %2 neuen Nachrichten gelesen; die nächste Prüfung macht "
               "mit den übrigen weiter.")
        .arg(read)
        .arg(found);
}

}  // namespace

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

    // Each message's findings, and the messages read whole or known to need no more than their header.
    QList<QList<InboxFinding>> findings;
    QList<quint32> uids;
    QSet<quint32> read;
    QString failure;
    try {
        // The highest UID there is was read last time: nothing can come after it.
        if (!index.isEmpty() && box.exists > 0 && state.lastUid < std::numeric_limits<quint32>::max()) {
            const QDate since = index.oldest().date().addDays(-1);
            uids = session.searchUids("UID " + QByteArray::number(state.lastUid + 1) + ":* SINCE " +
                                      imapDate(since));
            // "n:*" names the last message even when its UID is below n.
            uids.removeIf([&](quint32 uid) { return uid <= state.lastUid; });
            for (qsizetype from = 0; from < uids.size(); from += kBatch) {
                const QList<quint32> batch = uids.mid(from, kBatch);
                QList<quint32> whole;
                session.fetch(batch, "HEADER", kHeaderBytes, [&](quint32 uid, const QByteArray& header) {
                    if (worthFetching(header) || index.knows(senderAddress(header)))
                        whole.append(uid);
                    else
                        read.insert(uid);
                });
                session.fetch(whole, "", kMessageBytes, [&](quint32 uid, const QByteArray& message) {
                    findings.append(readInboxMessage(message, index.senders()).findings);
                    read.insert(uid);
                });
                result.fetchedWhole += whole.size();
            }
        }
    } catch (const Error& e) {
        failure = e.message();
    }
    // The last UID moves over what was read, up to the first message that was not.
    for (const quint32 uid : uids) {
        if (!read.contains(uid))
            break;
        state.lastUid = uid;
    }
    result.newMessages = read.size();
    if (!failure.isEmpty() && read.isEmpty())
        throw Error(failure + u' ' + progress(0, uids.size()));

    for (const QList<InboxFinding>& message : findings) {
        for (const ReviewItem& item : index.match(message)) {
            if (blocks.find(item.address))
                continue;
            // A delay is no failure: it never counts towards blocking.
            if (item.kind == InboxFinding::Temporary && item.assigned && !item.stillTrying)
                state.temporaryFailures.insert(
                    {item.address.toLower(), QFileInfo(item.campaignFolder).fileName()});
            const bool known = std::any_of(state.open.cbegin(), state.open.cend(), [&](const ReviewItem& o) {
                return o.kind == item.kind && o.address.compare(item.address, Qt::CaseInsensitive) == 0 &&
                       o.campaignFolder == item.campaignFolder && o.assigned == item.assigned;
            });
            if (!known)
                state.open.append(item);
        }
    }
    state.open.removeIf([&](const ReviewItem& i) { return i.assigned && blocks.find(i.address) != nullptr; });
    for (ReviewItem& item : state.open) {
        if (!mayBlock(item)) {
            item.ticked = false;
        } else if (item.kind != InboxFinding::Temporary) {
            item.ticked = true;
        } else {
            int campaigns = 0;
            for (const auto& [address, campaign] : state.temporaryFailures)
                campaigns += address == item.address.toLower();
            item.ticked = campaigns >= kTemporaryCampaigns;
        }
    }
    std::stable_sort(state.open.begin(), state.open.end(),
                     [](const ReviewItem& a, const ReviewItem& b) { return a.date < b.date; });
    state.save(path);
    if (!failure.isEmpty())
        throw Error(failure + u' ' + progress(read.size(), uids.size()));
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
        if (i.ticked && mayBlock(i)) {
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

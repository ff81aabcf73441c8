#include "send/SenderLimits.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

#include "send/CampaignFiles.h"

namespace zw::send {

namespace {

constexpr qint64 kHourMs = 3600LL * 1000;
constexpr qint64 kDayMs = 24 * kHourMs;

// The enhanced status code ("4.7.0") at the start of an answer's first line, after the reply code.
struct Enhanced {
    int subject =
        -1;  // the middle number: 1 address, 2 mailbox, 3 mail system, 4 network, 5 protocol, 7 policy
    int detail = -1;
};

Enhanced enhancedCode(const QString& answer) {
    static const QRegularExpression pattern(QStringLiteral("^\\d{3}[ -]+[245]\\.(\\d{1,3})\\.(\\d{1,3})\\b"));
    const QRegularExpressionMatch m = pattern.match(answer);
    return m.hasMatch() ? Enhanced{m.captured(1).toInt(), m.captured(2).toInt()} : Enhanced{};
}

bool namesLimit(const QString& answer) {
    static const QRegularExpression pattern(
        QStringLiteral("\\b(limit\\w*|rate|rate-?limit\\w*|quota\\w*|too many|throttl\\w*)\\b"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(answer).hasMatch();
}

bool namesDay(const QString& answer) {
    static const QRegularExpression pattern(QStringLiteral("\\b(daily|per day|a day|24 ?h(ours?)?)\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    return pattern.match(answer).hasMatch();
}

QList<qint64> momentsOfJournal(const QString& path, const QDateTime& now) {
    return sentMoments(Journal::read(path), now);
}

// How many moments of the sorted list lie in (end - window, end].
qsizetype countIn(const QList<qint64>& sorted, qint64 end, qint64 window) {
    const auto from = std::upper_bound(sorted.begin(), sorted.end(), end - window);
    const auto to = std::upper_bound(sorted.begin(), sorted.end(), end);
    return to - from;
}

}  // namespace

Throttle senderThrottle(bool beforeRecipient, int code, const QString& answer) {
    if (code < 400 || code >= 600)
        return Throttle::None;
    const Enhanced e = enhancedCode(answer);
    // Gmail's "550 5.4.5 Daily user sending quota exceeded", and its temporary cousin.
    if (e.subject == 4 && e.detail == 5)
        return Throttle::DailyQuota;
    // Outlook.com and Microsoft 365 say it in one word under a mailbox code: "554 5.2.0
    // STOREDRV.Submission.Exception:SubmissionQuotaExceededException"; their limit is counted per day.
    if (answer.contains(QLatin1String("SubmissionQuotaExceeded"), Qt::CaseInsensitive))
        return Throttle::DailyQuota;
    // A full mailbox ("552 5.2.2 ... over quota") or an unknown address is the recipient's matter, and
    // a message too large ("552 5.3.4 ... size exceeds fixed limit") the message's.
    const bool aboutSender = e.subject == -1 || e.subject == 7 || e.subject == 4;
    const bool limit = aboutSender && namesLimit(answer);
    if (limit && namesDay(answer))
        return Throttle::DailyQuota;
    if (limit || code == 421 || (code < 500 && beforeRecipient))
        return Throttle::Wait;
    return Throttle::None;
}

std::chrono::minutes throttleWait(int refusalsInARow) {
    constexpr int kLadder[] = {2, 5, 15, 30, 60};
    const int step = std::clamp(refusalsInARow, 1, int(std::size(kLadder))) - 1;
    return std::chrono::minutes(kLadder[step]);
}

JournalRecord waitRecord(const QDateTime& at, const QDateTime& until, const QString& answer) {
    return {JournalRecord::Waiting, -1, at, QString::number(until.toMSecsSinceEpoch()) + u' ' + answer};
}

bool readWaitRecord(const JournalRecord& record, QDateTime* until, QString* answer) {
    if (record.kind != JournalRecord::Waiting)
        return false;
    const qsizetype blank = record.text.indexOf(u' ');
    bool ok = false;
    const qint64 ms = record.text.left(blank).toLongLong(&ok);
    if (!ok)
        return false;
    *until = QDateTime::fromMSecsSinceEpoch(ms);
    *answer = blank < 0 ? QString() : record.text.mid(blank + 1);
    return true;
}

QList<qint64> sentMoments(const QList<JournalRecord>& records, const QDateTime& now) {
    QList<qint64> moments;
    std::map<qsizetype, qint64> started;  // recipients whose message is out unanswered: when counted, or -1
    for (const JournalRecord& record : records) {
        const bool answer = record.kind == JournalRecord::Sent || record.kind == JournalRecord::Failed ||
                            record.kind == JournalRecord::Retry || record.kind == JournalRecord::Unsent;
        // A message out without an answer when the next record came went out at the latest then.
        for (auto& [index, counted] : started) {
            if (counted < 0 && !(answer && record.index == index)) {
                counted = record.time.toMSecsSinceEpoch();
                moments.append(counted);
            }
        }
        if (record.kind == JournalRecord::Sending) {
            started[record.index] = -1;
        } else if (answer) {
            const auto it = started.find(record.index);
            const qint64 counted = it == started.end() ? -1 : it->second;
            if (record.kind == JournalRecord::Sent && counted < 0)
                moments.append(record.time.toMSecsSinceEpoch());
            else if (record.kind != JournalRecord::Sent && counted >= 0)
                moments.removeOne(counted);  // an answer after all: not taken, so it does not count
            if (it != started.end())
                started.erase(it);
        }
    }
    for (const auto& [index, counted] : started)
        if (counted < 0)
            moments.append(now.toMSecsSinceEpoch());
    std::sort(moments.begin(), moments.end());
    return moments;
}

SendLog::SendLog(QString campaignsFolder, QString ownFolder, const QDateTime& now)
    : campaignsFolder_(std::move(campaignsFolder)), ownFolder_(QDir(ownFolder).absolutePath()) {
    own_ = momentsOfJournal(ownFolder_ + u'/' + kJournalFile, now);
}

void SendLog::refresh(const QDateTime& now) {
    // What left the last day counts no more: the lists stay as short as the limits, however long the
    // campaign.
    const qint64 dayAgo = now.toMSecsSinceEpoch() - kDayMs;
    own_.erase(std::remove_if(own_.begin(), own_.end(), [dayAgo](qint64 m) { return m <= dayAgo; }),
               own_.end());
    const QDir parent(campaignsFolder_);
    for (const QString& name : parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = QDir(parent.filePath(name)).absolutePath();
        if (folder == ownFolder_)
            continue;
        const QFileInfo journal(folder + u'/' + kJournalFile);
        if (!journal.exists())
            continue;
        // A journal untouched for a day holds nothing that still counts (by the computer's clock, which
        // wrote the file's time).
        if (journal.lastModified().msecsTo(QDateTime::currentDateTime()) > kDayMs) {
            others_.erase(folder);
            continue;
        }
        Other& other = others_[folder];
        if (other.size == journal.size() && other.modified == journal.lastModified())
            continue;
        other.size = journal.size();
        other.modified = journal.lastModified();
        other.moments = momentsOfJournal(journal.filePath(), now);
    }
    for (auto& [folder, other] : others_)
        other.moments.erase(std::remove_if(other.moments.begin(), other.moments.end(),
                                           [dayAgo](qint64 m) { return m <= dayAgo; }),
                            other.moments.end());
}

void SendLog::note(const QDateTime& moment) {
    own_.append(moment.toMSecsSinceEpoch());
}

QDateTime SendLog::nextAllowed(const QDateTime& now, int perHour, int perDay) const {
    QList<qint64> all = own_;
    for (const auto& [folder, other] : others_) all += other.moments;
    std::sort(all.begin(), all.end());
    const qint64 t = now.toMSecsSinceEpoch();
    qint64 next = t;
    for (const auto& [limit, window] : {std::pair{perHour, kHourMs}, std::pair{perDay, kDayMs}}) {
        const qsizetype n = countIn(all, t, window);
        if (limit <= 0 || n < limit)
            continue;
        // The moment enough of them have left the window for one more.
        const qsizetype first = std::upper_bound(all.begin(), all.end(), t - window) - all.begin();
        next = std::max(next, all[first + n - limit] + window + 1);
    }
    return QDateTime::fromMSecsSinceEpoch(next);
}

QDateTime SendLog::firstOfDay(const QDateTime& now) const {
    const qint64 t = now.toMSecsSinceEpoch();
    qint64 first = -1;
    auto consider = [&](const QList<qint64>& moments) {
        for (qint64 m : moments)
            if (m > t - kDayMs && m <= t && (first < 0 || m < first))
                first = m;
    };
    consider(own_);
    for (const auto& [folder, other] : others_) consider(other.moments);
    return first < 0 ? QDateTime() : QDateTime::fromMSecsSinceEpoch(first);
}

}  // namespace zw::send

#include "send/Campaign.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <deque>
#include <map>
#include <thread>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/SingleInstance.h"
#include "send/BlockList.h"
#include "send/CampaignFiles.h"
#include "send/CampaignTexts.h"
#include "send/FieldColumns.h"
#include "send/SenderLimits.h"

namespace zw::send {

namespace {

QString resultText(const SendResult& result) {
    return result.serverText.isEmpty() ? result.message : result.serverText;
}

}  // namespace

struct Campaign::Impl {
    QString folder;
    SingleInstance lock;
    CampaignSettings settings;
    QList<Recipient> recipients;
    OutgoingMessage message;
    Replay replay;
    Journal journal;
    std::atomic<bool> tryNow{false};

    Impl(const QString& f, const CampaignSettings& s)
        : folder(f),
          lock(QLatin1String(kLockName), f),
          settings(s),
          recipients(readCampaignRecipients(f)),
          message(readCampaignNewsletter(f, s)),
          replay(replayJournal(Journal::read(f + u'/' + kJournalFile), recipients.size())),
          journal(f + u'/' + kJournalFile) {}
};

// Whoever came onto the working-files folder's block list since the campaign began (a bounce, a
// request to leave) is not sent to when it resumes: recorded as failed, with the block list's reason.
void Campaign::leaveOutBlocked(Impl& d) {
    QDir work(d.folder);
    if (!work.cdUp() || work.dirName() != QLatin1String(kCampaignsFolderName) || !work.cdUp())
        return;
    BlockList blocks;
    try {
        blocks = BlockList::load(blockListPath(work.path()));
    } catch (const Error&) {
        return;  // unreadable now: the lists were checked against it when the campaign was made
    }
    QList<JournalRecord> records;
    for (qsizetype i = 0; i < d.recipients.size(); ++i) {
        RecipientState& r = d.replay.recipients[i];
        const BlockEntry* entry = blocks.find(d.recipients[i].address);
        if (!entry || (r.stage != RecipientState::Pending && r.stage != RecipientState::InFlight))
            continue;
        d.replay.status.maybeTwice -= r.stage == RecipientState::InFlight;
        r.stage = RecipientState::Failed;
        r.serverText = QStringLiteral("steht auf der Sperrliste: %1").arg(entry->reason);
        r.time = QDateTime::currentDateTime();
        ++d.replay.status.failed;
        records.append({JournalRecord::Failed, i, r.time, r.serverText});
    }
    if (!records.isEmpty()) {
        d.journal.append(records);
        d.replay.status.pending = d.replay.status.total - d.replay.status.sent - d.replay.status.failed;
    }
}

QString campaignsFolder(const QString& workFolder) {
    return QDir(workFolder).filePath(QLatin1String(kCampaignsFolderName));
}

QList<CampaignStatus> listCampaigns(const QString& workFolder) {
    QList<CampaignStatus> list;
    const QDir parent(campaignsFolder(workFolder));
    for (const QString& name :
         parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed)) {
        if (name.endsWith(QLatin1String(kInterruptedWriteSuffix)))
            continue;
        const QString folder = parent.filePath(name);
        try {
            const CampaignSettings settings = readCampaignSettings(folder);
            const qsizetype count = readCampaignRecipients(folder).size();
            CampaignStatus status = replayJournal(Journal::read(folder + u'/' + kJournalFile), count).status;
            status.folder = folder;
            status.subject = settings.subject;
            status.created = settings.created;
            if (status.state != CampaignState::Finished && campaignRunning(folder))
                status.state = CampaignState::Running;
            list.append(status);
        } catch (const Error&) {
            // Not a campaign, or one whose files were damaged by hand: not ours to list.
        }
    }
    return list;
}

Campaign Campaign::create(const QString& workFolder, const Newsletter& newsletter,
                          const RecipientList& recipients, const SenderProfile& profile) {
    // Read before anything is written: a message that is not ours creates no campaign.
    const OutgoingMessage message(newsletter);
    CampaignSettings settings{profile, newsletter.unsubscribeLink, message.subject(),
                              QDateTime::currentDateTime()};
    return open(writeCampaignFolder(campaignsFolder(workFolder), newsletter, recipients, settings));
}

Campaign Campaign::open(const QString& folder) {
    const QString path = QDir(folder).absolutePath();
    auto impl = std::make_unique<Impl>(path, readCampaignSettings(path));
    if (!impl->lock.acquire())
        throw Error(QStringLiteral("Dieser Versand läuft schon (in einem anderen Fenster oder Programm)."));
    return Campaign(std::move(impl));
}

Campaign::Campaign(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
Campaign::Campaign(Campaign&&) noexcept = default;
Campaign& Campaign::operator=(Campaign&&) noexcept = default;
Campaign::~Campaign() = default;

const QString& Campaign::folder() const {
    return impl_->folder;
}

const SenderProfile& Campaign::profile() const {
    return impl_->settings.profile;
}

const OutgoingMessage& Campaign::message() const {
    return impl_->message;
}

QString Campaign::reportPath() const {
    return impl_->folder + u'/' + kReportFile;
}

CampaignStatus Campaign::status() const {
    CampaignStatus status = impl_->replay.status;
    status.folder = impl_->folder;
    status.subject = impl_->settings.subject;
    status.created = impl_->settings.created;
    return status;
}

CampaignStatus Campaign::run(SmtpTransport& transport, const std::atomic<bool>& stop,
                             const std::function<void(const CampaignStatus&)>& progress) {
    // The transport may outlive this run's stop flag: it lets go of it when the run ends.
    struct StopFor {
        SmtpTransport& transport;
        ~StopFor() { transport.setStop(nullptr); }
    } stopFor{transport};
    transport.setStop(&stop);
    return run([&](const QByteArray& to, const QByteArray& bytes) { return transport.send(to, bytes); }, stop,
               progress);
}

void Campaign::tryNow() {
    impl_->tryNow = true;
}

qsizetype Campaign::retryTemporaryFailures() {
    Impl& d = *impl_;
    QList<JournalRecord> again;
    const QDateTime now = clock->now();
    for (qsizetype i = 0; i < d.replay.recipients.size(); ++i) {
        RecipientState& r = d.replay.recipients[i];
        if (r.stage == RecipientState::Failed && r.failedTemporarily)
            again.append({JournalRecord::Again, i, now, {}});
    }
    if (again.isEmpty())
        return 0;
    d.journal.append(again);
    d.replay = replayJournal(Journal::read(d.folder + u'/' + kJournalFile), d.recipients.size());
    return again.size();
}

CampaignStatus Campaign::run(const SendFunction& send, const std::atomic<bool>& stop,
                             const std::function<void(const CampaignStatus&)>& progress) {
    Impl& d = *impl_;
    QList<RecipientState>& states = d.replay.recipients;
    CampaignStatus& status = d.replay.status;
    status.state = CampaignState::Running;
    status.stopReason.clear();
    const SenderProfile& profile = d.settings.profile;

    leaveOutBlocked(d);

    // Those in flight when the last run ended go first: they are the ones that may have arrived.
    std::deque<qsizetype> queue;
    for (qsizetype i = 0; i < states.size(); ++i) {
        if (states[i].stage == RecipientState::InFlight)
            queue.push_back(i);
    }
    for (qsizetype i = 0; i < states.size(); ++i) {
        if (states[i].stage == RecipientState::Pending)
            queue.push_back(i);
    }
    std::multimap<QDateTime, qsizetype> retries;  // by the moment each is due

    const int rate = profile.messagesPerMinute;
    const qint64 intervalMs = rate > 0 ? 60'000 / rate : 0;
    const bool limited = profile.messagesPerHour > 0 || profile.messagesPerDay > 0;
    SendLog log(QFileInfo(d.folder).absolutePath(), d.folder, clock->now());
    QDateTime nextSlot = clock->now();
    // Every record is on the disk before the next step: the answer to a message above all, before
    // any pause, wait or retry, so that a kill while the campaign waits costs no copy at all.
    auto record = [&](JournalRecord::Kind kind, qsizetype index, const QString& text = {}) {
        d.journal.append({JournalRecord{kind, index, clock->now(), text}});
    };
    auto stopped = [&] { return bool(stop); };
    // Waits until the moment, telling the watchers when it starts and ends; false when stopped.
    // A wait for the provider also ends when the user asks to try now.
    auto waitFor = [&](const QDateTime& until, bool forProvider) {
        if (waiting)
            waiting(status);
        d.tryNow = false;
        clock->sleepUntil(until, [&] { return stop || (forProvider && d.tryNow); });
        if (!stop) {
            status.waitingUntil = {};
            status.waitLimit.clear();
            if (waiting)
                waiting(status);
        }
        return !stop;
    };
    auto endProviderWait = [&] { record(JournalRecord::WaitOver, -1); };

    // A wait that the last run left unfinished goes on: a restart does not mean a new try at once.
    if (status.waitingUntil.isValid()) {
        if (waitFor(status.waitingUntil, true))
            endProviderWait();
    }

    while (!stop) {
        qsizetype index = -1;
        if (!queue.empty()) {
            index = queue.front();
            queue.pop_front();
        } else if (!retries.empty()) {
            // The window and the command say why it waits: the answer that put the recipient back, in
            // our words where the server gave none (a silent server, a lost answer).
            const qsizetype due = retries.begin()->second;
            const QString& why = states[due].serverText;
            status.waitingUntil = retries.begin()->first;
            status.waitAnswer.clear();
            status.waitLimit = !why.isEmpty() && why.front().isDigit()
                                   ? QStringLiteral("Die Nachricht an %1 wird noch einmal gesendet („%2“).")
                                         .arg(d.recipients[due].address, why)
                               : why == QLatin1String(kAnswerLostText)
                                   ? QStringLiteral("Die Nachricht an %1 wird noch einmal gesendet (%2).")
                                         .arg(d.recipients[due].address, why)
                                   : why;
            if (status.waitingUntil > clock->now() && !waitFor(status.waitingUntil, false))
                break;
            status.waitingUntil = {};
            status.waitLimit.clear();
            index = retries.begin()->second;
            retries.erase(retries.begin());
        } else {
            break;
        }
        // The pace per minute, and the profile's hourly and daily limits over all campaigns of this folder.
        QDateTime moment = nextSlot;
        if (limited) {
            log.refresh(clock->now());
            const QDateTime allowed =
                log.nextAllowed(clock->now(), profile.messagesPerHour, profile.messagesPerDay);
            if (allowed > moment && allowed > clock->now()) {
                moment = allowed;
                const bool hourly = log.nextAllowed(clock->now(), profile.messagesPerHour, 0) >= allowed;
                status.waitingUntil = allowed;
                status.waitAnswer.clear();
                status.waitLimit =
                    limitText(hourly ? profile.messagesPerHour : profile.messagesPerDay, hourly);
                if (!waitFor(allowed, false)) {
                    queue.push_front(index);
                    break;
                }
            }
        }
        if (!clock->sleepUntil(moment, stopped)) {
            queue.push_front(index);
            break;
        }
        nextSlot = clock->now().addMSecs(intervalMs);

        // One left in flight by the last run stays counted among those that may arrive twice.
        RecipientState& r = states[index];
        // The journal keeps each copy's Message-ID, by which a bounce finds its recipient again.
        r.messageId = newMessageId(d.settings.profile.address);
        record(JournalRecord::Sending, index, QString::fromLatin1(r.messageId));
        r.stage = RecipientState::InFlight;
        status.current = d.recipients[index].address;
        if (sending)
            sending(status);

        const Recipient& to = d.recipients[index];
        const FieldValues values = recipientFieldValues(d.settings.columns, to);
        const SendResult result = send(
            to.address.toUtf8(), d.message.forRecipient(to, profile, clock->now(), r.messageId, &values));
        r.serverText = resultText(result);
        r.time = clock->now();
        switch (result.outcome) {
            case Outcome::Sent:
                r.stage = RecipientState::Sent;
                ++status.sent;
                d.replay.waitsInARow = 0;
                log.note(r.time);
                d.journal.append({{JournalRecord::Sent, index, r.time, r.serverText}});
                status.notice.clear();
                break;
            case Outcome::RecipientRefused:
                r.stage = RecipientState::Failed;
                ++status.failed;
                record(JournalRecord::Failed, index, r.serverText);
                break;
            case Outcome::AnswerLost:
                // Never at once on a new connection: once more later, like a temporary failure, then
                // no more. Either copy may have arrived.
                status.maybeTwice += r.answersLost == 0;
                r.maybeTwice = true;
                r.serverText = QLatin1String(kAnswerLostText);
                status.notice = result.message;
                if (++r.answersLost >= 2) {
                    r.stage = RecipientState::Failed;
                    ++status.failed;
                } else {
                    r.stage = RecipientState::Pending;
                    const qsizetype pause = std::min(qsizetype(r.temporaryAnswers), retryPauses.size() - 1);
                    retries.emplace(clock->now().addMSecs(qint64(retryPauses.value(pause).count())), index);
                }
                record(JournalRecord::Lost, index, r.serverText);
                break;
            case Outcome::Stopped:
                r.stage = RecipientState::Pending;
                record(JournalRecord::Unsent, index, r.serverText);
                break;
            case Outcome::Temporary:
                if (r.temporaryAnswers >= retryPauses.size()) {
                    r.stage = RecipientState::Failed;
                    r.failedTemporarily = true;
                    ++status.failed;
                    ++status.failedTemporarily;
                    record(JournalRecord::Failed, index, r.serverText);
                } else {
                    r.stage = RecipientState::Pending;
                    retries.emplace(clock->now().addMSecs(qint64(retryPauses[r.temporaryAnswers].count())),
                                    index);
                    ++r.temporaryAnswers;
                    record(JournalRecord::Retry, index, r.serverText);
                }
                status.notice = result.message;
                break;
            case Outcome::Throttled:
                // The provider refuses the sender for now: nobody is charged for it, and nobody else is
                // tried until the wait is over. Then this recipient goes first, alone.
                r.stage = RecipientState::Pending;
                queue.push_front(index);
                record(JournalRecord::Unsent, index, r.serverText);
                break;
            case Outcome::Fatal:
                r.stage = RecipientState::Pending;
                status.stopReason = result.message;
                record(JournalRecord::Unsent, index, r.serverText);
                break;
        }
        status.pending = status.total - status.sent - status.failed;
        if (progress)
            progress(status);
        if (result.outcome == Outcome::Fatal)
            break;
        if (result.outcome == Outcome::Throttled) {
            const QDateTime now = clock->now();
            QDateTime until = now.addSecs(60 * qint64(throttleWait(++d.replay.waitsInARow).count()));
            if (result.dailyQuota) {
                log.refresh(now);
                const QDateTime first = log.firstOfDay(now);
                if (first.isValid())
                    until = std::max(until, first.addDays(1));
            }
            status.current.clear();
            status.waitingUntil = until;
            status.waitAnswer = result.serverText.isEmpty() ? result.message : result.serverText;
            status.waitLimit.clear();
            d.journal.append({waitRecord(now, until, status.waitAnswer)});
            if (!waitFor(until, true))
                break;
            endProviderWait();
        }
    }

    status.current.clear();
    if (!status.waitLimit.isEmpty()) {
        // The profile's own limits are counted again from the journals at the next start.
        status.waitingUntil = {};
        status.waitLimit.clear();
    }
    const bool done = status.pending == 0;
    if (done)
        record(JournalRecord::Finished, -1);
    else
        record(JournalRecord::Paused, -1, status.stopReason);
    status.state = done ? CampaignState::Finished : CampaignState::Paused;
    status.lastActivity = clock->now();
    writeReport(reportPath(), d.recipients, states);
    return this->status();
}

}  // namespace zw::send

#include "send/Campaign.h"

#include <QDir>

#include <algorithm>
#include <deque>
#include <map>
#include <thread>

#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/SingleInstance.h"
#include "send/BlockList.h"
#include "send/CampaignFiles.h"

namespace zw::send {

using Clock = std::chrono::steady_clock;

namespace {

// Waits until the moment comes or stop is asked for; false when stopped. Sleeps in short steps so
// that a stop is seen soon without a thread of its own to wake this one.
bool waitUntil(Clock::time_point moment, const std::atomic<bool>& stop) {
    constexpr auto kStep = std::chrono::milliseconds(100);
    while (!stop) {
        const auto now = Clock::now();
        if (now >= moment)
            return true;
        std::this_thread::sleep_for(std::min<Clock::duration>(moment - now, kStep));
    }
    return false;
}

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

    Impl(const QString& f, const CampaignSettings& s)
        : folder(f),
          lock(QLatin1String(kLockName), f),
          settings(s),
          recipients(readCampaignRecipients(f)),
          message(Newsletter{readFile(f + u'/' + kMessageFile), s.unsubscribeLink}),
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
    for (const QString& name : parent.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::Reversed)) {
        if (name.endsWith(QLatin1String(kInterruptedWriteSuffix)))
            continue;
        const QString folder = parent.filePath(name);
        try {
            const CampaignSettings settings = readCampaignSettings(folder);
            const qsizetype count = readCampaignRecipients(folder).size();
            CampaignStatus status =
                replayJournal(Journal::read(folder + u'/' + kJournalFile), count).status;
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

Campaign Campaign::create(const QString& workFolder, const Newsletter& newsletter, const RecipientList& recipients,
                          const SenderProfile& profile) {
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
    return run([&](const QByteArray& to, const QByteArray& bytes) { return transport.send(to, bytes); }, stop,
               progress);
}

CampaignStatus Campaign::run(const SendFunction& send, const std::atomic<bool>& stop,
                             const std::function<void(const CampaignStatus&)>& progress) {
    Impl& d = *impl_;
    QList<RecipientState>& states = d.replay.recipients;
    CampaignStatus& status = d.replay.status;
    status.state = CampaignState::Running;
    status.stopReason.clear();

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
    std::multimap<Clock::time_point, qsizetype> retries;  // by the moment each is due

    const int rate = d.settings.profile.messagesPerMinute;
    const auto interval = rate > 0 ? std::chrono::duration_cast<Clock::duration>(std::chrono::minutes(1)) / rate
                                   : Clock::duration::zero();
    Clock::time_point nextSlot = Clock::now();
    QList<JournalRecord> answered;  // written together with the next record: one wait for the disk
    auto record = [](JournalRecord::Kind kind, qsizetype index, const QString& text = {}) {
        return JournalRecord{kind, index, QDateTime::currentDateTime(), text};
    };

    while (!stop) {
        qsizetype index = -1;
        if (!queue.empty()) {
            index = queue.front();
            queue.pop_front();
        } else if (!retries.empty()) {
            if (!waitUntil(retries.begin()->first, stop))
                break;
            index = retries.begin()->second;
            retries.erase(retries.begin());
        } else {
            break;
        }
        if (!waitUntil(nextSlot, stop)) {
            queue.push_front(index);
            break;
        }
        nextSlot = Clock::now() + interval;

        // One left in flight by the last run stays counted among those that may arrive twice.
        RecipientState& r = states[index];
        // The journal keeps each copy's Message-ID, by which a bounce finds its recipient again.
        r.messageId = newMessageId(d.settings.profile.address);
        answered.append(record(JournalRecord::Sending, index, QString::fromLatin1(r.messageId)));
        d.journal.append(answered);
        answered.clear();
        r.stage = RecipientState::InFlight;
        status.current = d.recipients[index].address;
        if (sending)
            sending(status);

        const Recipient& to = d.recipients[index];
        const SendResult result =
            send(to.address.toUtf8(),
                 d.message.forRecipient(to, d.settings.profile, QDateTime::currentDateTime(), r.messageId));
        r.serverText = resultText(result);
        r.time = QDateTime::currentDateTime();
        switch (result.outcome) {
            case Outcome::Sent:
                r.stage = RecipientState::Sent;
                ++status.sent;
                answered.append(record(JournalRecord::Sent, index, r.serverText));
                break;
            case Outcome::RecipientRefused:
                r.stage = RecipientState::Failed;
                ++status.failed;
                answered.append(record(JournalRecord::Failed, index, r.serverText));
                break;
            case Outcome::Temporary:
                if (r.temporaryAnswers >= retryPauses.size()) {
                    r.stage = RecipientState::Failed;
                    ++status.failed;
                    answered.append(record(JournalRecord::Failed, index, r.serverText));
                } else {
                    r.stage = RecipientState::Pending;
                    retries.emplace(Clock::now() + retryPauses[r.temporaryAnswers], index);
                    ++r.temporaryAnswers;
                    answered.append(record(JournalRecord::Retry, index, r.serverText));
                }
                break;
            case Outcome::Fatal:
                r.stage = RecipientState::Pending;
                status.stopReason = result.message;
                answered.append(record(JournalRecord::Unsent, index, r.serverText));
                break;
        }
        status.pending = status.total - status.sent - status.failed;
        if (progress)
            progress(status);
        if (result.outcome == Outcome::Fatal)
            break;
    }

    status.current.clear();
    const bool done = status.pending == 0;
    answered.append(done ? record(JournalRecord::Finished, -1) : record(JournalRecord::Paused, -1, status.stopReason));
    d.journal.append(answered);
    status.state = done ? CampaignState::Finished : CampaignState::Paused;
    status.lastActivity = answered.last().time;
    writeReport(reportPath(), d.recipients, states);
    return this->status();
}

}  // namespace zw::send

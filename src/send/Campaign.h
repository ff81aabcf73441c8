#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

#include "send/OutgoingMessage.h"
#include "send/RecipientList.h"
#include "send/SendClock.h"
#include "send/SenderProfile.h"
#include "send/SmtpTransport.h"

namespace zw::send {

// The campaigns' folder in the working-files folder.
inline constexpr char kCampaignsFolderName[] = "Versand";
QString campaignsFolder(const QString& workFolder);

enum class CampaignState {
    Running,      // another process (or thread) sends it now
    Finished,     // every recipient sent or failed
    Paused,       // stopped on request or by a fatal answer; resumable
    Interrupted,  // no end record and nobody sends it: a crash or power loss; resumable
};

// What the list of campaigns and the progress window show.
struct CampaignStatus {
    QString folder;
    QString subject;  // as the message carries it, decoded
    QDateTime created;
    QDateTime lastActivity;
    CampaignState state = CampaignState::Interrupted;
    qsizetype total = 0;
    qsizetype sent = 0;
    qsizetype failed = 0;
    qsizetype pending = 0;
    qsizetype maybeTwice = 0;         // recipients marked in flight without an answer, sent again on resume
    QString current;                  // the address being sent now, while running
    QString stopReason;               // German, when a fatal answer paused it
    qsizetype failedTemporarily = 0;  // failed after temporary answers only: worth another try
    // While the campaign waits: until when, and the provider's answer that made it wait; the answer is
    // empty while the profile's own hourly or daily limit holds it back (waitLimit says which, in German).
    QDateTime waitingUntil;
    QString waitAnswer;
    QString waitLimit;
    // The German message of the last temporary failure or lost answer (a server that keeps silent, a
    // dropped connection), until a message goes through again.
    QString notice{};
};

// The campaigns of a working-files folder, newest first.
QList<CampaignStatus> listCampaigns(const QString& workFolder);

// A campaign: a folder holding the message it sends, the recipients as read and an append-only
// journal synced after every record. The journal is the truth: resuming skips every recipient marked
// sent and sends again the one marked in flight without an answer.
class Campaign {
public:
    // Creates the folder under campaignsFolder(workFolder) with the newsletter, the sender profile
    // and the recipients. Throws zw::Error (German).
    static Campaign create(const QString& workFolder, const Newsletter& newsletter,
                           const RecipientList& recipients, const SenderProfile& profile);
    // Opens an existing campaign folder; throws zw::Error (German) when it is not one, or when it
    // is running elsewhere.
    static Campaign open(const QString& folder);

    Campaign(Campaign&&) noexcept;
    Campaign& operator=(Campaign&&) noexcept;
    ~Campaign();

    const QString& folder() const;
    CampaignStatus status() const;
    const SenderProfile& profile() const;

    // Hands one recipient's message on: the SMTP transport, or a dry run's file writer.
    using SendFunction = std::function<SendResult(const QByteArray& recipient, const QByteArray& message)>;

    // How often and after which pauses a recipient with a temporary answer is tried again.
    // Greylisting servers often want 15 to 30 minutes, hence the hour at the end.
    QList<std::chrono::milliseconds> retryPauses = {std::chrono::minutes(1), std::chrono::minutes(5),
                                                    std::chrono::minutes(15), std::chrono::minutes(60)};
    // The time the campaign goes by; tests put a faster one here. Must outlive run().
    SendClock* clock = &systemClock();
    // Called from the sending thread when a wait begins (waitingUntil set) and when it ends.
    std::function<void(const CampaignStatus&)> waiting;
    // Ends a wait for the provider now (from any thread): the next message goes out at once.
    void tryNow();
    // Puts the recipients who failed for temporary reasons back among the pending ones, so that the
    // next run sends to exactly those. Returns how many. Throws zw::Error (German).
    qsizetype retryTemporaryFailures();
    // Called from the sending thread when a message is about to go out (current names its recipient),
    // so that a window can show who is being sent to while the server has not answered yet.
    std::function<void(const CampaignStatus&)> sending;

    // Sends to every pending recipient, keeping the profile's rate. Returns when all are done, when
    // stop becomes true (after the message in flight; the SMTP transport breaks off one that the server
    // leaves unanswered for more than a moment), or on a fatal answer (the campaign pauses,
    // stopReason says why). progress is called from the sending thread after every answer.
    CampaignStatus run(const SendFunction& send, const std::atomic<bool>& stop,
                       const std::function<void(const CampaignStatus&)>& progress = {});
    CampaignStatus run(SmtpTransport& transport, const std::atomic<bool>& stop,
                       const std::function<void(const CampaignStatus&)>& progress = {});

    // The report (CSV: address, outcome, server answer, time), written at the end of every run.
    QString reportPath() const;
    const OutgoingMessage& message() const;

private:
    struct Impl;
    explicit Campaign(std::unique_ptr<Impl> impl);
    static void leaveOutBlocked(Impl& d);
    std::unique_ptr<Impl> impl_;
};

}  // namespace zw::send

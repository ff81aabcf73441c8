#pragma once

#include <QMetaType>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "send/Campaign.h"

class QThread;

Q_DECLARE_METATYPE(zw::send::CampaignStatus)

namespace zw::send {

// Makes, on the sending thread, what hands each message on: the SMTP connection, or a stand-in.
using SenderFactory = std::function<Campaign::SendFunction()>;
// One SMTP connection through the profile's server, kept open for the whole run. While stop is true,
// a message the server leaves unanswered is broken off after a moment instead of waited for.
SenderFactory smtpSender(const SenderProfile& profile, const QString& password,
                         std::shared_ptr<const std::atomic<bool>> stop = {});

// Lives on the sending thread: owns the campaign and the SMTP connection while they send, and tells
// of every step through signals, which reach the user-interface thread queued.
class CampaignWorker : public QObject {
    Q_OBJECT
public:
    CampaignWorker(Campaign campaign, SenderFactory sender, const std::atomic<bool>& stop);
    ~CampaignWorker() override;

    void run();
    // Ends a wait for the provider: the next message goes out now. From any thread.
    void tryNow();

Q_SIGNALS:
    // A message is about to go out to status.current.
    void sending(const zw::send::CampaignStatus& status);
    // A wait begins (status.waitingUntil says until when) or ends.
    void waiting(const zw::send::CampaignStatus& status);
    // The server answered one message.
    void progressed(const zw::send::CampaignStatus& status);
    // The run is over and the campaign's lock released. error: German, when the campaign could not go
    // on (the journal could not be written, ...); the journal still tells where it stands.
    void finished(const zw::send::CampaignStatus& status, const QString& error);

private:
    std::mutex campaignMutex_;  // tryNow() from the window against the end of the run
    std::optional<Campaign> campaign_;
    SenderFactory sender_;
    const std::atomic<bool>& stop_;
};

// Sends one campaign off the user-interface thread, from construction until it is finished or
// stopped. The signals arrive on the thread that made the runner.
class CampaignRunner : public QObject {
    Q_OBJECT
public:
    CampaignRunner(Campaign campaign, SenderFactory sender, QObject* parent = nullptr);
    // Stops after the message in flight and waits for it.
    ~CampaignRunner() override;

    // Asks the sending thread to stop after the message in flight; finished() follows.
    void stop();
    // Stops and waits until the message in flight has its answer and the journal says paused. The
    // finished() signal still comes through the event loop.
    void stopAndWait();
    bool isRunning() const;
    // "Jetzt versuchen": ends a wait for the provider.
    void tryNow();

Q_SIGNALS:
    void sending(const zw::send::CampaignStatus& status);
    void waiting(const zw::send::CampaignStatus& status);
    void progressed(const zw::send::CampaignStatus& status);
    void finished(const zw::send::CampaignStatus& status, const QString& error);

private:
    std::atomic<bool> stop_{false};
    QThread* thread_ = nullptr;
    std::unique_ptr<CampaignWorker> worker_;
};

}  // namespace zw::send

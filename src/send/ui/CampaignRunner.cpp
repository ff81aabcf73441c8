#include "send/ui/CampaignRunner.h"

#include <QThread>

#include "platform/Error.h"
#include "send/SmtpTransport.h"

namespace zw::send {

SenderFactory smtpSender(const SenderProfile& profile, const QString& password,
                         std::shared_ptr<const std::atomic<bool>> stop) {
    return [profile, password, stop]() -> Campaign::SendFunction {
        auto transport = std::make_shared<SmtpTransport>(profile, password);
        transport->setStop(stop.get());
        return [transport, stop](const QByteArray& to, const QByteArray& message) {
            return transport->send(to, message);
        };
    };
}

CampaignWorker::CampaignWorker(Campaign campaign, SenderFactory sender, const std::atomic<bool>& stop)
    : campaign_(std::move(campaign)), sender_(std::move(sender)), stop_(stop) {}

CampaignWorker::~CampaignWorker() = default;

void CampaignWorker::run() {
    CampaignStatus status = campaign_->status();
    QString error;
    try {
        // Made here, so that the connection belongs to this thread from its first byte to its last.
        const Campaign::SendFunction send = sender_();
        campaign_->sending = [this](const CampaignStatus& s) { Q_EMIT sending(s); };
        campaign_->waiting = [this](const CampaignStatus& s) { Q_EMIT waiting(s); };
        status = campaign_->run(send, stop_, [this](const CampaignStatus& s) { Q_EMIT progressed(s); });
    } catch (const Error& e) {
        error = e.message();
    } catch (const std::exception& e) {
        error = QString::fromLocal8Bit(e.what());
    }
    if (!error.isEmpty()) {
        // The journal ends without its pause record: the list shows the campaign interrupted.
        status.state = CampaignState::Interrupted;
        status.current.clear();
        status.stopReason = error;
    }
    sender_ = nullptr;  // the password with it
    {
        const std::lock_guard<std::mutex> lock(campaignMutex_);
        campaign_.reset();  // lets go of the campaign's lock before anybody hears of the end
    }
    Q_EMIT finished(status, error);
}

void CampaignWorker::tryNow() {
    const std::lock_guard<std::mutex> lock(campaignMutex_);
    if (campaign_)
        campaign_->tryNow();
}

CampaignRunner::CampaignRunner(Campaign campaign, SenderFactory sender, QObject* parent)
    : QObject(parent),
      thread_(new QThread(this)),
      worker_(std::make_unique<CampaignWorker>(std::move(campaign), std::move(sender), stop_)) {
    qRegisterMetaType<CampaignStatus>();
    worker_->moveToThread(thread_);
    connect(thread_, &QThread::started, worker_.get(), &CampaignWorker::run);
    connect(worker_.get(), &CampaignWorker::sending, this, &CampaignRunner::sending);
    connect(worker_.get(), &CampaignWorker::progressed, this, &CampaignRunner::progressed);
    connect(worker_.get(), &CampaignWorker::waiting, this, &CampaignRunner::waiting);
    connect(worker_.get(), &CampaignWorker::finished, this, &CampaignRunner::finished);
    // The thread's loop only waits for the end of the run.
    connect(worker_.get(), &CampaignWorker::finished, thread_, &QThread::quit, Qt::DirectConnection);
    thread_->setObjectName(QStringLiteral("Versand"));
    thread_->start();
}

CampaignRunner::~CampaignRunner() {
    stopAndWait();
}

void CampaignRunner::stop() {
    stop_ = true;
}

void CampaignRunner::stopAndWait() {
    stop();
    thread_->wait();
}

void CampaignRunner::tryNow() {
    worker_->tryNow();
}

bool CampaignRunner::isRunning() const {
    return thread_->isRunning();
}

}  // namespace zw::send

#include "send/ui/ProgressWindow.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "platform/Error.h"
#include "send/CampaignTexts.h"
#include "send/ui/CampaignRunner.h"
#include "send/ui/ValueLabel.h"

namespace zw::send {

QString clockText(qint64 seconds) {
    const auto two = [](qint64 n) { return QStringLiteral("%1").arg(n, 2, 10, QChar(u'0')); };
    if (seconds >= 3600)
        return QStringLiteral("%1:%2:%3").arg(seconds / 3600).arg(two(seconds / 60 % 60), two(seconds % 60));
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(two(seconds % 60));
}

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
    setModal(false);
    setObjectName(QStringLiteral("ProgressWindow"));
    setWindowTitle(QStringLiteral("Newsletter wird versendet"));
    auto* layout = new QVBoxLayout(this);
    SubjectLabel = valueLabel(QStringLiteral("Betreff"), this);
    QFont bold = SubjectLabel->font();
    bold.setBold(true);
    SubjectLabel->setFont(bold);
    ProgressBar = new QProgressBar(this);
    ProgressBar->setAccessibleName(QStringLiteral("Fortschritt"));
    ProgressBar->setFormat(QStringLiteral("%v von %m"));
    ProgressBar->setAlignment(Qt::AlignCenter);
    CurrentLabel = valueLabel(QStringLiteral("Wird gesendet an"), this);
    CountsLabel = valueLabel(QStringLiteral("Stand"), this);
    TimeLabel = valueLabel(QStringLiteral("Zeit"), this);
    SummaryLabel = valueLabel(QStringLiteral("Zusammenfassung"), this);
    for (QWidget* w : {static_cast<QWidget*>(SubjectLabel), static_cast<QWidget*>(ProgressBar),
                       static_cast<QWidget*>(CurrentLabel), static_cast<QWidget*>(CountsLabel),
                       static_cast<QWidget*>(TimeLabel), static_cast<QWidget*>(SummaryLabel)})
        layout->addWidget(w);
    layout->addStretch();

    auto* buttons = new QHBoxLayout;
    TryNowButton = new QPushButton(QStringLiteral("&Jetzt versuchen"), this);
    StopButton = new QPushButton(QStringLiteral("&Anhalten"), this);
    ResumeButton = new QPushButton(QStringLiteral("&Fortsetzen"), this);
    ReportButton = new QPushButton(QStringLiteral("&Bericht öffnen"), this);
    CloseButton = new QPushButton(QStringLiteral("&Schließen"), this);
    buttons->addStretch();
    for (QPushButton* b : {TryNowButton, StopButton, ResumeButton, ReportButton, CloseButton})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(StopButton, &QPushButton::clicked, this, &ProgressWindow::pause);
    connect(TryNowButton, &QPushButton::clicked, this, [this] {
        if (runner_)
            runner_->tryNow();
    });
    connect(ResumeButton, &QPushButton::clicked, this, &ProgressWindow::resume);
    connect(ReportButton, &QPushButton::clicked, this, [this] { Q_EMIT reportRequested(reportPath_); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    tick_ = new QTimer(this);
    tick_->setInterval(1000);
    connect(tick_, &QTimer::timeout, this, &ProgressWindow::updateTime);
    setMinimumSize(420, 240);
    resize(500, 280);
}

ProgressWindow::~ProgressWindow() {
    // The runner stops and waits in its destructor; nobody is left to hear its end.
    if (runner_)
        runner_->disconnect(this);
}

void ProgressWindow::start(Campaign campaign, const QString& password) {
    SenderFactory sender = smtpSender(campaign.profile(), password, stopInFlight_);
    start(std::move(campaign), std::move(sender));
}

void ProgressWindow::start(Campaign campaign, SenderFactory sender) {
    folder_ = campaign.folder();
    reportPath_ = campaign.reportPath();
    hasUnsubscribe_ = campaign.message().hasUnsubscribe();
    sender_ = sender;
    const QString server = campaign.profile().server;
    status_ = campaign.status();
    setWindowTitle(QStringLiteral("Versand: %1").arg(status_.subject));
    SubjectLabel->setText(status_.subject);
    SummaryLabel->clear();
    stopping_ = false;
    *stopInFlight_ = false;
    doneAtStart_ = status_.sent + status_.failed;
    clock_.start();

    auto* runner = new CampaignRunner(std::move(campaign), std::move(sender), this);
    runner_ = runner;
    connect(runner, &CampaignRunner::sending, this, &ProgressWindow::showSending);
    connect(runner, &CampaignRunner::progressed, this, &ProgressWindow::showStatus);
    connect(runner, &CampaignRunner::waiting, this, &ProgressWindow::showWaiting);
    connect(runner, &CampaignRunner::finished, this,
            [this, runner](const CampaignStatus& s, const QString& error) {
                runner->deleteLater();
                showEnd(s, error);
            });
    const bool resumesWait = status_.waitingUntil.isValid();
    showStatus(status_);
    CurrentLabel->setText(QStringLiteral("Verbindung zum Server %1 …").arg(server));
    if (resumesWait)
        showWaiting(status_);
    tick_->start();
    updateTime();
    showButtons();
}

bool ProgressWindow::isSending() const {
    return runner_ != nullptr;
}

void ProgressWindow::pause() {
    if (!runner_ || stopping_)
        return;
    stopping_ = true;
    runner_->stop();
    *stopInFlight_ = true;
    CurrentLabel->setText(
        QStringLiteral("Wird angehalten, sobald der Server die Nachricht beantwortet hat, "
                       "die gerade gesendet wird …"));
    showButtons();
}

void ProgressWindow::pauseAndWait() {
    pause();
    if (runner_)
        runner_->stopAndWait();
}

void ProgressWindow::resume() {
    if (runner_)
        return;
    try {
        start(Campaign::open(folder_), sender_);
    } catch (const Error& e) {
        SummaryLabel->setText(e.message());
    }
}

void ProgressWindow::showSending(const CampaignStatus& s) {
    showStatus(s);
    if (!stopping_)
        CurrentLabel->setText(QStringLiteral("Wird gesendet an: %1").arg(s.current) +
                              (s.notice.isEmpty() ? QString() : u'\n' + s.notice));
}

void ProgressWindow::showWaiting(const CampaignStatus& s) {
    status_.waitingUntil = s.waitingUntil;
    status_.waitAnswer = s.waitAnswer;
    status_.waitLimit = s.waitLimit;
    if (!stopping_)
        CurrentLabel->setText(s.waitingUntil.isValid() ? waitingText(s) : QString());
    updateTime();
    showButtons();
}

void ProgressWindow::showStatus(const CampaignStatus& s) {
    status_ = s;
    // A server that kept silent or a connection that broke: said while the campaign goes on.
    if (!stopping_ && runner_ && !s.notice.isEmpty())
        CurrentLabel->setText(s.notice);
    ProgressBar->setMaximum(int(qMax<qsizetype>(s.total, 1)));
    ProgressBar->setValue(int(s.sent + s.failed));
    CountsLabel->setText(QStringLiteral("Gesendet: %1 · Fehlgeschlagen: %2 · Ausstehend: %3")
                             .arg(s.sent)
                             .arg(s.failed)
                             .arg(s.pending));
}

void ProgressWindow::updateTime() {
    const qint64 elapsed = clock_.elapsed() / 1000;
    const qsizetype done = status_.sent + status_.failed - doneAtStart_;
    QString left = QStringLiteral("wird berechnet");
    if (!runner_)
        left = QStringLiteral("–");
    else if (status_.waitingUntil.isValid())
        left = waitingUntilText(status_.waitingUntil);  // a pace measured before a wait says nothing
    else if (done > 0)
        left = QStringLiteral("etwa %1").arg(clockText(clock_.elapsed() * status_.pending / done / 1000));
    TimeLabel->setText(QStringLiteral("Vergangen: %1 · Verbleibend: %2").arg(clockText(elapsed), left));
}

void ProgressWindow::showEnd(const CampaignStatus& s, const QString& error) {
    runner_ = nullptr;
    stopping_ = false;
    tick_->stop();
    showStatus(s);
    updateTime();
    CurrentLabel->clear();

    QStringList summary;
    if (!error.isEmpty())
        summary << QStringLiteral("Der Versand wurde unterbrochen: %1").arg(error);
    else if (s.state == CampaignState::Finished)
        summary << QStringLiteral("Der Versand ist abgeschlossen.");
    else
        summary << QStringLiteral("Der Versand ist angehalten.") << s.stopReason;
    summary << countsText(s);
    if (s.failed > 0)
        summary << QStringLiteral(
            "Der Bericht nennt die fehlgeschlagenen Adressen mit der Antwort des Servers.");
    summary << maybeTwiceText(s);
    if (!hasUnsubscribe_)
        summary << noUnsubscribeText();
    if (s.state != CampaignState::Finished)
        summary << QStringLiteral(
            "Mit „Fortsetzen“ geht er weiter, auch später unter „Versand → "
            "Versandberichte…“.");
    summary.removeAll(QString());
    SummaryLabel->setText(summary.join(u'\n'));
    showButtons();
    (s.state == CampaignState::Finished ? ReportButton : ResumeButton)->setFocus();
    // A hidden window comes back with the summary.
    if (isHidden())
        show();
    Q_EMIT finished(s);
}

void ProgressWindow::showButtons() {
    const bool sending = isSending();
    StopButton->setVisible(sending);
    StopButton->setEnabled(!stopping_);
    // Only the provider's refusal may be tried again early; the profile's own limits are the user's word.
    TryNowButton->setVisible(sending && !stopping_ && status_.waitingUntil.isValid() &&
                             !status_.waitAnswer.isEmpty());
    ResumeButton->setVisible(!sending && status_.state != CampaignState::Finished);
    ReportButton->setVisible(!sending);
    ReportButton->setEnabled(QFileInfo::exists(reportPath_));
    CloseButton->setVisible(!sending);
    if (sending && !stopping_)
        StopButton->setFocus();
}

void ProgressWindow::reject() {
    close();
}

void ProgressWindow::closeEvent(QCloseEvent* event) {
    // The sending goes on: only the window goes away until the summary or "Versandberichte…".
    event->accept();
    if (!isSending())
        deleteLater();
}

}  // namespace zw::send

#include "send/ui/CampaignsDialog.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "send/CampaignFiles.h"
#include "send/CampaignTexts.h"

namespace zw::send {

namespace {

QString dateText(const QDateTime& time) {
    return time.isValid() ? time.toString(QStringLiteral("dd.MM.yyyy HH:mm")) : QString();
}

QTableWidgetItem* cell(const QString& text, bool number = false) {
    auto* item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    if (number)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

QString reportOf(const CampaignStatus& status) {
    return status.folder + u'/' + QLatin1String(kReportFile);
}

}  // namespace

bool reportIsCurrent(const CampaignStatus& status) {
    return (status.state == CampaignState::Finished || status.state == CampaignState::Paused) &&
           QFileInfo::exists(reportOf(status));
}

bool isResumable(const CampaignStatus& status) {
    return status.state == CampaignState::Paused || status.state == CampaignState::Interrupted;
}

CampaignsDialog::CampaignsDialog(QString workFolder, QWidget* parent)
    : QDialog(parent), workFolder_(std::move(workFolder)) {
    setObjectName(QStringLiteral("CampaignsDialog"));
    setWindowTitle(QStringLiteral("Versandberichte"));
    auto* layout = new QVBoxLayout(this);
    Table = new QTableWidget(0, 7, this);
    Table->setHorizontalHeaderLabels({QStringLiteral("Betreff"), QStringLiteral("Begonnen"),
                                      QStringLiteral("Zustand"), QStringLiteral("Gesendet"),
                                      QStringLiteral("Fehlgeschlagen"), QStringLiteral("Ausstehend"),
                                      QStringLiteral("Zuletzt")});
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setSelectionMode(QAbstractItemView::SingleSelection);
    Table->setTabKeyNavigation(false);
    Table->verticalHeader()->hide();
    Table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    auto* label = new QLabel(QStringLiteral("&Versände dieses Programmordners:"), this);
    label->setBuddy(Table);
    Table->setAccessibleName(QStringLiteral("Versände"));
    EmptyLabel = new QLabel(QStringLiteral("Es wurde noch kein Newsletter versendet."), this);
    EmptyLabel->setAccessibleName(QStringLiteral("Keine Versände"));
    layout->addWidget(label);
    layout->addWidget(Table, 1);
    layout->addWidget(EmptyLabel);

    auto* buttons = new QHBoxLayout;
    ReportButton = new QPushButton(QStringLiteral("&Bericht öffnen"), this);
    ResumeButton = new QPushButton(QStringLiteral("&Fortsetzen"), this);
    RetryFailedButton = new QPushButton(QStringLiteral("Fehlgeschlagene &erneut senden"), this);
    CloseButton = new QPushButton(QStringLiteral("&Schließen"), this);
    buttons->addStretch();
    for (QPushButton* b : {ReportButton, ResumeButton, RetryFailedButton, CloseButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(Table, &QTableWidget::itemSelectionChanged, this, &CampaignsDialog::updateButtons);
    connect(Table, &QTableWidget::cellActivated, this, [this] {
        if (ResumeButton->isEnabled())
            resumeSelected();
        else if (ReportButton->isEnabled())
            openReport();
    });
    connect(ReportButton, &QPushButton::clicked, this, &CampaignsDialog::openReport);
    connect(ResumeButton, &QPushButton::clicked, this, &CampaignsDialog::resumeSelected);
    connect(RetryFailedButton, &QPushButton::clicked, this, [this] {
        if (const CampaignStatus* c = selected();
            c && c->state == CampaignState::Finished && c->failedTemporarily > 0) {
            const QString folder = c->folder;
            accept();
            Q_EMIT retryFailedRequested(folder);
        }
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
    setMinimumSize(560, 300);
    resize(780, 380);
    reload();
}

CampaignsDialog::~CampaignsDialog() = default;

void CampaignsDialog::reload() {
    const CampaignStatus* before = selected();
    const QString selectedFolder = before ? before->folder : QString();
    campaigns_ = listCampaigns(workFolder_);
    Table->setRowCount(int(campaigns_.size()));
    int select = campaigns_.isEmpty() ? -1 : 0;
    for (int row = 0; row < campaigns_.size(); ++row) {
        const CampaignStatus& c = campaigns_[row];
        Table->setItem(row, 0, cell(c.subject));
        Table->setItem(row, 1, cell(dateText(c.created)));
        const bool waits =
            c.state != CampaignState::Finished && c.waitingUntil > QDateTime::currentDateTime();
        Table->setItem(row, 2, cell(waits ? waitingUntilText(c.waitingUntil) : stateText(c.state)));
        Table->setItem(row, 3, cell(QString::number(c.sent), true));
        Table->setItem(row, 4, cell(QString::number(c.failed), true));
        Table->setItem(row, 5, cell(QString::number(c.pending), true));
        Table->setItem(row, 6, cell(dateText(c.lastActivity)));
        if (c.folder == selectedFolder)
            select = row;
    }
    for (int column = 1; column < Table->columnCount(); ++column) Table->resizeColumnToContents(column);
    Table->setVisible(!campaigns_.isEmpty());
    EmptyLabel->setVisible(campaigns_.isEmpty());
    if (select >= 0)
        Table->selectRow(select);
    updateButtons();
}

const CampaignStatus* CampaignsDialog::selected() const {
    const QList<QTableWidgetItem*> items = Table->selectedItems();
    if (items.isEmpty() || items.first()->row() >= campaigns_.size())
        return nullptr;
    return &campaigns_[items.first()->row()];
}

void CampaignsDialog::updateButtons() {
    const CampaignStatus* c = selected();
    ReportButton->setEnabled(c && reportIsCurrent(*c));
    ResumeButton->setEnabled(c && isResumable(*c));
    RetryFailedButton->setEnabled(c && c->state == CampaignState::Finished && c->failedTemporarily > 0);
}

void CampaignsDialog::openReport() {
    if (const CampaignStatus* c = selected(); c && reportIsCurrent(*c))
        Q_EMIT reportRequested(reportOf(*c));
}

void CampaignsDialog::resumeSelected() {
    if (const CampaignStatus* c = selected(); c && isResumable(*c)) {
        const QString folder = c->folder;
        accept();
        Q_EMIT resumeRequested(folder);
    }
}

}  // namespace zw::send

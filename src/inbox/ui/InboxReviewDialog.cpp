#include "inbox/ui/InboxReviewDialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "inbox/ui/ListTable.h"
#include "platform/Error.h"
#include "send/ui/ValueLabel.h"

namespace zw::inbox {

InboxReviewDialog::InboxReviewDialog(QString workFolder, const CheckResult& result, QWidget* parent)
    : QDialog(parent), workFolder_(std::move(workFolder)), items_(result.items) {
    setObjectName(QStringLiteral("InboxReviewDialog"));
    setWindowTitle(QStringLiteral("Rückläufer und Abmeldungen"));
    auto* layout = new QVBoxLayout(this);
    SummaryLabel = send::valueLabel(QStringLiteral("Ergebnis"), this);
    qsizetype ticked = 0;
    qsizetype candidates = 0;
    for (const ReviewItem& i : items_) {
        ticked += i.ticked && mayBlock(i);
        candidates += mayBlock(i);
    }
    QString summary =
        QStringLiteral(
            "%1 neue Nachrichten im Posteingang gelesen (nur gelesen: nichts markiert, verschoben oder "
            "gelöscht). ")
            .arg(result.newMessages);
    summary += items_.isEmpty()
                   ? QStringLiteral("Es gibt keine Rückläufer oder Abmeldungen zu Ihren Versänden.")
                   : QStringLiteral(
                         "%1 Funde; die angehakten %2 kommen mit „Übernehmen“ auf die Sperrliste. "
                         "Vorübergehende Fehler sind erst angehakt, wenn dieselbe Adresse in drei "
                         "Versänden vorübergehend scheiterte.")
                         .arg(candidates)
                         .arg(ticked);
    if (result.startedOver)
        summary +=
            QStringLiteral(" Der Server hat den Posteingang neu nummeriert; er wurde von vorn gelesen.");
    SummaryLabel->setText(summary);
    layout->addWidget(SummaryLabel);

    for (qsizetype i = 0; i < items_.size(); ++i)
        if (mayBlock(items_[i]))
            rows_.append(i);
    Table = listTable(int(rows_.size()),
                      {QStringLiteral("Adresse"), QStringLiteral("Art"), QStringLiteral("Nachweis"),
                       QStringLiteral("Datum"), QStringLiteral("Versand")},
                      QStringLiteral("Funde"), this);
    const QLocale german(QLocale::German, QLocale::Germany);
    for (int row = 0; row < rows_.size(); ++row) {
        const ReviewItem& i = items_[rows_[row]];
        const QString cells[] = {i.address, kindText(i.kind), i.evidence,
                                 german.toString(i.date, QStringLiteral("dd.MM.yyyy HH:mm")),
                                 i.campaignSubject};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            if (c == 0) {
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(i.ticked ? Qt::Checked : Qt::Unchecked);
            }
            Table->setItem(row, c, item);
        }
    }
    // Nothing found: no table of empty columns, nothing to take over.
    Table->setVisible(!items_.isEmpty());
    Table->resizeColumnsToContents();
    // A long server text is read in its tool tip; the column stays narrow enough to show the campaign.
    Table->setColumnWidth(2, qMin(Table->columnWidth(2), 300));
    layout->addWidget(Table, 3);

    const QList<SenderProblem> problems = senderProblems(items_);
    QList<QStringList> apart;
    for (const SenderProblem& p : problems)
        apart.append({kindText(InboxFinding::SenderSide), p.title(), p.campaignSubject, p.evidence});
    for (const ReviewItem& i : items_)
        if (!i.assigned && i.kind != InboxFinding::SenderSide)
            apart.append({QStringLiteral("%1 (%2)").arg(QLatin1String(kUnassignedText), kindText(i.kind)),
                          i.address, i.campaignSubject, i.evidence});
    SenderAdviceLabel = send::valueLabel(QStringLiteral("Sperrt niemanden"), this);
    SenderAdviceLabel->setText(
        QStringLiteral("<b>Sperrt niemanden.</b> ") +
        (problems.isEmpty() ? QString() : QString::fromUtf8(kSenderProblemAdvice).toHtmlEscaped()) +
        (apart.size() > problems.size()
             ? QStringLiteral(" „nicht zuzuordnen“: Der Rückläufer nennt keinen Empfänger des Versands.")
             : QString()));
    SenderAdviceLabel->setWordWrap(true);
    SenderTable = listTable(int(apart.size()),
                            {QStringLiteral("Art"), QStringLiteral("Anbieter oder Adresse"),
                             QStringLiteral("Versand"), QStringLiteral("Text des Servers")},
                            QStringLiteral("Funde, die niemanden sperren"), this);
    for (int row = 0; row < apart.size(); ++row)
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(apart[row][c]);
            item->setToolTip(apart[row][c]);
            SenderTable->setItem(row, c, item);
        }
    SenderTable->resizeColumnsToContents();
    SenderTable->setColumnWidth(3, qMin(SenderTable->columnWidth(3), 420));
    SenderAdviceLabel->setVisible(!apart.isEmpty());
    SenderTable->setVisible(!apart.isEmpty());
    layout->addWidget(SenderAdviceLabel);
    layout->addWidget(SenderTable, 2);
    MessageLabel = send::valueLabel(QStringLiteral("Meldung"), this);
    layout->addWidget(MessageLabel);

    auto* buttons = new QHBoxLayout;
    ApplyButton = new QPushButton(QStringLiteral("Übernehmen"), this);
    ApplyButton->setAccessibleName(QStringLiteral("Angehakte Adressen auf die Sperrliste setzen"));
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    buttons->addStretch();
    buttons->addWidget(ApplyButton);
    buttons->addWidget(CancelButton);
    layout->addLayout(buttons);
    ApplyButton->setDefault(true);
    connect(ApplyButton, &QPushButton::clicked, this, &InboxReviewDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    // "Übernehmen" only with something ticked; with nothing found, the dialog only closes.
    const auto anyTicked = [this] {
        for (int row = 0; row < Table->rowCount(); ++row)
            if (Table->item(row, 0) && Table->item(row, 0)->checkState() == Qt::Checked)
                return true;
        return false;
    };
    ApplyButton->setEnabled(anyTicked());
    connect(Table, &QTableWidget::itemChanged, this, [this, anyTicked] { ApplyButton->setEnabled(anyTicked()); });
    if (items_.isEmpty()) {
        ApplyButton->hide();
        CancelButton->setText(QStringLiteral("Schließen"));
        CancelButton->setDefault(true);
    }
    if (items_.isEmpty() && apart.isEmpty())
        resize(560, 160);
    else
        resize(980, apart.isEmpty() ? 440 : 620);
}

QList<ReviewItem> InboxReviewDialog::items() const {
    QList<ReviewItem> items = items_;
    for (int row = 0; row < rows_.size(); ++row)
        items[rows_[row]].ticked = Table->item(row, 0)->checkState() == Qt::Checked;
    return items;
}

void InboxReviewDialog::accept() {
    try {
        const qsizetype added = applyReview(workFolder_, items());
        Summary = added == 1 ? QStringLiteral("1 Adresse auf die Sperrliste gesetzt.")
                             : QStringLiteral("%1 Adressen auf die Sperrliste gesetzt.").arg(added);
    } catch (const Error& e) {
        MessageLabel->setText(e.message());
        return;
    }
    QDialog::accept();
}

}  // namespace zw::inbox

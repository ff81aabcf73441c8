#include "send/ui/SendNewsletterDialog.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScopeGuard>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/Error.h"
#include "platform/Text.h"
#include "send/CampaignTexts.h"
#include "send/FieldColumns.h"
#include "send/Providers.h"
#include "send/ui/ListFolder.h"
#include "send/ui/ValueLabel.h"

namespace zw::send {

// The rows not taken, of the recipient list and of the exclusion list, for the check page's table. A
// model rather than a widget per cell: a long list of bad rows shows at once.
class RejectedRowsModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const QList<RejectedRow>& list, const QList<RejectedRow>& exclusions,
                 const QList<BlockedRecipient>& blocked) {
        beginResetModel();
        rows_.clear();
        for (const RejectedRow& row : list) rows_.append({QStringLiteral("Empfängerliste"), row});
        for (const RejectedRow& row : exclusions) rows_.append({QStringLiteral("Sperrliste"), row});
        for (const BlockedRecipient& b : blocked)
            rows_.append({QLatin1String(kBlockListFileName),
                          {b.recipient.line, b.recipient.address,
                           QStringLiteral("steht auf der Sperrliste: %1").arg(b.entry.reason)}});
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(rows_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid())
            return {};
        const auto& [file, row] = rows_[index.row()];
        switch (index.column()) {
            case 0:
                return file;
            case 1:
                return qlonglong(row.line);
            case 2:
                return row.text;
            default:
                return row.reason;
        }
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return QAbstractTableModel::headerData(section, orientation, role);
        const QString titles[] = {QStringLiteral("Datei"), QStringLiteral("Zeile"), QStringLiteral("Inhalt"),
                                  QStringLiteral("Grund")};
        return titles[section];
    }

private:
    QList<std::pair<QString, RejectedRow>> rows_;
};

namespace {

QString rowsText(qsizetype n, const char* one, const char* many) {
    return n == 1 ? QString::fromUtf8(one) : QString::fromUtf8(many).arg(n);
}

QString durationText(qsizetype messages, int perMinute) {
    const qsizetype minutes = (messages + perMinute - 1) / perMinute;
    const QString time =
        minutes == 1 ? QStringLiteral("1 Minute")
        : minutes < 90
            ? QStringLiteral("%1 Minuten").arg(minutes)
            : QStringLiteral("%1 Stunden").arg(QLocale(QLocale::German).toString(minutes / 60.0, 'f', 1));
    return QStringLiteral("Bei %1 Nachrichten pro Minute dauert der Versand etwa %2.")
        .arg(perMinute)
        .arg(time);
}

// The hourly and daily limits: the profile's, or where it has none, those the provider publishes.
QString limitsText(qsizetype count, const SenderProfile& profile) {
    if (const QString own = limitDurationText(count, profile.messagesPerHour, profile.messagesPerDay);
        !own.isEmpty())
        return QStringLiteral(" Dauer des Versands %1.").arg(own);
    const std::optional<Provider> provider = providerForServer(profile.server, profile.address);
    if (!provider || profile.messagesPerHour > 0 || profile.messagesPerDay > 0)
        return {};
    if (const QString published =
            limitDurationText(count, provider->messagesPerHour, provider->messagesPerDay);
        !published.isEmpty())
        return QStringLiteral(" Dauer des Versands %1 (so viele nimmt %2 höchstens an).")
            .arg(published, provider->name);
    return {};
}

}  // namespace

SendNewsletterDialog::SendNewsletterDialog(Newsletter newsletter, SenderProfile profile, QWidget* parent)
    : QDialog(parent),
      newsletter_(std::move(newsletter)),
      profile_(std::move(profile)),
      message_(newsletter_) {
    setObjectName(QStringLiteral("SendNewsletterDialog"));
    setWindowTitle(QStringLiteral("Newsletter versenden"));
    auto* layout = new QVBoxLayout(this);
    Pages = new QStackedWidget(this);
    Pages->addWidget(buildChoicePage());
    Pages->addWidget(buildCheckPage());
    layout->addWidget(Pages, 1);

    auto* buttons = new QHBoxLayout;
    BackButton = new QPushButton(QStringLiteral("< &Zurück"), this);
    NextButton = new QPushButton(QStringLiteral("&Weiter >"), this);
    SendButton = new QPushButton(QStringLiteral("&Senden"), this);
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    buttons->addStretch();
    for (QPushButton* b : {BackButton, NextButton, SendButton, CancelButton}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);

    connect(BackButton, &QPushButton::clicked, this, &SendNewsletterDialog::showChoicePage);
    connect(NextButton, &QPushButton::clicked, this, &SendNewsletterDialog::showCheckPage);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(ListEdit, &QLineEdit::textChanged, this, &SendNewsletterDialog::updateButtons);
    setMinimumSize(520, 420);
    resize(640, 500);
    showChoicePage();
}

SendNewsletterDialog::~SendNewsletterDialog() = default;

QWidget* SendNewsletterDialog::buildChoicePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* intro = new QLabel(
        QStringLiteral(
            "Wählen Sie die Liste der Empfänger: eine CSV- oder Textdatei, wie Tabellenprogramme und "
            "Adressbücher sie speichern, mit einer Adresse je Zeile. Eine Sperrliste nennt Adressen, "
            "die keinen Newsletter mehr erhalten möchten; sie ist freiwillig."),
        page);
    intro->setWordWrap(true);
    layout->addWidget(intro);

    auto* form = new QFormLayout;
    auto fileRow = [&](const QString& caption, const QString& buttonText, const QString& title,
                       QLineEdit*& edit, QPushButton*& button) {
        edit = new QLineEdit(page);
        button = new QPushButton(buttonText, page);
        button->setAccessibleName(title);
        connect(button, &QPushButton::clicked, this,
                [this, field = edit, title] { chooseFile(field, title); });
        auto* row = new QHBoxLayout;
        row->addWidget(edit, 1);
        row->addWidget(button);
        auto* label = new QLabel(caption, page);
        label->setBuddy(edit);
        form->addRow(label, row);
    };
    fileRow(QStringLiteral("&Empfängerliste:"), QStringLiteral("&Durchsuchen…"),
            QStringLiteral("Empfängerliste wählen"), ListEdit, ListButton);
    fileRow(QStringLiteral("S&perrliste (freiwillig):"), QStringLiteral("D&urchsuchen…"),
            QStringLiteral("Sperrliste wählen"), ExcludeEdit, ExcludeButton);
    layout->addLayout(form);

    ErrorLabel = valueLabel(QStringLiteral("Fehler"), page);
    ErrorLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    layout->addWidget(ErrorLabel);
    layout->addStretch();
    return page;
}

QWidget* SendNewsletterDialog::buildCheckPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* intro =
        new QLabel(QStringLiteral("Bitte prüfen Sie, bevor Sie senden: Mit „Senden“ geht der Newsletter "
                                  "an jede Adresse, die hier gezählt ist."),
                   page);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    auto* form = new QFormLayout;
    CountLabel = valueLabel(QStringLiteral("Empfänger"), page);
    SubjectLabel = valueLabel(QStringLiteral("Betreff"), page);
    SenderLabel = valueLabel(QStringLiteral("Absender"), page);
    SizeLabel = valueLabel(QStringLiteral("Größe je Nachricht"), page);
    form->addRow(QStringLiteral("Empfänger:"), CountLabel);
    form->addRow(QStringLiteral("Betreff:"), SubjectLabel);
    form->addRow(QStringLiteral("Absender:"), SenderLabel);
    form->addRow(QStringLiteral("Größe je Nachricht:"), SizeLabel);
    layout->addLayout(form);

    WarningLabel = valueLabel(QStringLiteral("Warnung"), page);
    WarningLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    WarningLabel->setText(noUnsubscribeText());
    layout->addWidget(WarningLabel);
    BlockedLabel = valueLabel(QStringLiteral("Sperrliste"), page);
    layout->addWidget(BlockedLabel);

    FieldsLabel = valueLabel(QStringLiteral("Persönliche Felder"), page);
    layout->addWidget(FieldsLabel);
    FieldsConfirmBox =
        new QCheckBox(QStringLiteral("&Trotzdem senden: Felder, die die Liste nicht hat, erhalten "
                                     "ihren Ersatztext oder bleiben leer"),
                      page);
    FieldsConfirmBox->setAccessibleName(QStringLiteral("Trotzdem senden, obwohl Felder in der Liste fehlen"));
    connect(FieldsConfirmBox, &QCheckBox::toggled, this, &SendNewsletterDialog::updateButtons);
    layout->addWidget(FieldsConfirmBox);

    RejectedTable = new QTableView(page);
    RejectedTable->setAccessibleName(QStringLiteral("Nicht übernommene Zeilen"));
    rejected_ = new RejectedRowsModel(this);
    RejectedTable->setModel(rejected_);
    RejectedTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    RejectedTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    RejectedTable->setTabKeyNavigation(false);
    RejectedTable->verticalHeader()->hide();
    RejectedTable->horizontalHeader()->setStretchLastSection(true);
    RejectedLabel = new QLabel(page);
    RejectedLabel->setWordWrap(true);
    RejectedLabel->setBuddy(RejectedTable);
    layout->addWidget(RejectedLabel);
    layout->addWidget(RejectedTable, 1);
    return page;
}

void SendNewsletterDialog::chooseFile(QLineEdit* edit, const QString& title) {
    const QString typed = QFileInfo(QDir::fromNativeSeparators(edit->text())).path();
    const QString start = !edit->text().isEmpty() && QFileInfo(typed).isDir() ? typed : listStartFolder();
    const QString path = QFileDialog::getOpenFileName(
        this, title, start, QStringLiteral("Listen (*.csv *.txt *.tsv);;Alle Dateien (*)"), nullptr,
        QFileDialog::DontUseNativeDialog);
    rememberListFile(path);
    if (!path.isEmpty())
        edit->setText(QDir::toNativeSeparators(path));
}

void SendNewsletterDialog::showChoicePage() {
    Pages->setCurrentIndex(0);
    updateButtons();
    ListEdit->setFocus();
}

void SendNewsletterDialog::showCheckPage() {
    if (ListEdit->text().trimmed().isEmpty())
        return;
    RecipientList exclusions;
    try {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        list_ = readRecipientFile(QDir::fromNativeSeparators(ListEdit->text().trimmed()));
        if (!ExcludeEdit->text().trimmed().isEmpty()) {
            exclusions = readRecipientFile(QDir::fromNativeSeparators(ExcludeEdit->text().trimmed()));
            applyExclusions(list_, exclusions);
        }
        blocked_ = leaveOutBlocked(list_, blocks_);
    } catch (const Error& e) {
        list_ = {};
        ErrorLabel->setText(e.message());
        ListEdit->setFocus();
        return;
    }
    ErrorLabel->clear();

    const qsizetype count = list_.recipients.size();
    QString countText = count == 0 ? QStringLiteral("Keine Adresse der Liste kann den Newsletter erhalten.")
                                   : rowsText(count, "1 Adresse erhält den Newsletter.",
                                              "%1 Adressen erhalten den Newsletter.");
    if (count > 0 && profile_.messagesPerMinute > 0)
        countText += u' ' + durationText(count, profile_.messagesPerMinute);
    countText += limitsText(count, profile_);
    CountLabel->setText(countText);
    SubjectLabel->setText(message_.subject());
    SenderLabel->setText((profile_.name.isEmpty()
                              ? profile_.address
                              : QStringLiteral("%1 <%2>").arg(profile_.name, profile_.address)) +
                         QStringLiteral(", über %1:%2").arg(profile_.server).arg(profile_.port));
    SizeLabel->setText(sizeText(message_.size()));
    WarningLabel->setVisible(!message_.hasUnsubscribe());
    const QList<FieldUse> uses = fieldUses(message_.fields(), list_);
    FieldsLabel->setText(QStringLiteral("Persönliche Felder:\n") +
                         fieldReportLines(uses, &fieldsMissing_).join(u'\n'));
    FieldsLabel->setVisible(!uses.isEmpty());
    FieldsConfirmBox->setChecked(false);
    FieldsConfirmBox->setVisible(fieldsMissing_);
    BlockedLabel->setText(blockedCountText(blocked_.size()) +
                          QStringLiteral(" und erhalten nichts (die Tabelle "
                                         "unten nennt den Grund)."));
    BlockedLabel->setVisible(!blocked_.isEmpty());

    QString rejectedText =
        list_.rejected.isEmpty()
            ? QStringLiteral("Alle Zeilen der Empfängerliste wurden übernommen.")
            : rowsText(list_.rejected.size(), "1 Zeile der Empfängerliste wurde nicht übernommen.",
                       "%1 Zeilen der Empfängerliste wurden nicht übernommen.");
    if (!exclusions.rejected.isEmpty())
        rejectedText += u' ' + rowsText(exclusions.rejected.size(),
                                        "1 Zeile der Sperrliste ist keine Adresse und sperrt niemanden.",
                                        "%1 Zeilen der Sperrliste sind keine Adresse und sperren niemanden.");
    RejectedLabel->setText(rejectedText);
    rejected_->setRows(list_.rejected, exclusions.rejected, blocked_);
    RejectedTable->setVisible(rejected_->rowCount() > 0);
    RejectedTable->resizeColumnsToContents();

    Pages->setCurrentIndex(1);
    updateButtons();
    (SendButton->isEnabled() ? SendButton : BackButton)->setFocus();
}

void SendNewsletterDialog::updateButtons() {
    const bool check = Pages->currentIndex() == 1;
    BackButton->setVisible(check);
    NextButton->setVisible(!check);
    SendButton->setVisible(check);
    NextButton->setEnabled(!ListEdit->text().trimmed().isEmpty());
    SendButton->setEnabled(check && !list_.recipients.isEmpty() &&
                           (!fieldsMissing_ || FieldsConfirmBox->isChecked()));
    NextButton->setDefault(!check);
    SendButton->setDefault(check);
}

}  // namespace zw::send

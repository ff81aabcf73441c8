#include "inbox/ui/BlockListDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

#include "inbox/ui/ListTable.h"
#include "platform/Error.h"
#include "send/ui/ListFolder.h"
#include "send/ui/ValueLabel.h"

namespace zw::inbox {

using namespace zw::send;

namespace {
// A long server text is read in its tool tip; the column stays narrow enough to show the campaign.
constexpr int kEvidenceWidth = 300;
}  // namespace

BlockListDialog::BlockListDialog(QString workFolder, QWidget* parent)
    : QDialog(parent), workFolder_(std::move(workFolder)) {
    setObjectName(QStringLiteral("BlockListDialog"));
    setWindowTitle(QStringLiteral("Sperrliste"));
    auto* layout = new QVBoxLayout(this);
    auto* intro =
        new QLabel(QStringLiteral("Wer auf der Sperrliste steht, erhält keinen Newsletter mehr, aus "
                                  "welcher Liste auch immer. Die Liste ist die Datei „%1“ im "
                                  "Programmordner; ein Tabellenprogramm öffnet sie.")
                       .arg(QLatin1String(kBlockListFileName)),
                   this);
    intro->setWordWrap(true);
    layout->addWidget(intro);
    CountLabel = valueLabel(QStringLiteral("Anzahl"), this);
    layout->addWidget(CountLabel);

    Table = listTable(0,
                      {QStringLiteral("Adresse"), QStringLiteral("Grund"), QStringLiteral("Datum"),
                       QStringLiteral("Nachweis"), QStringLiteral("Versand")},
                      QStringLiteral("Gesperrte Adressen"), this);
    // In the order of the file (oldest first) until the user sorts by a column.
    Table->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    Table->setSortingEnabled(true);
    layout->addWidget(Table, 1);

    auto* addRow = new QHBoxLayout;
    auto* addressLabel = new QLabel(QStringLiteral("&Adresse:"), this);
    AddressEdit = new QLineEdit(this);
    addressLabel->setBuddy(AddressEdit);
    AddButton = new QPushButton(QStringLiteral("&Hinzufügen"), this);
    RemoveButton = new QPushButton(QStringLiteral("&Entfernen"), this);
    RemoveButton->setAccessibleName(QStringLiteral("Gewählte Adressen entfernen"));
    ImportButton = new QPushButton(QStringLiteral("Aus &Datei einlesen…"), this);
    addRow->addWidget(addressLabel);
    addRow->addWidget(AddressEdit, 1);
    addRow->addWidget(AddButton);
    addRow->addWidget(RemoveButton);
    addRow->addWidget(ImportButton);
    layout->addLayout(addRow);
    MessageLabel = valueLabel(QStringLiteral("Meldung"), this);
    layout->addWidget(MessageLabel);
    auto* closeRow = new QHBoxLayout;
    CloseButton = new QPushButton(QStringLiteral("Schließen"), this);
    closeRow->addStretch();
    closeRow->addWidget(CloseButton);
    layout->addLayout(closeRow);

    connect(AddButton, &QPushButton::clicked, this, &BlockListDialog::addTypedAddress);
    connect(AddressEdit, &QLineEdit::returnPressed, this, &BlockListDialog::addTypedAddress);
    connect(RemoveButton, &QPushButton::clicked, this, &BlockListDialog::removeSelected);
    connect(ImportButton, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, QStringLiteral("Adressen einlesen"), send::listStartFolder(),
                                         QStringLiteral("Listen (*.csv *.txt *.tsv);;Alle Dateien (*)"),
                                         nullptr, QFileDialog::DontUseNativeDialog);
        send::rememberListFile(path);
        if (!path.isEmpty())
            importFile(path);
    });
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    resize(940, 460);

    try {
        blocks_ = BlockList::load(blockListPath(workFolder_));
    } catch (const Error& e) {
        MessageLabel->setText(e.message());
    }
    fill();
}

void BlockListDialog::fill() {
    const QLocale german(QLocale::German, QLocale::Germany);
    Table->setSortingEnabled(false);
    Table->setRowCount(int(blocks_.entries().size()));
    int row = 0;
    for (const BlockEntry& e : blocks_.entries()) {
        const QString cells[] = {e.address, e.reason,
                                 german.toString(e.date, QStringLiteral("dd.MM.yyyy HH:mm")), e.evidence,
                                 e.campaign};
        for (int c = 0; c < 5; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setToolTip(cells[c]);
            Table->setItem(row, c, item);
        }
        ++row;
    }
    Table->setSortingEnabled(true);
    Table->resizeColumnsToContents();
    Table->setColumnWidth(3, qMin(Table->columnWidth(3), kEvidenceWidth));
    const qsizetype n = blocks_.entries().size();
    CountLabel->setText(n == 1 ? QStringLiteral("1 Adresse ist gesperrt.")
                               : QStringLiteral("%1 Adressen sind gesperrt.").arg(n));
}

void BlockListDialog::save() {
    blocks_.save(blockListPath(workFolder_));
    fill();
}

void BlockListDialog::addTypedAddress() {
    const QString address = AddressEdit->text().trimmed();
    if (address.isEmpty())
        return;
    if (const QString problem = checkAddress(address); !problem.isEmpty()) {
        MessageLabel->setText(QStringLiteral("„%1“ ist keine Adresse: %2").arg(address, problem));
        return;
    }
    try {
        if (!blocks_.add({address, QStringLiteral("von Hand"), QDateTime::currentDateTime(), {}, {}})) {
            MessageLabel->setText(QStringLiteral("%1 steht schon auf der Sperrliste.").arg(address));
            return;
        }
        save();
        AddressEdit->clear();
        MessageLabel->setText(QStringLiteral("%1 ist jetzt gesperrt.").arg(address));
    } catch (const Error& e) {
        blocks_.remove(address);
        MessageLabel->setText(e.message());
    }
}

void BlockListDialog::removeSelected() {
    QSet<QString> chosen;
    for (const QModelIndex& index : Table->selectionModel()->selectedRows())
        chosen.insert(Table->item(index.row(), 0)->text());
    if (chosen.isEmpty()) {
        MessageLabel->setText(
            QStringLiteral("Bitte wählen Sie zuerst die Adressen, die wieder Post erhalten sollen."));
        return;
    }
    const BlockList before = blocks_;
    for (const QString& address : chosen) blocks_.remove(address);
    try {
        save();
        MessageLabel->setText(
            chosen.size() == 1
                ? QStringLiteral("1 Adresse von der Sperrliste genommen.")
                : QStringLiteral("%1 Adressen von der Sperrliste genommen.").arg(chosen.size()));
    } catch (const Error& e) {
        blocks_ = before;
        fill();
        MessageLabel->setText(e.message());
    }
}

void BlockListDialog::importFile(const QString& path) {
    const BlockList before = blocks_;
    try {
        QList<RejectedRow> rejected;
        const qsizetype added = importIntoBlockList(blocks_, path, &rejected);
        save();
        QString text =
            QStringLiteral("%1 Adressen aus „%2“ neu gesperrt.").arg(added).arg(QFileInfo(path).fileName());
        if (!rejected.isEmpty())
            text += QStringLiteral(" %1 Zeilen enthielten keine Adresse (z. B. Zeile %2: %3).")
                        .arg(rejected.size())
                        .arg(rejected.first().line)
                        .arg(rejected.first().reason);
        MessageLabel->setText(text);
    } catch (const Error& e) {
        blocks_ = before;
        fill();
        MessageLabel->setText(e.message());
    }
}

}  // namespace zw::inbox

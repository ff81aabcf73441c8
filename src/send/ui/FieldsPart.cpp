#include "send/ui/FieldsPart.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>

#include "send/FieldColumns.h"

namespace zw::send {

namespace {

const QStringList kUsualFields = {QStringLiteral("Vorname"), QStringLiteral("Nachname"),
                                  QStringLiteral("Anrede"), QStringLiteral("E-Mail")};

// The last list's path and the time it was written: a new choice or an edited list reads it again.
QString lastListStamp(const QString& workFolder) {
    QFile file(QDir(workFolder).filePath(QLatin1String(kLastListFile)));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString path = QString::fromUtf8(file.readLine()).trimmed();
    return path + u'\n' + QFileInfo(path).lastModified().toString(Qt::ISODateWithMs);
}

}  // namespace

FieldsPart::FieldsPart(QWidget* window, QWidget* fallbackEditor, QString workFolder, QObject* parent)
    : QObject(parent), window_(window), fallbackEditor_(fallbackEditor), workFolder_(std::move(workFolder)) {
    FieldButton = new QToolButton(window);
    FieldButton->setObjectName(QStringLiteral("FieldButton"));
    FieldButton->setText(QStringLiteral("Feld einfügen"));
    FieldButton->setAccessibleName(QStringLiteral("Feld einfügen"));
    FieldButton->setToolTip(QStringLiteral(
        "Setzt ein Feld der Empfängerliste ein, etwa {Vorname}: Jeder Empfänger liest dort "
        "seinen eigenen Wert. {Vorname|liebe Mitglieder} gibt einen Ersatz für leere Zellen."));
    FieldButton->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(FieldButton);
    menu->setObjectName(QStringLiteral("FieldMenu"));
    FieldButton->setMenu(menu);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        refresh();
        menu->clear();
        const QStringList fields = menuFields();
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i == kUsualFields.size())
                menu->addSeparator();
            const QString name = fields[i];
            menu->addAction(u'{' + name + u'}', this, [this, name] { insertField(name); });
        }
    });

    PreviewForBox = new QComboBox(window);
    PreviewForBox->setObjectName(QStringLiteral("PreviewForBox"));
    PreviewForBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    PreviewForLabel = new QLabel(QStringLiteral("Vorschau &für:"), window);
    PreviewForLabel->setBuddy(PreviewForBox);
    PreviewForBox->addItem(QStringLiteral("Beispiel"));
    connect(PreviewForBox, &QComboBox::activated, this, &FieldsPart::previewRecipientChosen);
}

std::optional<FieldValues> FieldsPart::previewValues() const {
    const int index = PreviewForBox->currentIndex() - 1;
    if (index < 0 || index >= list_.recipients.size())
        return std::nullopt;
    return recipientFieldValues(list_.columns, list_.recipients[index]);
}

void FieldsPart::refresh() {
    const QString stamp = lastListStamp(workFolder_);
    if (stamp == listStamp_)
        return;
    listStamp_ = stamp;
    list_ = lastList(workFolder_);
    const QString chosen = PreviewForBox->currentIndex() > 0 ? PreviewForBox->currentText() : QString();
    PreviewForBox->clear();
    PreviewForBox->addItem(QStringLiteral("Beispiel"));
    for (qsizetype i = 0; i < list_.recipients.size() && i < kPreviewRecipients; ++i) {
        const Recipient& r = list_.recipients[i];
        PreviewForBox->addItem(r.name.isEmpty() ? r.address
                                                : QStringLiteral("%1 <%2>").arg(r.name, r.address));
    }
    PreviewForBox->setCurrentIndex(qMax(0, PreviewForBox->findText(chosen)));
}

QStringList FieldsPart::menuFields() const {
    QStringList fields = kUsualFields;
    QStringList keys;
    for (const QString& field : fields) keys.append(fieldKey(field));
    for (const QString& column : list_.columns) {
        const QString key = fieldKey(column);
        if (!column.isEmpty() && !key.isEmpty() && !keys.contains(key)) {
            keys.append(key);
            fields.append(column);
        }
    }
    return fields;
}

void FieldsPart::insertField(const QString& name) {
    const auto editable = [](QWidget* w) {
        if (!w || !w->isEnabled())
            return false;
        if (auto* line = qobject_cast<QLineEdit*>(w))
            return !line->isReadOnly();
        auto* text = qobject_cast<QPlainTextEdit*>(w);
        return text && !text->isReadOnly();
    };
    QWidget* target = QApplication::focusWidget();
    if (!target || !window_->isAncestorOf(target) || !editable(target))
        target = fallbackEditor_;
    if (!editable(target))
        return;
    const QString field = u'{' + name + u'}';
    if (auto* line = qobject_cast<QLineEdit*>(target))
        line->insert(field);
    else
        qobject_cast<QPlainTextEdit*>(target)->insertPlainText(field);
    target->setFocus();
}

}  // namespace zw::send

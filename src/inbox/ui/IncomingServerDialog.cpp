#include "inbox/ui/IncomingServerDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "inbox/IncomingServers.h"
#include "platform/Error.h"
#include "send/ui/ValueLabel.h"

namespace zw::inbox {

using send::Security;

IncomingServerDialog::IncomingServerDialog(QString profilePath, QWidget* parent)
    : QDialog(parent), profilePath_(std::move(profilePath)) {
    setObjectName(QStringLiteral("IncomingServerDialog"));
    setWindowTitle(QStringLiteral("Posteingang einrichten"));
    setMinimumWidth(440);
    auto* layout = new QVBoxLayout(this);
    MessageLabel = send::valueLabel(QStringLiteral("Hinweis"), this);
    layout->addWidget(MessageLabel);
    try {
        profile_ = send::loadProfile(profilePath_);
    } catch (const Error& e) {
        MessageLabel->setText(e.message());
    }
    auto* form = new QFormLayout;
    ServerEdit = new QLineEdit(this);
    PortSpinBox = new QSpinBox(this);
    PortSpinBox->setRange(1, 65535);
    SecurityComboBox = new QComboBox(this);
    SecurityComboBox->addItem(QStringLiteral("SSL/TLS"), int(Security::ImplicitTls));
    SecurityComboBox->addItem(QStringLiteral("STARTTLS"), int(Security::StartTls));
    UserEdit = new QLineEdit(this);
    UserEdit->setPlaceholderText(profile_.user.isEmpty()
                                     ? QStringLiteral("wie beim Versand")
                                     : QStringLiteral("wie beim Versand: %1").arg(profile_.user));
    form->addRow(QStringLiteral("IMAP-&Server:"), ServerEdit);
    form->addRow(QStringLiteral("P&ort:"), PortSpinBox);
    form->addRow(QStringLiteral("&Verschlüsselung:"), SecurityComboBox);
    form->addRow(QStringLiteral("&Benutzername:"), UserEdit);
    layout->addLayout(form);
    auto* note =
        new QLabel(QStringLiteral("Zettelwerk liest den Posteingang nur: Es markiert, verschiebt und "
                                  "löscht nichts. Das Passwort ist das für den Versand, wenn kein anderer "
                                  "Benutzername angegeben ist."),
                   this);
    note->setWordWrap(true);
    layout->addWidget(note);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &IncomingServerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A port the user typed stays; only the other mode's usual port gives way to this one's.
    connect(SecurityComboBox, &QComboBox::activated, this, [this] {
        const auto chosen = Security(SecurityComboBox->currentData().toInt());
        const auto other = chosen == Security::StartTls ? Security::ImplicitTls : Security::StartTls;
        if (PortSpinBox->value() == usualImapPort(other))
            PortSpinBox->setValue(usualImapPort(chosen));
    });

    send::SenderProfile shown = profile_;
    if (shown.imapServer.isEmpty()) {
        if (const auto known = incomingServerForAddress(profile_.address)) {
            shown.imapServer = known->host;
            shown.imapPort = known->port;
            shown.imapSecurity = known->security;
        }
    }
    ServerEdit->setText(shown.imapServer);
    PortSpinBox->setValue(shown.imapPort);
    SecurityComboBox->setCurrentIndex(shown.imapSecurity == Security::StartTls ? 1 : 0);
    UserEdit->setText(shown.imapUser);
}

send::SenderProfile IncomingServerDialog::profile() const {
    send::SenderProfile p = profile_;
    p.imapServer = ServerEdit->text().trimmed();
    p.imapPort = PortSpinBox->value();
    p.imapSecurity = Security(SecurityComboBox->currentData().toInt());
    p.imapUser = UserEdit->text().trimmed();
    return p;
}

void IncomingServerDialog::accept() {
    const send::SenderProfile p = profile();
    if (p.imapServer.isEmpty()) {
        MessageLabel->setText(QStringLiteral("Bitte geben Sie den IMAP-Server Ihres Anbieters an."));
        ServerEdit->setFocus();
        return;
    }
    try {
        send::saveProfile(p, profilePath_);
    } catch (const Error& e) {
        MessageLabel->setText(e.message());
        return;
    }
    QDialog::accept();
}

}  // namespace zw::inbox

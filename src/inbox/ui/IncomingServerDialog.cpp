#include "inbox/ui/IncomingServerDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QThread>
#include <QVBoxLayout>

#include "inbox/ImapSession.h"
#include "inbox/IncomingServers.h"
#include "platform/Error.h"
#include "send/PasswordStore.h"
#include "send/ui/ValueLabel.h"

namespace zw::inbox {

using send::Security;

IncomingServerDialog::IncomingServerDialog(QString profilePath, QWidget* parent, PasswordFor passwordFor,
                                           send::PasswordStore* store)
    : QDialog(parent), profilePath_(std::move(profilePath)), passwordFor_(std::move(passwordFor)), store_(store) {
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
    PasswordEdit = new QLineEdit(this);
    PasswordEdit->setEchoMode(QLineEdit::Password);
    PasswordEdit->setPlaceholderText(store_ ? QStringLiteral("wird im Schlüsselbund des Systems gespeichert")
                                            : QStringLiteral("wird bei jeder Prüfung erfragt"));
    passwordLabel_ = new QLabel(QStringLiteral("Pass&wort:"), this);
    passwordLabel_->setBuddy(PasswordEdit);
    form->addRow(passwordLabel_, PasswordEdit);
    layout->addLayout(form);
    VerifyButton = new QPushButton(QStringLiteral("Verbindung &prüfen"), this);
    VerifyButton->setAccessibleDescription(
        QStringLiteral("Meldet sich an und öffnet den Posteingang nur zum Lesen, ohne etwas zu lesen"));
    auto* verifyRow = new QHBoxLayout;
    verifyRow->addWidget(VerifyButton);
    verifyRow->addStretch();
    layout->addLayout(verifyRow);
    ResultLabel = send::valueLabel(QStringLiteral("Ergebnis"), this);
    ResultLabel->setObjectName(QStringLiteral("ResultLabel"));
    layout->addWidget(ResultLabel);
    connect(VerifyButton, &QPushButton::clicked, this, &IncomingServerDialog::verify);
    connect(UserEdit, &QLineEdit::textChanged, this, &IncomingServerDialog::showOwnLogin);
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
    showOwnLogin();
}

IncomingServerDialog::~IncomingServerDialog() {
    // A check still under way ends on its own; its answer then finds no window.
    if (verifying_)
        verifying_->disconnect(this);
}

bool IncomingServerDialog::ownLogin() const {
    const QString user = UserEdit->text().trimmed();
    return !user.isEmpty() && user != profile_.user;
}

// The password field belongs to a login of its own only; the label goes with it.
void IncomingServerDialog::showOwnLogin() {
    const bool own = ownLogin();
    PasswordEdit->setVisible(own);
    passwordLabel_->setVisible(own);
}

void IncomingServerDialog::verify() {
    if (verifying_)
        return;
    const send::SenderProfile p = profile();
    if (p.imapServer.isEmpty()) {
        ResultLabel->setText(QStringLiteral("Bitte geben Sie den IMAP-Server Ihres Anbieters an."));
        ServerEdit->setFocus();
        return;
    }
    std::optional<QString> password;
    if (ownLogin()) {
        if (PasswordEdit->text().isEmpty()) {
            ResultLabel->setText(QStringLiteral("Bitte geben Sie das Passwort für %1 ein.").arg(p.imapUser));
            PasswordEdit->setFocus();
            return;
        }
        password = PasswordEdit->text();
    } else if (passwordFor_) {
        password = passwordFor_(p);
    }
    if (!password) {
        ResultLabel->setText(QStringLiteral("Ohne Passwort kann die Verbindung nicht geprüft werden."));
        return;
    }
    const ImapAccount account = imapAccount(p, *password);
    VerifyButton->setEnabled(false);
    ResultLabel->setText(QStringLiteral("Die Verbindung wird geprüft …"));
    auto answer = std::make_shared<QString>();
    verifying_ = QThread::create([account, answer] {
        try {
            ImapSession session(account);
            const ImapSession::Mailbox inbox = session.examine();
            const QString count = inbox.exists == 1 ? QStringLiteral("eine Nachricht")
                                                    : QStringLiteral("%1 Nachrichten").arg(inbox.exists);
            *answer = QStringLiteral("Verbindung in Ordnung: Die Anmeldung als %1 bei %2 wurde angenommen, der "
                                     "Posteingang enthält %3. Gelesen wurde nichts.")
                          .arg(account.user, account.host, count);
        } catch (const Error& e) {
            *answer = e.message();
        } catch (const std::bad_alloc&) {
            *answer = QStringLiteral("Für die Prüfung reicht der Arbeitsspeicher nicht aus.");
        }
    });
    connect(verifying_, &QThread::finished, this, [this, answer] {
        VerifyButton->setEnabled(true);
        ResultLabel->setText(*answer);
        Q_EMIT verified();
    });
    connect(verifying_, &QThread::finished, verifying_, &QObject::deleteLater);
    verifying_->start();
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
        if (ownLogin() && store_ && !PasswordEdit->text().isEmpty())
            store_->write(send::passwordAccount(p.imapUser, p.imapServer), PasswordEdit->text());
    } catch (const Error& e) {
        MessageLabel->setText(e.message());
        return;
    }
    QDialog::accept();
}

}  // namespace zw::inbox

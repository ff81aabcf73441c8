#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>
#include <optional>

#include "send/SenderProfile.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QThread;

namespace zw::send {
class PasswordStore;
}

namespace zw::inbox {

// "Posteingang einrichten…": the incoming server of the sender profile, whose inbox the check reads.
// A known provider's server is filled in from the sender's address; the login is the one for
// sending unless another is given, which then has a password field of its own (kept in the secret
// store). "Verbindung prüfen" logs in and opens the inbox read-only (EXAMINE), reading nothing. OK writes
// it into the profile file.
class IncomingServerDialog : public QDialog {
    Q_OBJECT
public:
    using PasswordFor = std::function<std::optional<QString>(const send::SenderProfile&)>;
    // passwordFor: the password of the login for sending; store: where an incoming login's own password
    // goes (none: it is asked for at each check).
    IncomingServerDialog(QString profilePath, QWidget* parent = nullptr, PasswordFor passwordFor = {},
                         send::PasswordStore* store = nullptr);
    ~IncomingServerDialog() override;

    send::SenderProfile profile() const;
    void accept() override;
    // "Verbindung prüfen": off the window's thread; `verified` when the result is shown.
    void verify();

    QLineEdit* PasswordEdit = nullptr;  // shown only for a login of its own
    QPushButton* VerifyButton = nullptr;
    QLabel* ResultLabel = nullptr;

    QLineEdit* ServerEdit = nullptr;
    QSpinBox* PortSpinBox = nullptr;
    QComboBox* SecurityComboBox = nullptr;  // "SSL/TLS", "STARTTLS"
    QLineEdit* UserEdit = nullptr;
    QLabel* MessageLabel = nullptr;

Q_SIGNALS:
    void verified();

private:
    bool ownLogin() const;
    void showOwnLogin();

    QString profilePath_;
    send::SenderProfile profile_;
    PasswordFor passwordFor_;
    send::PasswordStore* store_ = nullptr;
    QPointer<QThread> verifying_;
    QLabel* passwordLabel_ = nullptr;
};

}  // namespace zw::inbox

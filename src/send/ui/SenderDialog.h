#pragma once

#include <QDialog>
#include <QString>

#include "send/SenderProfile.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace zw::send {

class PasswordStore;

// Empty when the profile may be saved as it stands (an empty profile included: no sender set up);
// otherwise the German reason it may not.
QString checkProfile(const SenderProfile& profile);
// The port a kind of security usually goes with: 587, 465, 25.
int usualPort(Security security);

// "Absender und Server…": the sender, the mail server and its password, set up once. A known
// provider's server, port and security are filled in as the address is typed (the user may change
// them), with the provider's one sentence where it needs one. OK puts the password into the desktop's
// secret store and saves the profile file; "Verbindung prüfen" logs in without sending anything.
class SenderDialog : public QDialog {
    Q_OBJECT
public:
    SenderDialog(const SenderProfile& profile, QString profilePath, PasswordStore& store,
                 QWidget* parent = nullptr);
    ~SenderDialog() override;

    // The profile the fields describe now.
    SenderProfile profile() const;
    // The profile as OK saved it.
    const SenderProfile& savedProfile() const { return saved_; }

    void accept() override;
    // "Verbindung prüfen": logs in with the fields' settings off the user-interface thread, then says
    // what happened in ResultLabel.
    void verifyConnection();
    bool verifying() const { return verifying_; }

    QLineEdit* NameEdit = nullptr;
    QLineEdit* AddressEdit = nullptr;
    QLabel* ProviderLabel = nullptr;
    QLineEdit* ServerEdit = nullptr;
    QSpinBox* PortSpinBox = nullptr;
    QComboBox* SecurityComboBox = nullptr;  // "STARTTLS", "SSL/TLS", "keine (nur lokaler Server)"
    QLineEdit* UserEdit = nullptr;
    QLineEdit* PasswordEdit = nullptr;
    QLabel* StoreLabel = nullptr;  // where the password is kept, or that it is asked at each sending
    QSpinBox* RateSpinBox = nullptr;
    QSpinBox* HourSpinBox = nullptr;  // messages per hour, 0 "ohne Grenze"
    QSpinBox* DaySpinBox = nullptr;   // messages per day, 0 "ohne Grenze"
    QLineEdit* CaFileEdit = nullptr;
    QPushButton* CaFileButton = nullptr;
    QCheckBox* OneClickCheckBox = nullptr;
    QPushButton* VerifyButton = nullptr;
    QLabel* ResultLabel = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    // A line below the settings (the server's answer, or why the dialog was opened); the dialog grows
    // to show it whole.
    void showResult(const QString& text);

Q_SIGNALS:
    // The answer of "Verbindung prüfen" is shown.
    void verified();

private:
    void addressEdited(const QString& address);
    void securityChosen(int index);
    void chooseCaFile();
    void showProvider(const QString& address);
    void keepTextsWhole();

    QString profilePath_;
    PasswordStore& store_;
    bool storeAvailable_ = false;
    QString oldAccount_;    // the account the stored password belonged to when the dialog opened
    QString lastAddress_;   // the address before the last edit: the user name follows it while equal
    QString lastProvider_;  // the provider whose settings were filled in last
    bool verifying_ = false;
    SenderProfile saved_;
};

}  // namespace zw::send

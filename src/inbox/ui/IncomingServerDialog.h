#pragma once

#include <QDialog>

#include "send/SenderProfile.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace zw::inbox {

// "Posteingang einrichten…": the incoming server of the sender profile, whose inbox the check reads.
// A known provider's server is filled in from the sender's address; the login is the one for
// sending unless another is given. OK writes it into the profile file.
class IncomingServerDialog : public QDialog {
    Q_OBJECT
public:
    IncomingServerDialog(QString profilePath, QWidget* parent = nullptr);

    send::SenderProfile profile() const;
    void accept() override;

    QLineEdit* ServerEdit = nullptr;
    QSpinBox* PortSpinBox = nullptr;
    QComboBox* SecurityComboBox = nullptr;  // "SSL/TLS", "STARTTLS"
    QLineEdit* UserEdit = nullptr;
    QLabel* MessageLabel = nullptr;

private:
    QString profilePath_;
    send::SenderProfile profile_;
};

}  // namespace zw::inbox

#pragma once

#include <QDialog>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace zw {

// The tip that greets the user at start-up.
class TTipForm : public QDialog {
    Q_OBJECT
public:
    explicit TTipForm(const QString& picturePath, QWidget* parent = nullptr);

    // True when closed with "OK" and the check box ticked.
    bool ask();

    QPlainTextEdit* Memo1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

}  // namespace zw

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

    // True when closed with the check box ticked.
    bool ask();
    // OK is the tip's one way out; Escape counts as OK, so that a ticked box is never lost.
    void reject() override { accept(); }

    QPlainTextEdit* Memo1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QPushButton* BitBtn1 = nullptr;
};

}  // namespace zw

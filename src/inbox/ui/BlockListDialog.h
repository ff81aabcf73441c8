#pragma once

#include <QDialog>

#include "send/BlockList.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace zw::inbox {

// "Sperrliste…": the lasting block list of the working-files folder. Shows every address with its
// reason, date, evidence and campaign; removes the chosen ones, adds one typed address and reads
// addresses from a list file. Every change is written to the file at once.
class BlockListDialog : public QDialog {
    Q_OBJECT
public:
    BlockListDialog(QString workFolder, QWidget* parent = nullptr);

    void addTypedAddress();
    void removeSelected();
    // Reads the addresses of a list file (CSV or text) onto the block list.
    void importFile(const QString& path);

    QTableWidget* Table = nullptr;
    QLineEdit* AddressEdit = nullptr;
    QPushButton* AddButton = nullptr;
    QPushButton* RemoveButton = nullptr;
    QPushButton* ImportButton = nullptr;
    QLabel* CountLabel = nullptr;
    QLabel* MessageLabel = nullptr;  // what the last change did, or why it could not
    QPushButton* CloseButton = nullptr;

private:
    void fill();
    void save();

    QString workFolder_;
    send::BlockList blocks_;
};

}  // namespace zw::inbox

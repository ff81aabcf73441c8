#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

namespace zw {

// One of the maker's other products, as the showcase presents it.
struct WerbungProduct {
    QString name;
    QString text;
    QString pictureFile;  // in the program's "recom" folder
    QString address;
};

// The maker's products shown at exit.
QList<WerbungProduct> werbungProducts();

// The showcase at exit: the maker's other products over the whole screen, on top of other windows.
class TWerbungForm : public QDialog {
    Q_OBJECT
public:
    // recomFolder: the folder of the product pictures, ending in a separator.
    explicit TWerbungForm(const QString& recomFolder, QWidget* parent = nullptr);

    // Shows the showcase; true when it was closed with "Tipp nicht mehr anzeigen!" ticked.
    bool ask();

    QCheckBox* CheckBox1 = nullptr;
    QList<QPushButton*> MoreInfoButtons;
    QPushButton* CloseButton = nullptr;

Q_SIGNALS:
    // "Mehr Infos..." of the product with this address was pressed.
    void moreInfo(const QString& address);
};

}  // namespace zw

#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zw {

// The notice before the serial-mail program starts: where to go in it and which file to open.
class TVentozaForm : public QDialog {
    Q_OBJECT
public:
    // picturePath: the small picture at the top left.
    explicit TVentozaForm(const QString& picturePath, QWidget* parent = nullptr);

    // Shows the notice naming the message file; true for "Weiter".
    bool ask(const QString& messageFileName);

    QLabel* FileLabel = nullptr;
    QPushButton* AbortButton = nullptr;
    QPushButton* OKButton = nullptr;
};

// The notice that the serial-mail program is not installed, with the way to its web page.
class TNoVentozaForm : public QDialog {
    Q_OBJECT
public:
    explicit TNoVentozaForm(const QString& picturePath, QWidget* parent = nullptr);

    // True when the user asks for the web page (the link or the button).
    bool ask();

    QLabel* LinkLabel = nullptr;
    QPushButton* ViewButton = nullptr;
};

}  // namespace zw

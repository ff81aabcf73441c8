#pragma once

#include <QDialog>

#include <functional>

#include "editing/ResizeWidth.h"

class QLineEdit;
class QPushButton;

namespace zw {

// The width question for a block picture: "Bild auf die empfohlene Breite von [XEdit] Pixel ändern?"
// with "Ja" and "Nein". A small tool window in the middle of the screen.
class TResizeForm : public QDialog {
    Q_OBJECT
public:
    explicit TResizeForm(QWidget* parent = nullptr);

    // The width shown when the question opens, and after "Ja" the width to use.
    int ResizeWidth = kRecommendedWidth;
    // Shows the messages about the entered text (the application's error report).
    std::function<void(const QString&)> report;

    QLineEdit* XEdit = nullptr;
    QPushButton* BitBtn1 = nullptr;  // "Ja"
    QPushButton* BitBtn2 = nullptr;  // "Nein"

    // The field shows ResizeWidth.
    void FormActivate();
    // "Ja": a width from 1 to 10 000 is taken and the window closes with OK. Text that is no whole
    // number is reported and the window still closes with OK, keeping the width it opened with; other
    // numbers are reported and the question stays open.
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace zw

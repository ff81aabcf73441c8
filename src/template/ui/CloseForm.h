#pragma once

#include <QDialog>

#include "platform/Prompts.h"

namespace zw {

// The save-changes question: "Ja", "Nein", "Abbrechen". Its close box answers none of the three.
class TCloseForm : public QDialog {
    Q_OBJECT
public:
    explicit TCloseForm(QWidget* parent = nullptr);

    CloseAnswer ask();

private:
    CloseAnswer answer_ = CloseAnswer::Cancel;
    class QPushButton* yes_ = nullptr;
};

}  // namespace zw

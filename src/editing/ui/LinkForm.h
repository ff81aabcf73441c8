#pragma once

#include <QDialog>

#include "platform/Prompts.h"

class QLineEdit;

namespace zw {

// The hyperlink dialog: one field for the address of a link in the news text. It is made once and its
// field is never cleared, so it offers the address typed last time.
class TLinkForm : public QDialog {
    Q_OBJECT
public:
    explicit TLinkForm(QWidget* parent = nullptr);

    // Shows the dialog modally with address in the field.
    Prompts::LinkAnswer ask(const QString& address);

    QLineEdit* LinkEdit = nullptr;
};

}  // namespace zw

#pragma once

#include <QListWidget>

namespace zw {

// The block list. It takes the focus only from a mouse click (Tab skips it), and it tells apart the
// moment it gains the focus (write back the edited block) from the user's choice of an item (show
// that block), which arrive in this order when a click comes from another control.
class BlockListWidget : public QListWidget {
    Q_OBJECT
public:
    explicit BlockListWidget(QWidget* parent = nullptr);

    // The selected row, or -1.
    int selectedRow() const;
    // Selects row, or nothing for -1 or a row out of range.
    void selectRow(int row);

Q_SIGNALS:
    // The list gained the input focus from a click.
    void entered();
    // The user chose an item with the mouse or the keyboard.
    void userSelected();

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A click on an item always selects it, also with Ctrl held (which would otherwise deselect).
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zw

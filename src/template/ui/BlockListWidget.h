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
    // The user moved the selected item to row to: with Alt+arrow or by dragging it there. The list
    // itself does not move it; whoever keeps the blocks in order does, and fills the list afresh.
    void moveRequested(int to);

protected:
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // A click on an item always selects it, also with Ctrl held (which would otherwise deselect).
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
    void keyPressEvent(QKeyEvent* event) override;
    // A drag carries the dragged row under a type of its own: a drop of anything else (or from another
    // list) is no move.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
    // The drag leaves the list as it is: a drop does not take the item away, it asks for the move.
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // The row a drop at pos puts the dragged item in: above the item under it when in its upper half,
    // below it otherwise, the end below the last item. from is the dragged row.
    int dropRow(const QPoint& pos, int from) const;
    bool isOwnDrag(const QMimeData* data) const;
};

// The type of a dragged block: "<process id>:<row>".
inline constexpr char kBlockDragType[] = "application/x-zettelwerk-block";

}  // namespace zw

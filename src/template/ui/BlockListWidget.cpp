#include "template/ui/BlockListWidget.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zw {

BlockListWidget::BlockListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
}

int BlockListWidget::selectedRow() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.first());
}

void BlockListWidget::selectRow(int row) {
    if (row >= 0 && row < count()) {
        setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    } else {
        clearSelection();
        setCurrentRow(-1, QItemSelectionModel::Clear);
    }
}

void BlockListWidget::focusInEvent(QFocusEvent* event) {
    QListWidget::focusInEvent(event);
    // The user comes here with a click or with Tab: the block in the editor is stored first. Coming back
    // to the window, or the program placing the focus, is no edit to commit.
    const Qt::FocusReason reason = event->reason();
    if (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
        Q_EMIT entered();
}

void BlockListWidget::mousePressEvent(QMouseEvent* event) {
    // The focus (and with it the write back) has already arrived before the press is delivered.
    const bool onItem = itemAt(event->position().toPoint()) != nullptr;
    if (!onItem) {
        event->accept();  // a click below the last item keeps the selection, as users expect
        return;
    }
    QListWidget::mousePressEvent(event);
    Q_EMIT userSelected();
}

QItemSelectionModel::SelectionFlags BlockListWidget::selectionCommand(const QModelIndex& index,
                                                                      const QEvent* event) const {
    const QItemSelectionModel::SelectionFlags flags = QListWidget::selectionCommand(index, event);
    if (index.isValid() && (flags & (QItemSelectionModel::Deselect | QItemSelectionModel::Toggle)))
        return QItemSelectionModel::ClearAndSelect;
    return flags;
}

void BlockListWidget::keyPressEvent(QKeyEvent* event) {
    const int before = selectedRow();
    QListWidget::keyPressEvent(event);
    if (selectedRow() != before && selectedRow() >= 0)
        Q_EMIT userSelected();
}

}  // namespace zw

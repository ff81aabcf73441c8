#include "template/ui/BlockListWidget.h"

#include <QCoreApplication>
#include <QDrag>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

namespace zw {

BlockListWidget::BlockListWidget(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::StrongFocus);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    // Not InternalMove: that accepts only drags whose source it can see, and the kind of drag is told
    // by its own type here (isOwnDrag).
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
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
    const bool up = event->key() == Qt::Key_Up;
    if ((up || event->key() == Qt::Key_Down) && event->modifiers() == Qt::AltModifier) {
        event->accept();
        if (selectedRow() >= 0)
            Q_EMIT moveRequested(selectedRow() + (up ? -1 : 1));
        return;
    }
    const int before = selectedRow();
    QListWidget::keyPressEvent(event);
    if (selectedRow() != before && selectedRow() >= 0)
        Q_EMIT userSelected();
}

QStringList BlockListWidget::mimeTypes() const {
    return {QLatin1String(kBlockDragType)};
}

QMimeData* BlockListWidget::mimeData(const QList<QListWidgetItem*>& items) const {
    if (items.isEmpty())
        return nullptr;
    auto* data = new QMimeData;
    data->setData(QLatin1String(kBlockDragType), QByteArray::number(QCoreApplication::applicationPid()) +
                                                     ':' + QByteArray::number(row(items.first())));
    return data;
}

void BlockListWidget::startDrag(Qt::DropActions) {
    QListWidgetItem* item = currentItem();
    if (!item || !item->isSelected())
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(mimeData({item}));
    drag->setPixmap(viewport()->grab(visualItemRect(item)));
    drag->exec(Qt::MoveAction);
}

bool BlockListWidget::isOwnDrag(const QMimeData* data) const {
    const QList<QByteArray> parts =
        data ? data->data(QLatin1String(kBlockDragType)).split(':') : QList<QByteArray>();
    return parts.size() == 2 && parts[0] == QByteArray::number(QCoreApplication::applicationPid()) &&
           parts[1].toInt() == selectedRow();
}

void BlockListWidget::dragEnterEvent(QDragEnterEvent* event) {
    if (isOwnDrag(event->mimeData()))
        QListWidget::dragEnterEvent(event);
    else
        event->ignore();
}

void BlockListWidget::dragMoveEvent(QDragMoveEvent* event) {
    if (isOwnDrag(event->mimeData()))
        QListWidget::dragMoveEvent(event);
    else
        event->ignore();
}

int BlockListWidget::dropRow(const QPoint& pos, int from) const {
    const QModelIndex index = indexAt(pos);
    int row = count();
    if (index.isValid())
        row = pos.y() < visualRect(index).center().y() ? index.row() : index.row() + 1;
    // Taken out of the list first, the dragged item leaves one place free above the rows below it.
    return row > from ? row - 1 : row;
}

void BlockListWidget::dropEvent(QDropEvent* event) {
    // The list never moves its items itself (that would leave the block files behind): the drop only
    // says where the block goes.
    const int from = selectedRow();
    if (!isOwnDrag(event->mimeData()) || from < 0) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    stopAutoScroll();
    setState(NoState);
    viewport()->update();
    const int to = dropRow(event->position().toPoint(), from);
    if (to != from)
        Q_EMIT moveRequested(to);
}

}  // namespace zw

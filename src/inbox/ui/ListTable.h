#pragma once

#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>

namespace zw::inbox {

// A read-only table of whole rows, as the block list and the review show addresses: named for screen
// readers, its columns titled, Tab leaving it rather than walking its cells.
inline QTableWidget* listTable(int rows, const QStringList& columns, const QString& name, QWidget* parent) {
    auto* table = new QTableWidget(rows, int(columns.size()), parent);
    table->setAccessibleName(name);
    table->setHorizontalHeaderLabels(columns);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

}  // namespace zw::inbox

#pragma once

#include <QLabel>
#include <QString>

namespace zw::send {

// A line of text the program fills in (a count, a state, a summary): wrapped, selectable for copying,
// and named for screen readers by what it shows.
inline QLabel* valueLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAccessibleName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace zw::send

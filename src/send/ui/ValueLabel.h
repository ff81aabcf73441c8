#pragma once

#include <QLabel>
#include <QString>

#include "template/ui/ResultLabel.h"

namespace zw::send {

// A line of text the program fills in (a count, a state, a summary): wrapped, selectable for copying,
// and read to screen readers by what it shows, the name as its description.
inline QLabel* valueLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    showsResult(label, name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace zw::send

#include "editing/ui/ResizeForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "template/ui/WindowPlacement.h"

namespace zw {

TResizeForm::TResizeForm(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setObjectName(QStringLiteral("ResizeForm"));
    setWindowTitle(QStringLiteral("Bild"));
    setModal(true);

    auto* question = new QLabel(QStringLiteral("Bild auf die empfohlene Breite von"), this);
    XEdit = new QLineEdit(this);
    XEdit->setObjectName(QStringLiteral("XEdit"));
    XEdit->setMaximumWidth(70);
    XEdit->setAccessibleName(QStringLiteral("Breite in Pixel"));
    question->setBuddy(XEdit);
    auto* unit = new QLabel(QStringLiteral("Pixel ändern?"), this);
    BitBtn1 = new QPushButton(QStringLiteral("Ja"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("Nein"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));

    auto* line = new QHBoxLayout;
    line->addWidget(question);
    line->addWidget(XEdit);
    line->addWidget(unit);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(line);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(BitBtn1, &QPushButton::clicked, this, &TResizeForm::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TResizeForm::FormActivate() {
    XEdit->setText(QString::number(ResizeWidth));
    XEdit->selectAll();
    XEdit->setFocus();
}

void TResizeForm::BitBtn1Click() {
    const WidthEntry entry = readWidthEntry(XEdit->text());
    switch (entry.kind) {
        case WidthEntry::Width:
            ResizeWidth = entry.width;
            accept();
            return;
        case WidthEntry::NoInteger:
            if (report)
                report(noIntegerMessage(XEdit->text()));
            accept();
            return;
        case WidthEntry::OutOfRange:
            if (report)
                report(widthRangeMessage());
            XEdit->selectAll();
            XEdit->setFocus();
            return;
    }
}

void TResizeForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
    centreOnScreen(this);
}

}  // namespace zw

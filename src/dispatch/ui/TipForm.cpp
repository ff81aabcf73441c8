#include "dispatch/ui/TipForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dispatch/ui/HelpWindows.h"
#include "template/ui/WindowPlacement.h"

namespace zw {

namespace {
// Seven lines; the blanks at the ends of lines 1, 2 and 6 are part of the text.
constexpr const char* kTipLines[] = {
    "Verwenden Sie eine der bereits mitgelieferten ",
    "Vorlagen für Ihren Newsletter. Klicken Sie hierzu ",
    "auf den Button \"Vorlage öffnen\".",
    "",
    "",
    "Sie können aber auch Ihre eigenen Firmenköpfe ",
    "und Grafiken verwenden.",
};
}  // namespace

TTipForm::TTipForm(const QString& picturePath, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TipForm"));
    setWindowTitle(QStringLiteral("Tip"));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    QStringList lines;
    for (const char* line : kTipLines) lines.append(QString::fromUtf8(line));
    Memo1 = new QPlainTextEdit(lines.join(u'\n'), this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);  // text to read, not a stop for the keyboard
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setAccessibleName(QStringLiteral("Tipp"));
    // Blends into the window like a label, and shows all seven lines without scrolling.
    Memo1->viewport()->setAutoFillBackground(false);
    Memo1->setStyleSheet(QStringLiteral("QPlainTextEdit { background: transparent; }"));
    const QFontMetrics metrics(Memo1->font());
    int width = 0;
    for (const QString& line : lines) width = qMax(width, metrics.horizontalAdvance(line));
    Memo1->setFixedSize(width + 24, metrics.lineSpacing() * int(lines.size()) + 16);

    CheckBox1 = new QCheckBox(QStringLiteral("Diese Meldung nicht mehr anzeigen"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    top->addWidget(noticePicture(picturePath, this), 0, Qt::AlignTop);
    top->addWidget(Memo1, 0, Qt::AlignTop);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(CheckBox1);
    bottom->addStretch();
    bottom->addWidget(BitBtn1);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addLayout(bottom);
}

bool TTipForm::ask() {
    BitBtn1->setFocus();
    centreOnScreen(this);
    return exec() == QDialog::Accepted && CheckBox1->isChecked();
}

}  // namespace zw

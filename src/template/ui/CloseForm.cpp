#include "template/ui/CloseForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "template/ui/WindowPlacement.h"

namespace zw {

TCloseForm::TCloseForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CloseForm"));
    setWindowTitle(QStringLiteral("Zettelwerk pro"));
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(32, 32));
    auto* text = new QLabel(QStringLiteral("Wollen Sie die Änderungen in dieser Vorlage speichern?"), this);
    text->setWordWrap(false);

    auto* yes = yes_ = new QPushButton(QStringLiteral("Ja"), this);
    auto* no = new QPushButton(QStringLiteral("Nein"), this);
    auto* abort = new QPushButton(QStringLiteral("Abbrechen"), this);
    yes->setObjectName(QStringLiteral("JaButton"));
    no->setObjectName(QStringLiteral("NeinButton"));
    abort->setObjectName(QStringLiteral("AbbrechenButton"));
    yes->setDefault(true);

    const auto answerWith = [this](CloseAnswer answer) {
        return [this, answer] {
            answer_ = answer;
            accept();
        };
    };
    connect(yes, &QPushButton::clicked, this, answerWith(CloseAnswer::Yes));
    connect(no, &QPushButton::clicked, this, answerWith(CloseAnswer::No));
    connect(abort, &QPushButton::clicked, this, answerWith(CloseAnswer::Abort));

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addWidget(text, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(no);
    buttons->addWidget(abort);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addLayout(top);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

CloseAnswer TCloseForm::ask() {
    answer_ = CloseAnswer::Cancel;  // the close box and Esc leave it at that
    centreOnScreen(this);
    // The form is reused: each question starts on "Ja", whatever was pressed last time.
    yes_->setFocus();
    exec();
    return answer_;
}

}  // namespace zw

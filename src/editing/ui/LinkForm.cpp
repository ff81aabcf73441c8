#include "editing/ui/LinkForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "template/ui/WindowPlacement.h"

namespace zw {

namespace {
const QString kCaption = QStringLiteral("Hyperlink in Text einfügen");
// Fictitious example addresses: example.org is kept free for examples.
const QString kWebHint = QStringLiteral("- Benutzen Sie www.example.org für einen Link auf Ihre Seite");
const QString kMailHint = QStringLiteral("- Benutzen Sie mailto:info@example.org für eine Emailadresse");

QLabel* hint(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 128));  // navy
    label->setPalette(palette);
    return label;
}
}  // namespace

TLinkForm::TLinkForm(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("LinkForm"));
    setWindowTitle(kCaption);
    setModal(true);
    // A fixed-size dialog: a title and a close box, nothing to minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* heading = new QLabel(kCaption, this);
    QFont headingFont = heading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.3);
    heading->setFont(headingFont);

    LinkEdit = new QLineEdit(this);
    LinkEdit->setObjectName(QStringLiteral("LinkEdit"));
    LinkEdit->setMinimumWidth(360);
    auto* label = new QLabel(QStringLiteral("Link"), this);
    label->setBuddy(LinkEdit);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    cancel->setObjectName(QStringLiteral("AbbrechenButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(heading);
    layout->addSpacing(6);
    layout->addWidget(hint(kWebHint, this));
    layout->addWidget(hint(kMailHint, this));
    layout->addSpacing(10);
    layout->addWidget(label);
    layout->addWidget(LinkEdit);
    layout->addSpacing(10);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());
}

Prompts::LinkAnswer TLinkForm::ask(const QString& address) {
    LinkEdit->setText(address);
    LinkEdit->selectAll();
    LinkEdit->setFocus();
    centreOnScreen(this);
    const bool ok = exec() == QDialog::Accepted;
    return {ok, LinkEdit->text()};
}

}  // namespace zw

#include "dispatch/ui/VentozaForm.h"

#include "dispatch/ui/HelpWindows.h"
#include "template/ui/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zw {

namespace {

constexpr auto kNavy = "#000080";

QLabel* label(const QString& text, QWidget* parent, bool bold = false, const char* color = nullptr,
              int sizeStep = 0) {
    auto* l = new QLabel(text, parent);
    QFont font = l->font();
    font.setBold(bold);
    if (sizeStep)
        font.setPointSizeF(font.pointSizeF() + sizeStep);
    l->setFont(font);
    if (color)
        l->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(color)));
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

// Picture at the top left, the texts beside it; fixed size, centred on the screen.
QVBoxLayout* pictureAndTexts(QDialog* dialog, const QString& picturePath) {
    auto* outer = new QHBoxLayout(dialog);
    outer->setSizeConstraint(QLayout::SetFixedSize);
    outer->setContentsMargins(16, 16, 16, 16);
    outer->setSpacing(16);
    outer->addWidget(noticePicture(picturePath, dialog), 0, Qt::AlignTop);
    auto* texts = new QVBoxLayout;
    texts->setSpacing(6);
    outer->addLayout(texts);
    return texts;
}

}  // namespace

TVentozaForm::TVentozaForm(const QString& picturePath, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("VentozaForm"));
    setWindowTitle(QStringLiteral("Ventoza Programm wird gestartet"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    QVBoxLayout* texts = pictureAndTexts(this, picturePath);
    texts->addWidget(
        label(QStringLiteral("Ventoza Serienmail-Programm wird gestartet:"), this, true, nullptr, 2));
    texts->addSpacing(6);
    texts->addWidget(label(QStringLiteral("Gehen Sie nun im Ventoza-Programm auf:"), this));
    for (const char* step : {"\"Serien-Email schreiben!\"", "\"HTML-Email\"",
                             "\"Öffnen einer bereits vorhandenen Email-Vorlage\""})
        texts->addWidget(label(QString::fromUtf8(step), this, true, kNavy));
    texts->addSpacing(6);
    texts->addWidget(label(QStringLiteral("und öffnen Sie die Datei:"), this));
    FileLabel = label(QString(), this, true, kNavy);
    FileLabel->setObjectName(QStringLiteral("FileLabel"));
    FileLabel->setTextFormat(Qt::PlainText);  // a file name, never markup
    texts->addWidget(FileLabel);
    texts->addSpacing(10);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    AbortButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    OKButton = new QPushButton(QStringLiteral("Weiter"), this);
    OKButton->setDefault(true);
    buttons->addWidget(AbortButton);
    buttons->addWidget(OKButton);
    texts->addLayout(buttons);
    connect(AbortButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

bool TVentozaForm::ask(const QString& messageFileName) {
    FileLabel->setText(messageFileName);
    FileLabel->setAccessibleName(QStringLiteral("Datei: ") + messageFileName);
    OKButton->setFocus();
    centreOnScreen(this);
    return exec() == QDialog::Accepted;
}

TNoVentozaForm::TNoVentozaForm(const QString& picturePath, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NoVentozaForm"));
    setWindowTitle(QStringLiteral("Ventoza professional"));
    // No title-bar buttons: the way out is the web page, or Escape.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QVBoxLayout* texts = pictureAndTexts(this, picturePath);
    texts->addWidget(label(QStringLiteral("\"Ventoza professional\""), this, true, nullptr, 2));
    texts->addSpacing(6);
    for (const char* text :
         {"Zum versenden von Serienemails mit persönlicher Anrede bieten wir Ihnen unser Zusatzprogramm "
          "\"Ventoza\" an.",
          "Ventoza können Sie kostenlos auf unserer Seite herunterladen und testen!",
          "Drücken Sie auf den Knopf \"Ventoza ansehen\" um auf die Internetseite von Ventoza weitergeleitet "
          "zu "
          "werden."}) {
        QLabel* l = label(QString::fromUtf8(text), this);
        l->setWordWrap(true);
        l->setFixedWidth(360);
        texts->addWidget(l);
    }
    texts->addSpacing(6);
    LinkLabel = new QLabel(QStringLiteral("<a href=\"#\">Ventoza ansehen</a>"), this);
    LinkLabel->setObjectName(QStringLiteral("LinkLabel"));
    LinkLabel->setCursor(Qt::PointingHandCursor);
    LinkLabel->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    LinkLabel->setAccessibleName(QStringLiteral("Ventoza ansehen"));
    connect(LinkLabel, &QLabel::linkActivated, this, &QDialog::accept);

    ViewButton = new QPushButton(QStringLiteral("Ventoza ansehen"), this);
    ViewButton->setDefault(true);
    connect(ViewButton, &QPushButton::clicked, this, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addWidget(LinkLabel);
    row->addStretch();
    row->addWidget(ViewButton);
    texts->addLayout(row);
}

bool TNoVentozaForm::ask() {
    ViewButton->setFocus();
    centreOnScreen(this);
    return exec() == QDialog::Accepted;
}

}  // namespace zw

#include "dispatch/ui/AboutBox.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dispatch/ui/HelpWindows.h"

namespace zw {

namespace {

QLabel* linkLabel(const QString& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("<a href=\"#\">%1</a>").arg(text.toHtmlEscaped()), parent);
    label->setObjectName(QLatin1String(name));
    label->setCursor(Qt::PointingHandCursor);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setAccessibleName(text);
    return label;
}

}  // namespace

QString copyrightNotice(const QString& makerName) {
    return QStringLiteral("Copyright © %1. Alle Rechte vorbehalten.").arg(makerName);
}

TAboutBox::TAboutBox(const AboutTexts& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(texts.productTitle);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Sunken);
    Image1 = noticePicture(texts.picturePath, panel);
    Image1->setFixedSize(Image1->sizeHint());

    ProductName = new QLabel(texts.productTitle, panel);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont big = ProductName->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() + 4);
    ProductName->setFont(big);
    VersionLabel = new QLabel(texts.versionText, panel);
    VersionLabel->setObjectName(QStringLiteral("VersionLabel"));
    Copyright = new QLabel(texts.copyright, panel);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    URLLabel = linkLabel(texts.webText, "URLLabel", panel);
    EmailLabel = linkLabel(texts.mail, "EmailLabel", panel);
    UpdateButton = new QPushButton(QStringLiteral("Update"), panel);
    UpdateButton->setObjectName(QStringLiteral("UpdateButton"));
    UpdateButton->setAccessibleName(QStringLiteral("Update suchen"));
    for (QLabel* l : {ProductName, VersionLabel, Copyright})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* panelLayout = new QHBoxLayout(panel);
    panelLayout->setContentsMargins(12, 12, 12, 12);
    panelLayout->setSpacing(16);
    panelLayout->addWidget(Image1, 0, Qt::AlignTop);
    auto* column = new QVBoxLayout;
    column->addWidget(ProductName);
    column->addWidget(VersionLabel);
    column->addSpacing(12);
    column->addWidget(Copyright);
    column->addWidget(URLLabel);
    column->addWidget(EmailLabel);
    column->addStretch();
    column->addWidget(UpdateButton, 0, Qt::AlignLeft);
    panelLayout->addLayout(column);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(panel);
    layout->addWidget(OKButton, 0, Qt::AlignHCenter);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(UpdateButton, &QPushButton::clicked, this, &TAboutBox::updateClicked);
    connect(URLLabel, &QLabel::linkActivated, this, &TAboutBox::urlClicked);
    connect(EmailLabel, &QLabel::linkActivated, this, &TAboutBox::emailClicked);
}

}  // namespace zw

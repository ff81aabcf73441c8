#include "dispatch/ui/WerbungForm.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "dispatch/ui/HelpWindows.h"

namespace zw {

QList<WerbungProduct> werbungProducts() {
    return {
        {QStringLiteral("Ventoza professional"),
         QStringLiteral("Serienmails mit persönlicher Anrede: Ihr Newsletter aus Zettelwerk geht an jeden "
                        "Empfänger Ihrer Liste, mit Namen begrüßt."),
         QStringLiteral("werbung_ventoza.jpg"), QStringLiteral("https://www.ventoza.example")},
        {QStringLiteral("Etikettwerk"),
         QStringLiteral("Adressetiketten, Namensschilder und Serienbriefe für Verein und Büro drucken, "
                        "passend für alle gängigen Etikettenbögen."),
         QStringLiteral("werbung_etikettwerk.jpg"),
         QStringLiteral("https://www.veltrak.example/etikettwerk")},
        {QStringLiteral("Terminwerk"),
         QStringLiteral("Kurse, Sitzungen und Feste planen, Räume belegen und die Einladungen gleich mit "
                        "verschicken."),
         QStringLiteral("werbung_terminwerk.jpg"), QStringLiteral("https://www.veltrak.example/terminwerk")},
    };
}

TWerbungForm::TWerbungForm(const QString& recomFolder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("WerbungForm"));
    setWindowTitle(QStringLiteral("Top-Produkte von VELTRAK"));
    setWindowFlags(Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, QColor("#2F3E4E"));
    setPalette(pal);

    CheckBox1 = new QCheckBox(QStringLiteral("Tipp nicht mehr anzeigen!"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    auto* heading = new QLabel(QStringLiteral("Top-Produkte von VELTRAK"), this);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 2);
    heading->setFont(big);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(32);
    grid->setVerticalSpacing(10);
    int column = 0;
    for (const WerbungProduct& product : werbungProducts()) {
        auto* picture = noticePicture(recomFolder + product.pictureFile, this);
        picture->setAccessibleName(product.name);
        auto* name = new QLabel(product.name, this);
        QFont bold = name->font();
        bold.setBold(true);
        bold.setPointSizeF(bold.pointSizeF() * 1.3);
        name->setFont(bold);
        auto* text = new QLabel(product.text, this);
        text->setWordWrap(true);
        text->setFixedWidth(260);
        auto* more = new QPushButton(QStringLiteral("Mehr Infos..."), this);
        more->setAccessibleName(QStringLiteral("Mehr Infos zu ") + product.name);
        MoreInfoButtons.append(more);
        connect(more, &QPushButton::clicked, this,
                [this, address = product.address] { Q_EMIT moreInfo(address); });
        grid->addWidget(picture, 0, column, Qt::AlignHCenter | Qt::AlignBottom);
        grid->addWidget(name, 1, column, Qt::AlignHCenter);
        grid->addWidget(text, 2, column, Qt::AlignHCenter | Qt::AlignTop);
        grid->addWidget(more, 3, column, Qt::AlignHCenter);
        ++column;
    }

    // Without a window manager's title bar the close box may be missing; the button always closes.
    CloseButton = new QPushButton(QStringLiteral("Schließen"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setDefault(true);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 24);
    layout->addWidget(CheckBox1, 0, Qt::AlignLeft);
    layout->addStretch(1);
    layout->addWidget(heading, 0, Qt::AlignHCenter);
    layout->addSpacing(24);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addLayout(grid);
    row->addStretch();
    layout->addLayout(row);
    layout->addStretch(2);
    layout->addWidget(CloseButton, 0, Qt::AlignRight);
}

bool TWerbungForm::ask() {
    // The whole screen the program is on, but the task bar, maximised.
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen)
        setGeometry(screen->availableGeometry());
    setWindowState(windowState() | Qt::WindowMaximized);
    exec();
    return CheckBox1->isChecked();
}

}  // namespace zw

// The pages of the main window's tabs: the news, the head and foot lines, the pictures and the colours.
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QStackedWidget>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <tuple>

#include "app/FormWidgets.h"
#include "app/InputGuards.h"
#include "app/fMain.h"
#include "editing/ui/FormattedNewsEdit.h"
#include "editing/ui/NewsTextEdit.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/PicturePane.h"
#include "template/ui/ResultLabel.h"

namespace zw {

using namespace form;

QWidget* TMainForm::buildNewsPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);

    auto* left = new QVBoxLayout;
    NewBitBtn = button(QStringLiteral("Neue Meldung"), "NewBitBtn", page);
    DeleteBitBtn = button(QStringLiteral("Meldung löschen"), "DeleteBitBtn", page);
    UpBitBtn = button(QStringLiteral("Nach oben"), "UpBitBtn", page);
    DownBitBtn = button(QStringLiteral("Nach unten"), "DownBitBtn", page);
    UpBitBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    DownBitBtn->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    UpBitBtn->setToolTip(
        QStringLiteral("Die gewählte Meldung eine Stelle nach oben schieben (Alt+Pfeil hoch)"));
    DownBitBtn->setToolTip(
        QStringLiteral("Die gewählte Meldung eine Stelle nach unten schieben (Alt+Pfeil runter)"));
    auto* order = new QHBoxLayout;
    order->addWidget(UpBitBtn);
    order->addWidget(DownBitBtn);
    ListBox1 = new BlockListWidget(page);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("Newsmeldungen"));
    BitBtn2 = button(QStringLiteral("Bild öffnen"), "BitBtn2", page);
    BitBtn2->setEnabled(false);  // until the picture commands are connected
    BitBtn5 = button(QStringLiteral("kein Bild verwenden"), "BitBtn5", page);
    WebBrowser4 = new PicturePane(page);
    WebBrowser4->setObjectName(QStringLiteral("WebBrowser4"));
    WebBrowser4->setAccessibleName(QStringLiteral("Bild der Newsmeldung"));
    WebBrowser4->setMinimumHeight(120);
    // The picture of the block in the editor: with the editor, it takes no input while no block is selected.
    BlockPicturePanel = new QWidget(page);
    BlockPicturePanel->setObjectName(QStringLiteral("BlockPicturePanel"));
    auto* pictures = new QVBoxLayout(BlockPicturePanel);
    pictures->setContentsMargins(0, 0, 0, 0);
    pictures->addWidget(BitBtn2);
    pictures->addWidget(BitBtn5);
    pictures->addWidget(WebBrowser4, 1);
    left->addWidget(NewBitBtn);
    left->addWidget(DeleteBitBtn);
    left->addLayout(order);
    left->addWidget(ListBox1, 2);
    left->addWidget(BlockPicturePanel, 1);

    EditorPanel = new QWidget(page);
    EditorPanel->setObjectName(QStringLiteral("EditorPanel"));
    auto* editor = new QVBoxLayout(EditorPanel);
    editor->setContentsMargins(0, 0, 0, 0);
    HeadLineEdit = lineEdit("HeadLineEdit", EditorPanel);
    Memo1 = new NewsTextEdit(EditorPanel);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab goes on to the next field: a tab character has no place in a news text.
    Memo1->setTabChangesFocus(true);
    FormattedMemo = new FormattedNewsEdit(EditorPanel);
    FormattedMemo->setObjectName(QStringLiteral("FormattedMemo"));
    // Inside the stack the label is no sibling of the two views, so its buddy gives them no name.
    Memo1->setAccessibleName(QStringLiteral("Text für die Newsmeldung"));
    FormattedMemo->setAccessibleName(QStringLiteral("Text für die Newsmeldung"));
    FormattedMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The two views of the news text; the news text commands choose which one shows.
    NewsTextStack = new QStackedWidget(EditorPanel);
    NewsTextStack->setObjectName(QStringLiteral("NewsTextStack"));
    NewsTextStack->addWidget(Memo1);
    NewsTextStack->addWidget(FormattedMemo);
    LinkTextEdit = lineEdit("LinkTextEdit", EditorPanel);
    URLEdit = lineEdit("URLEdit", EditorPanel);
    editor->addWidget(labelFor(QStringLiteral("Überschrift für die Newsmeldung"), HeadLineEdit));
    editor->addWidget(HeadLineEdit);
    TextToolsLayout = new QHBoxLayout;
    TextToolsLayout->addWidget(labelFor(QStringLiteral("Text für die Newsmeldung"), Memo1));
    TextToolsLayout->addStretch();
    ComboBox1 = new QComboBox(EditorPanel);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setAccessibleName(QStringLiteral("Schriftgröße"));
    ComboBox1->addItem(QStringLiteral("Schriftgröße"));
    for (int size = 1; size <= 7; ++size) ComboBox1->addItem(QStringLiteral("+%1").arg(size));
    acceptListChoicesOnly(ComboBox1);
    TextToolsLayout->addWidget(ComboBox1);
    editor->addLayout(TextToolsLayout);
    editor->addWidget(NewsTextStack, 1);
    editor->addWidget(labelFor(QStringLiteral("Text für den Link unter der Newsmeldung"), LinkTextEdit));
    editor->addWidget(LinkTextEdit);
    editor->addWidget(
        labelFor(QStringLiteral("Internetadresse für den Link (z.B. www.example.org/news)"), URLEdit));
    editor->addWidget(URLEdit);
    // The keyboard walks the editor top to bottom, the size box before the text it works on.
    QWidget::setTabOrder(HeadLineEdit, ComboBox1);
    QWidget::setTabOrder(ComboBox1, Memo1);
    QWidget::setTabOrder(Memo1, FormattedMemo);
    QWidget::setTabOrder(FormattedMemo, LinkTextEdit);
    QWidget::setTabOrder(LinkTextEdit, URLEdit);

    layout->addLayout(left, 1);
    layout->addWidget(EditorPanel, 3);
    return page;
}

QWidget* TMainForm::buildHeaderFooterPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    // First, as it shapes the whole newsletter.
    MobileLayoutCheckBox =
        new QCheckBox(QStringLiteral("Für Smartphones gestalten (mitwachsendes Layout)"), page);
    MobileLayoutCheckBox->setObjectName(QStringLiteral("MobileLayoutCheckBox"));
    auto* head = new QGroupBox(QStringLiteral("Kopfzeile"), page);
    auto* headForm = new QFormLayout(head);
    BetreffEdit = lineEdit("BetreffEdit", head);
    VorschautextEdit = lineEdit("VorschautextEdit", head);
    Titel1Edit = lineEdit("Titel1Edit", head);
    Titel2Edit = lineEdit("Titel2Edit", head);
    DateCheckBox = new QCheckBox(QStringLiteral("Datum Ein/Aus"), head);
    DateCheckBox->setObjectName(QStringLiteral("DateCheckBox"));
    DateEdit = lineEdit("DateEdit", head);
    DateAnzeigeEdit = lineEdit("DateAnzeigeEdit", head);
    headForm->addRow(QStringLiteral("Betreff der Email"), BetreffEdit);
    headForm->addRow(QStringLiteral("Vorschautext (erscheint im Posteingang neben dem Betreff)"),
                     VorschautextEdit);
    headForm->addRow(QStringLiteral("Kopfzeile der Email"), Titel1Edit);
    headForm->addRow(QStringLiteral("zweite Überschrift der Email oder Einleitungstext"), Titel2Edit);
    headForm->addRow(QString(), DateCheckBox);
    headForm->addRow(QStringLiteral("Text vor dem Datum"), DateEdit);
    headForm->addRow(QStringLiteral("Datum"), DateAnzeigeEdit);

    auto* foot = new QGroupBox(QStringLiteral("Fußzeile"), page);
    auto* footForm = new QFormLayout(foot);
    ImpressumEdit = lineEdit("ImpressumEdit", foot);
    ImpressumMailToEdit = lineEdit("ImpressumMailToEdit", foot);
    ImpressumURLEdit = lineEdit("ImpressumURLEdit", foot);
    footForm->addRow(QStringLiteral("Impressum Text (Fußzeile)"), ImpressumEdit);
    footForm->addRow(QStringLiteral("Ihre Email-Adresse (z.B. info@example.org)"), ImpressumMailToEdit);
    footForm->addRow(QStringLiteral("Ihre Homepage URL (z.B. www.example.org)"), ImpressumURLEdit);

    auto* unsubscribe = new QGroupBox(QStringLiteral("Unsubscribe Link (Newsletter abbestellen)"), page);
    auto* unsubscribeForm = new QFormLayout(unsubscribe);
    UnsubScribeTextEdit = lineEdit("UnsubScribeTextEdit", unsubscribe);
    UnsubScribeLinkEdit = lineEdit("UnsubScribeLinkEdit", unsubscribe);
    unsubscribeForm->addRow(QStringLiteral("Text für den Unsubscribe Link"), UnsubScribeTextEdit);
    unsubscribeForm->addRow(QStringLiteral("Link"), UnsubScribeLinkEdit);

    // The fields of the three groups start at one edge.
    int labelWidth = 0;
    for (const QFormLayout* form : {headForm, footForm, unsubscribeForm})
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole))
                labelWidth = std::max(labelWidth, label->sizeHint().width());
    for (const QFormLayout* form : {headForm, footForm, unsubscribeForm})
        for (int row = 0; row < form->rowCount(); ++row)
            if (QLayoutItem* label = form->itemAt(row, QFormLayout::LabelRole); label && label->widget())
                label->widget()->setMinimumWidth(labelWidth);

    HeaderToolsLayout = new QHBoxLayout;
    HeaderToolsLayout->addWidget(MobileLayoutCheckBox);
    HeaderToolsLayout->addStretch();
    layout->addLayout(HeaderToolsLayout);
    layout->addWidget(head);
    layout->addWidget(foot);
    layout->addWidget(unsubscribe);
    layout->addStretch();
    return page;
}

QWidget* TMainForm::buildGraphicsPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    struct Row {
        const char* caption;
        const char* button;
        const char* pane;
        std::array<const char*, 3> radios;
        PicturePane** paneMember;
        std::array<QRadioButton*, 3>* buttons;
    };
    const Row rows[] = {
        {"Kopfgrafik öffnen",
         "OpenKopfBitBtn",
         "WebBrowser1",
         {"Left1RadioButton", "Center1RadioButton", "Right1RadioButton"},
         &WebBrowser1,
         &LogoAlignButtons},
        {"Trenngrafik für News-Blöcke öffnen",
         "Open2BitBtn",
         "WebBrowser2",
         {"Left2RadioButton", "Center2RadioButton", "Right2RadioButton"},
         &WebBrowser2,
         &SeperatorAlignButtons},
        {"Trenngrafik für Impressum öffnen",
         "Open3BitBtn",
         "WebBrowser3",
         {"Left3RadioButton", "Center3RadioButton", "Right3RadioButton"},
         &WebBrowser3,
         &ImpressumAlignButtons},
    };
    const QString captions[] = {QStringLiteral("links"), QStringLiteral("zentriert"),
                                QStringLiteral("rechts")};
    const QString paneNames[] = {QStringLiteral("Kopfgrafik"), QStringLiteral("Trenngrafik für News-Blöcke"),
                                 QStringLiteral("Trenngrafik für Impressum")};
    for (int r = 0; r < 3; ++r) {
        const Row& row = rows[r];
        auto* box = new QFrame(page);
        box->setFrameShape(QFrame::StyledPanel);
        auto* grid = new QGridLayout(box);
        OpenGraphicButtons[r] = button(QString::fromUtf8(row.caption), row.button, box);
        OpenGraphicButtons[r]->setEnabled(false);  // until the picture commands are connected
        auto* align = new QGroupBox(QStringLiteral("Ausrichtung"), box);
        auto* alignLayout = new QHBoxLayout(align);
        for (int i = 0; i < 3; ++i) {
            auto* radio = new QRadioButton(captions[i], align);
            radio->setObjectName(QLatin1String(row.radios[i]));
            radio->setAccessibleName(paneNames[r] + u": "_qs + captions[i]);
            alignLayout->addWidget(radio);
            (*row.buttons)[i] = radio;
            connect(radio, &QRadioButton::clicked, this, &TMainForm::Left1RadioButtonClick);
        }
        auto* pane = new PicturePane(box);
        pane->setObjectName(QLatin1String(row.pane));
        pane->setAccessibleName(paneNames[r]);
        pane->setMinimumHeight(70);
        *row.paneMember = pane;
        grid->addWidget(OpenGraphicButtons[r], 0, 0, Qt::AlignTop);
        grid->addWidget(align, 0, 1);
        grid->addWidget(pane, 1, 0, 1, 3);
        grid->setColumnStretch(2, 1);
        layout->addWidget(box, 1);
    }
    return page;
}

QWidget* TMainForm::buildColoursPage() {
    auto* page = new QWidget;
    auto* pageLayout = new QVBoxLayout(page);
    auto* layout = new QHBoxLayout;
    const std::tuple<QString, const char*, const char*, QFrame**> rows[] = {
        {QStringLiteral("Text Farbe"), "TextcolorButton", "TextColorPanel", &TextColorPanel},
        {QStringLiteral("Link Farbe"), "LinkColorButton", "LinkColorPanel", &LinkColorPanel},
        {QStringLiteral("Hintergrund Farbe"), "BKGColorButton", "BKGColorPanel", &BKGColorPanel},
    };
    int i = 0;
    for (const auto& [caption, buttonName, name, member] : rows) {
        auto* column = new QVBoxLayout;
        ColourButtons[i] = button(caption, buttonName, page);
        ColourButtons[i]->setEnabled(false);  // until the colour commands are connected
        *member = swatch(name, page);
        (*member)->setAccessibleName(caption);
        column->addWidget(ColourButtons[i]);
        column->addWidget(*member);
        column->addStretch();
        layout->addLayout(column);
        ++i;
    }
    layout->addStretch();
    ContrastWarningLabel = new QLabel(page);
    ContrastWarningLabel->setObjectName(QStringLiteral("ContrastWarningLabel"));
    showsResult(ContrastWarningLabel, QStringLiteral("Warnung zum Kontrast"));
    ContrastWarningLabel->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    ContrastWarningLabel->setWordWrap(true);
    ContrastWarningLabel->hide();  // until a pair of colours reads badly
    pageLayout->addLayout(layout);
    pageLayout->addWidget(ContrastWarningLabel);
    pageLayout->addStretch(1);  // the warning right below the swatches
    return page;
}

}  // namespace zw

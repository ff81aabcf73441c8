#include "app/fMain.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <type_traits>

#include "app/ErrorReport.h"
#include "app/InputGuards.h"
#include "app/WindowsInfo.h"
#include "dispatch/HelpPart.h"
#include "dispatch/SerialMailPart.h"
#include "dispatch/ui/PreviewPart.h"
#include "editing/ui/NewsTextEdit.h"
#include "platform/Platform.h"
#include "platform/Prompts.h"
#include "render/HTMLColor.h"
#include "render/RenderMessage.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/SendPart.h"
#include "template/TemplateFiles.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/PicturePane.h"
#include "template/ui/SettingsView.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw {

namespace {

QLineEdit* lineEdit(const char* name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    return edit;
}

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

// A label that names its field, also for screen readers.
QLabel* labelFor(const QString& text, QWidget* field) {
    auto* label = new QLabel(text, field->parentWidget());
    label->setBuddy(field);
    return label;
}

QFrame* swatch(const char* name, QWidget* parent) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(QLatin1String(name));
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Sunken);
    frame->setMinimumSize(120, 60);
    return frame;
}

}  // namespace

TMainForm::TMainForm(Platform& platform, Prompts& prompts, const TWindowsInfo& windowsInfo,
                     const ProductBranding& branding, const QString& startTemplate, QWidget* parent)
    : QMainWindow(parent), platform_(platform), prompts_(prompts), branding_(branding) {
    setObjectName(QStringLiteral("MainForm"));
    session_.folders = Folders::derive(platform.programFolder(), windowsInfo.documentsFolder());

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    // Head band with the program's own picture.
    auto* Panel1 = new QFrame(central);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Sunken);
    Panel1->setFixedHeight(57);
    Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: white; }"));
    Image2 = new QLabel(Panel1);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Image2->setAccessibleName(QStringLiteral("Programmlogo"));
    // The picture is wider than many screens: it is cut at the window's edge rather than widening it.
    Image2->setMinimumWidth(1);
    Image2->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    auto* bandLayout = new QHBoxLayout(Panel1);
    bandLayout->setContentsMargins(1, 1, 1, 1);
    bandLayout->addWidget(Image2);
    layout->addWidget(Panel1);

    PageControl1 = new QTabWidget(central);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->addTab(buildNewsPage(), QStringLiteral("Newsmeldungen"));
    PageControl1->addTab(buildHeaderFooterPage(), QStringLiteral("Kopf u. Fußzeile"));
    PageControl1->addTab(buildGraphicsPage(), QStringLiteral("Grafiken"));
    PageControl1->addTab(buildColoursPage(), QStringLiteral("Farben"));
    PreviewPage = new QWidget;
    PreviewPage->setObjectName(QStringLiteral("PreviewPage"));
    auto* previewLayout = new QVBoxLayout(PreviewPage);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->setSpacing(0);
    PageControl1->addTab(PreviewPage, QStringLiteral("Vorschau"));
    PageControl1->addTab(buildCommandPage(QStringLiteral("Bitte warten...")),
                         QStringLiteral("Einzelmail versenden"));
    PageControl1->addTab(buildCommandPage(QString()), QStringLiteral("Serienmail Programm starten"));
    const QStyle::StandardPixmap tabIcons[] = {
        QStyle::SP_FileDialogContentsView,
        QStyle::SP_FileDialogDetailedView,
        QStyle::SP_DirIcon,
        QStyle::SP_DesktopIcon,
        QStyle::SP_FileDialogInfoView,
        QStyle::SP_ArrowForward,
        QStyle::SP_ComputerIcon,
    };
    for (int i = 0; i < PageControl1->count(); ++i)
        PageControl1->setTabIcon(i, style()->standardIcon(tabIcons[i]));
    PageControl1->setAccessibleName(QStringLiteral("Seiten"));
    PageControl1->tabBar()->setAccessibleName(QStringLiteral("Seiten"));
    layout->addWidget(PageControl1, 1);

    buildMenuAndButtons();
    layout->addWidget(findChild<QWidget*>(QStringLiteral("Panel2")));
    setCentralWidget(central);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);
    resize(810, 533 + menuBar()->sizeHint().height());

    TemplateControls::window = this;

    blockList_ = std::make_unique<BlockListPart>(*this, session_, prompts_, platform_, &HtmlToColor);
    templateFiles_ =
        std::make_unique<TemplateFilesPart>(*this, session_, prompts_, *blockList_, branding_.productTitle,
                                            [this](const QString& target) { renderMessageTo(target); });
    templateFiles_->PageControl1Change = [this] { PageControl1Change(); };
    connectParts();
    connectPreview();
    connectSend();
    connectDispatch();
    connectEditing();
    connectPictures();
    enableCommands();
    FormCreate(startTemplate);
}

TMainForm::~TMainForm() = default;

QWidget* TMainForm::buildNewsPage() {
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);

    auto* left = new QVBoxLayout;
    NewBitBtn = button(QStringLiteral("Neue Meldung"), "NewBitBtn", page);
    DeleteBitBtn = button(QStringLiteral("Meldung löschen"), "DeleteBitBtn", page);
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
    editor->addWidget(Memo1, 1);
    editor->addWidget(labelFor(QStringLiteral("Text für den Link unter der Newsmeldung"), LinkTextEdit));
    editor->addWidget(LinkTextEdit);
    editor->addWidget(
        labelFor(QStringLiteral("Internetadresse für den Link (z.B. www.example.org/news)"), URLEdit));
    editor->addWidget(URLEdit);
    // The keyboard walks the editor top to bottom, the size box before the text it works on.
    QWidget::setTabOrder(HeadLineEdit, ComboBox1);
    QWidget::setTabOrder(ComboBox1, Memo1);
    QWidget::setTabOrder(Memo1, LinkTextEdit);
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

    layout->addWidget(MobileLayoutCheckBox);
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
    ContrastWarningLabel->setAccessibleName(QStringLiteral("Warnung zum Kontrast"));
    ContrastWarningLabel->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    ContrastWarningLabel->setWordWrap(true);
    ContrastWarningLabel->hide();  // until a pair of colours reads badly
    pageLayout->addLayout(layout);
    pageLayout->addWidget(ContrastWarningLabel);
    pageLayout->addStretch(1);  // the warning right below the swatches
    return page;
}

void TMainForm::buildMenuAndButtons() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Datei"));
    NeueVorlage1 = file->addAction(QStringLiteral("Neue Vorlage"));
    Vorlageffnen1 = file->addAction(QStringLiteral("Vorlage öffnen"));
    Vorlageppeichern1 = file->addAction(QStringLiteral("Vorlage speichern"));
    Vorlagespeichernunter1 = file->addAction(QStringLiteral("Vorlage speichern unter"));
    NeueVorlage1->setShortcut(QKeySequence::New);
    Vorlageffnen1->setShortcut(QKeySequence::Open);
    Vorlageppeichern1->setShortcut(QKeySequence::Save);
    Vorlagespeichernunter1->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));

    HilfeMenu = menuBar()->addMenu(QStringLiteral("&Hilfe"));
    Hilfedatei1 = HilfeMenu->addAction(QStringLiteral("Hilfedatei"));
    Update1 = HilfeMenu->addAction(QStringLiteral("Update"));
    Info1 = HilfeMenu->addAction(QStringLiteral("Info"));
    Hilfedatei1->setShortcut(QKeySequence::HelpContents);
    // Help, update and about come with the help part, which enables them.
    for (QAction* action : {Hilfedatei1, Update1, Info1}) action->setEnabled(false);

    auto* Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(41);
    auto* bar = new QHBoxLayout(Panel2);
    bar->setContentsMargins(6, 4, 6, 4);
    BitBtn1 = button(QStringLiteral("Hilfe"), "BitBtn1", Panel2);
    BitBtn3 = button(QStringLiteral("Vorlage öffnen"), "BitBtn3", Panel2);
    BitBtn4 = button(QStringLiteral("Speichern"), "BitBtn4", Panel2);
    SpeichernUnterBitBtn = button(QStringLiteral("Speichern unter"), "SpeichernUnterBitBtn", Panel2);
    StartMailBitBtn = button(QStringLiteral("Einzelmail versenden"), "StartMailBitBtn", Panel2);
    ZusatzProgrammeBitBtn =
        button(QStringLiteral("Serienmail Programm starten"), "ZusatzProgrammeBitBtn", Panel2);
    // The help question mark: the style's own help picture reads as a red cross at this size.
    const std::pair<QPushButton*, QStyle::StandardPixmap> icons[] = {
        {BitBtn1, QStyle::SP_MessageBoxQuestion},   {BitBtn3, QStyle::SP_DialogOpenButton},
        {BitBtn4, QStyle::SP_DialogSaveButton},     {SpeichernUnterBitBtn, QStyle::SP_DriveFDIcon},
        {StartMailBitBtn, QStyle::SP_ArrowForward}, {ZusatzProgrammeBitBtn, QStyle::SP_ComputerIcon},
    };
    for (const auto& [b, icon] : icons) {
        b->setIcon(style()->standardIcon(icon));
        bar->addWidget(b);
    }
    BitBtn1->setEnabled(false);
    bar->addStretch();
}

QWidget* TMainForm::buildCommandPage(const QString& text) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    if (!text.isEmpty()) {
        auto* label = new QLabel(text, page);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }
    return page;
}

void TMainForm::enableCommands() {
    const bool preview = bool(pageCommands.showPreview);
    const bool singleMail = bool(pageCommands.sendSingleMail);
    const bool serialMail = bool(pageCommands.startSerialMail);
    PageControl1->setTabEnabled(kPreviewPage, preview);
    PageControl1->setTabEnabled(kSingleMailPage, singleMail);
    PageControl1->setTabEnabled(kSerialMailPage, serialMail);
    StartMailBitBtn->setEnabled(singleMail);
    ZusatzProgrammeBitBtn->setEnabled(serialMail);
    // The help commands come with the help part, which connects and enables them itself.
}

void TMainForm::connectParts() {
    BlockListPart* blocks = blockList_.get();
    wire(ListBox1, &BlockListWidget::entered, blocks, &BlockListPart::ListBox1Enter);
    wire(ListBox1, &BlockListWidget::userSelected, blocks, &BlockListPart::ListBox1Click);
    wire(NewBitBtn, &QPushButton::clicked, blocks, &BlockListPart::NewBitBtnClick);
    wire(DeleteBitBtn, &QPushButton::clicked, blocks, &BlockListPart::DeleteBitBtnClick);
    wire(BitBtn5, &QPushButton::clicked, blocks, &BlockListPart::BitBtn5Click);

    TemplateFilesPart* files = templateFiles_.get();
    wire(NeueVorlage1, &QAction::triggered, files, &TemplateFilesPart::NeueVorlage1Click);
    wire(Vorlageffnen1, &QAction::triggered, files, &TemplateFilesPart::Vorlageffnen1Click);
    wire(BitBtn3, &QPushButton::clicked, files, &TemplateFilesPart::Vorlageffnen1Click);
    wire(Vorlageppeichern1, &QAction::triggered, files, &TemplateFilesPart::Vorlageppeichern1Click);
    wire(BitBtn4, &QPushButton::clicked, files, &TemplateFilesPart::Vorlageppeichern1Click);
    wire(Vorlagespeichernunter1, &QAction::triggered, files, &TemplateFilesPart::Vorlagespeichernunter1Click);
    wire(SpeichernUnterBitBtn, &QPushButton::clicked, files, &TemplateFilesPart::Vorlagespeichernunter1Click);

    // Only a tab the user selects runs its page; pages selected from code are selected quietly.
    ignoreWheel(PageControl1->tabBar());
    connect(PageControl1, &QTabWidget::currentChanged, this,
            [this] { run([this] { PageControl1Change(); }); });
    connect(StartMailBitBtn, &QPushButton::clicked, this,
            [this] { run([this] { StartMailBitBtnClick(); }); });
    connect(ZusatzProgrammeBitBtn, &QPushButton::clicked, this,
            [this] { run([this] { ZusatzProgrammeBitBtnClick(); }); });

    // Every edit marks the template as changed, also the program's own filling of the fields; loading
    // sets the mark back afterwards. The date display is not part of the template. markChanged is the
    // one change handler of these fields (BetreffEditChange, Titel1EditChange, ... UnsubScribeLinkEditChange
    // and those of the block editor).
    for (QLineEdit* edit : {HeadLineEdit, LinkTextEdit, URLEdit, BetreffEdit, VorschautextEdit, Titel1Edit,
                            Titel2Edit, DateEdit, ImpressumEdit, ImpressumMailToEdit, ImpressumURLEdit,
                            UnsubScribeTextEdit, UnsubScribeLinkEdit})
        connect(edit, &QLineEdit::textChanged, this, &TMainForm::markChanged);
    connect(MobileLayoutCheckBox, &QCheckBox::clicked, this, &TMainForm::markChanged);
}

void TMainForm::FormCreate(const QString& startTemplate) {
    const Folders& folders = session_.folders;
    QPixmap head(folders.program + QStringLiteral("recom/") + branding_.headPictureFile);
    Image2->setPixmap(head);  // a missing head picture leaves the band white
    DateAnzeigeEdit->setText(todayShortDate());
    selectPage(*this, kNewsPage);

    blockList_->clearBlockFiles();
    const StartTemplate start = resolveStartTemplate(folders, startTemplate);
    session_.CurrentTemplatePath = start.currentPath;
    session_.SavePath = start.savePath;
    if (!start.refusal.isEmpty())
        prompts_.error(start.refusal);
    // As the open command remembers what it opened; a file that cannot be written is reported.
    if (!startTemplate.isEmpty() && start.currentPath == startTemplate)
        run([&] { rememberLastFile(folders, startTemplate); });
    takeRevertCopy(folders, session_.CurrentTemplatePath);
    templateFiles_->setCaption();
    run([this] { blockList_->loadCurrentTemplate(); });

    ComboBox1->setCurrentIndex(0);

    copyShippedTemplatesOnce(folders);
    session_.Saved = true;
    // The keyboard starts in the block list (or at "Neue Meldung" when there is no block yet).
    if (ListBox1->count() > 0)
        ListBox1->setFocus(Qt::OtherFocusReason);
    else
        NewBitBtn->setFocus(Qt::OtherFocusReason);
}

void TMainForm::renderMessageTo(const QString& target) {
    RenderMessage(windowRenderInput(), target, prompts_);
}

void TMainForm::renderMessageTo(const QStringList& targets) {
    RenderMessage(windowRenderInput(), targets, prompts_);
}

void TMainForm::commitBlock() {
    blockList_->ListBox1Enter();
}

// The current page is read afresh for each test: at most one command runs, since the single mail and
// the serial mail end on the news page.
void TMainForm::PageControl1Change() {
    if (PageControl1->currentIndex() == kPreviewPage && pageCommands.showPreview)
        pageCommands.showPreview();
    if (PageControl1->currentIndex() == kSingleMailPage)
        singleMailFromPage();
    if (PageControl1->currentIndex() == kSerialMailPage) {
        const auto back = qScopeGuard([this] { selectPage(*this, kNewsPage); });
        if (pageCommands.startSerialMail)
            pageCommands.startSerialMail();
    }
}

void TMainForm::singleMailFromPage() {
    // Painted now, not when the event loop gets to it: from the tab, "Bitte warten..." shows while the
    // mail program starts.
    PageControl1->repaint();
    const auto back = qScopeGuard([this] { selectPage(*this, kNewsPage); });
    if (pageCommands.sendSingleMail)
        pageCommands.sendSingleMail();
}

void TMainForm::StartMailBitBtnClick() {
    singleMailFromPage();
}

void TMainForm::ZusatzProgrammeBitBtnClick() {
    if (pageCommands.startSerialMail)
        pageCommands.startSerialMail();
}

void TMainForm::Left1RadioButtonClick() {
    // Choosing an alignment is no edit to ask about: the template is not marked as changed.
    const std::pair<const std::array<QRadioButton*, 3>&, QByteArray&> groups[] = {
        {LogoAlignButtons, session_.settings.LogoAlign},
        {SeperatorAlignButtons, session_.settings.SeperatorAlign},
        {ImpressumAlignButtons, session_.settings.ImpressumAlign},
    };
    for (const auto& [buttons, setting] : groups)
        for (size_t i = 0; i < buttons.size(); ++i)
            if (buttons[i]->isChecked())
                setting = kAlignWords[i];
}

void TMainForm::closeEvent(QCloseEvent* event) {
    bool mayClose = false;
    // A newsletter being sent is asked about first; it is paused only once the window really closes.
    run([&] { mayClose = send_->campaigns().confirmClose() && templateFiles_->FormCloseQuery(); });
    if (mayClose)
        run([this] {
            send_->campaigns().pauseForClose();
            help_->showShowcaseAtExit();
        });
    if (mayClose)
        event->accept();
    else
        event->ignore();
}

}  // namespace zw

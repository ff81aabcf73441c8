#include "app/fMain.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ErrorReport.h"
#include "app/FormWidgets.h"
#include "app/InputGuards.h"
#include "app/WindowsInfo.h"
#include "dispatch/HelpPart.h"
#include "dispatch/SerialMailPart.h"
#include "dispatch/ui/PreviewPart.h"
#include "editing/SpellChecker.h"
#include "platform/Platform.h"
#include "platform/Prompts.h"
#include "render/HTMLColor.h"
#include "render/RenderMessage.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/FieldsPart.h"
#include "send/ui/SendPart.h"
#include "template/TemplateFiles.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/BlockListWidget.h"
#include "template/ui/PicturePane.h"
#include "template/ui/SettingsView.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw {

using form::button;

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
    wire(UpBitBtn, &QPushButton::clicked, blocks, &BlockListPart::UpBitBtnClick);
    wire(DownBitBtn, &QPushButton::clicked, blocks, &BlockListPart::DownBitBtnClick);
    connect(ListBox1, &BlockListWidget::moveRequested, this,
            [this, blocks](int to) { run([blocks, to] { blocks->moveSelectedBlock(to); }); });
    connect(ListBox1, &QListWidget::itemSelectionChanged, this, &TMainForm::updateMoveButtons);
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

void TMainForm::updateMoveButtons() {
    const int row = ListBox1->selectedRow();
    // With none selected both stay enabled: pressing one says to select a block first.
    UpBitBtn->setEnabled(row != 0);
    DownBitBtn->setEnabled(row < 0 || row < ListBox1->count() - 1);
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

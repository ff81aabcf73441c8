#pragma once

#include <QMainWindow>

#include <functional>
#include <memory>

#include "app/ErrorReport.h"
#include "app/ProductBranding.h"
#include "platform/Launcher.h"
#include "render/RenderInput.h"
#include "template/Session.h"
#include "template/ui/TemplateControls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QHBoxLayout;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStatusBar;
class QTabWidget;

namespace zw {

class BlockListPart;
class BlockListWidget;
class HelpPart;
class SerialMailPart;
class PicturePane;
class Platform;
class PreviewPart;
class SettingsPagesPart;
class TextCommandsPart;
class FormattedNewsEdit;
class NewsViewsPart;
class Prompts;
class TWindowsInfo;
class TemplateFilesPart;
namespace inbox {
class InboxPart;
}
namespace send {
class FieldsPart;
class SendPart;
}  // namespace send

// What the pages "Vorschau", "Einzelmail versenden" and "Serienmail Programm starten" and the command
// buttons hand on to the dispatch parts. A command without a handler stays visible and disabled.
struct PageCommands {
    std::function<void()> showPreview;
    std::function<void()> sendSingleMail;
    std::function<void()> startSerialMail;
};

// The editor window. It owns the controls and the editing state; the parts of the subsystems hold
// the logic and are connected to the controls here.
class SpellChecker;

class TMainForm : public QMainWindow, public TemplateControls {
    Q_OBJECT
public:
    // startTemplate: the template named on the command line, loaded in place of the last one.
    TMainForm(Platform& platform, Prompts& prompts, const TWindowsInfo& windowsInfo,
              const ProductBranding& branding, const QString& startTemplate = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    TemplateSession& session() { return session_; }
    BlockListPart& blockList() { return *blockList_; }
    TemplateFilesPart& templateFiles() { return *templateFiles_; }
    Launcher& launcher() { return launcher_; }
    PreviewPart& preview() { return *preview_; }
    send::SendPart& sendPart() { return *send_; }
    send::FieldsPart& fields() { return *fields_; }
    inbox::InboxPart& inboxPart() { return *inbox_; }

    // The dispatch parts register their commands here; enableCommands() then enables their controls.
    PageCommands pageCommands;
    void enableCommands();

    // The page-change logic: runs when the user selects a tab, and at the end of the open and new
    // template commands.
    void PageControl1Change();
    void StartMailBitBtnClick();
    void ZusatzProgrammeBitBtnClick();
    // The one handler of the nine alignment buttons: every group with a checked button stores its word.
    void Left1RadioButtonClick();

    // The controls of the template pages are the members of TemplateControls, named as the rest of the
    // program knows them (ListBox1, HeadLineEdit, BetreffEdit, ...).
    QLabel* Image2 = nullptr;
    QPushButton* NewBitBtn = nullptr;
    QPushButton* DeleteBitBtn = nullptr;
    QPushButton* UpBitBtn = nullptr;         // "Nach oben"
    QPushButton* DownBitBtn = nullptr;       // "Nach unten"
    QPushButton* BitBtn2 = nullptr;          // "Bild öffnen"
    QPushButton* BitBtn5 = nullptr;          // "kein Bild verwenden"
    QHBoxLayout* TextToolsLayout = nullptr;  // the row of "Text für die Newsmeldung": tool bar, size box
    QComboBox* ComboBox1 = nullptr;
    QHBoxLayout* HeaderToolsLayout = nullptr;    // "Kopf u. Fußzeile", top row: layout switch, field button
    FormattedNewsEdit* FormattedMemo = nullptr;  // the news text as formatting, beside Memo1
    QStackedWidget* NewsTextStack = nullptr;     // shows Memo1 or FormattedMemo
    std::array<QPushButton*, 3> OpenGraphicButtons{};  // OpenKopfBitBtn, Open2BitBtn, Open3BitBtn
    std::array<QPushButton*, 3> ColourButtons{};       // "Text Farbe", "Link Farbe", "Hintergrund Farbe"
    QWidget* PreviewPage = nullptr;                    // page "Vorschau", filled by the preview
    QPushButton* BitBtn1 = nullptr;                    // "Hilfe"
    QPushButton* BitBtn3 = nullptr;                    // "Vorlage öffnen"
    QPushButton* BitBtn4 = nullptr;                    // "Speichern"
    QPushButton* SpeichernUnterBitBtn = nullptr;       // "Speichern unter"
    QPushButton* StartMailBitBtn = nullptr;            // "Einzelmail versenden"
    QPushButton* ZusatzProgrammeBitBtn = nullptr;      // "Serienmail Programm starten"
    QStatusBar* StatusBar1 = nullptr;
    QAction* NeueVorlage1 = nullptr;
    QAction* Vorlageffnen1 = nullptr;
    QAction* Vorlageppeichern1 = nullptr;
    QAction* Vorlagespeichernunter1 = nullptr;
    QMenu* VersandMenu = nullptr;  // between "Datei" and "Hilfe" (fMainSend.cpp)
    QAction* AbsenderundServer1 = nullptr;
    QAction* Testmailanmichsenden1 = nullptr;
    QAction* Newsletterversenden1 = nullptr;
    QAction* Versandberichte1 = nullptr;
    QAction* Sperrliste1 = nullptr;
    QAction* RuecklaeuferundAbmeldungenpruefen1 = nullptr;
    QAction* Posteingangeinrichten1 = nullptr;
    QMenu* HilfeMenu = nullptr;
    QAction* Hilfedatei1 = nullptr;
    QAction* Update1 = nullptr;
    QAction* Info1 = nullptr;

    // The news-text commands, the colours and the date line (fMainEditing.cpp); owned by the window.
    TextCommandsPart* textCommands = nullptr;
    NewsViewsPart* newsViews = nullptr;
    SettingsPagesPart* settingsPages = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    bool restoringWindowState_ = false;
    bool previewWarmUpPlanned_ = false;
    void warmUpPreviewWhenIdle();
    static constexpr int kPreviewWarmUpDelayMs = 400;
    bool resumeOffered_ = false;  // the offer to resume an interrupted sending comes once a run
    QWidget* buildNewsPage();
    QWidget* buildHeaderFooterPage();
    QWidget* buildGraphicsPage();
    QWidget* buildColoursPage();
    QWidget* buildCommandPage(const QString& text);
    void buildMenuAndButtons();
    void connectParts();
    void connectPreview();
    // The menu "Versand" and the sender in the window's renderings (fMainSend.cpp).
    void connectSend();
    void connectFields();
    RenderInput windowRenderInput() const;
    // The serial-mail hand-off, help, about, tip and showcase (fMainDispatch.cpp).
    void connectDispatch();
    // The news-text commands, the colour buttons and the date switch (fMainEditing.cpp).
    void connectEditing();
    // The picture buttons of the news and graphics pages (fMainPictures.cpp).
    void connectPictures();
    // German spell checking of the news text and the prose fields (fMainSpelling.cpp).
    void connectSpelling();
    std::unique_ptr<SpellChecker> spelling_;
    void FormCreate(const QString& startTemplate);
    // The newsletter message of the window's template, written to target (rendered once for several
    // targets, replaced in their order); and the write back of the block in the editor, which every
    // command that hands the newsletter on runs first.
    void renderMessageTo(const QString& target);
    void renderMessageTo(const QStringList& targets);
    void commitBlock();
    // Runs a command behind the application's error report.
    template <typename Command>
    void run(Command&& command) {
        reportErrors(prompts_, std::forward<Command>(command));
    }
    // Connects a control's signal to a part's handler, which runs behind the error report: an error
    // ends the command, the program carries on.
    template <typename Sender, typename Signal, typename Part>
    void wire(Sender* sender, Signal signal, Part* part, void (Part::*handler)()) {
        connect(sender, signal, this,
                [this, part, handler] { run([part, handler] { (part->*handler)(); }); });
    }
    // The single mail as its page and its button run it; the news page is selected afterwards.
    void singleMailFromPage();
    void markChanged() { session_.Saved = false; }
    // "Nach oben" at the first block and "Nach unten" at the last have nowhere to go.
    void updateMoveButtons();

    Platform& platform_;
    Prompts& prompts_;
    ProductBranding branding_;
    Launcher launcher_;
    TemplateSession session_;
    std::unique_ptr<BlockListPart> blockList_;
    std::unique_ptr<TemplateFilesPart> templateFiles_;
    std::unique_ptr<PreviewPart> preview_;
    std::unique_ptr<SerialMailPart> serialMail_;
    std::unique_ptr<HelpPart> help_;
    std::unique_ptr<send::SendPart> send_;
    // The field button and the preview's recipient; previewing_ while the preview renders.
    std::unique_ptr<send::FieldsPart> fields_;
    bool previewing_ = false;
    inbox::InboxPart* inbox_ = nullptr;  // a child of the window
};

}  // namespace zw

#pragma once

#include <QMainWindow>

#include <memory>

#include "app/ProductBranding.h"
#include "template/Session.h"
#include "template/ui/TemplateControls.h"

class QAction;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;

namespace zw {

class BlockListPart;
class BlockListWidget;
class PicturePane;
class Platform;
class Prompts;
class TWindowsInfo;
class TemplateFilesPart;

// The editor window. It owns the controls and the editing state; the parts of the subsystems hold
// the logic and are connected to the controls here.
class TMainForm : public QMainWindow, public TemplateControls {
    Q_OBJECT
public:
    TMainForm(Platform& platform, Prompts& prompts, const TWindowsInfo& windowsInfo,
              const ProductBranding& branding, QWidget* parent = nullptr);
    ~TMainForm() override;

    TemplateSession& session() { return session_; }
    BlockListPart& blockList() { return *blockList_; }
    TemplateFilesPart& templateFiles() { return *templateFiles_; }

    // The controls of the template pages are the members of TemplateControls, named as the rest of the
    // program knows them (ListBox1, HeadLineEdit, BetreffEdit, ...).
    QLabel* Image2 = nullptr;
    QPushButton* NewBitBtn = nullptr;
    QPushButton* DeleteBitBtn = nullptr;
    QPushButton* BitBtn5 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QPushButton* BitBtn3 = nullptr;               // "Vorlage öffnen"
    QPushButton* BitBtn4 = nullptr;               // "Speichern"
    QPushButton* SpeichernUnterBitBtn = nullptr;  // "Speichern unter"
    QAction* NeueVorlage1 = nullptr;
    QAction* Vorlageffnen1 = nullptr;
    QAction* Vorlageppeichern1 = nullptr;
    QAction* Vorlagespeichernunter1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* buildNewsPage();
    QWidget* buildHeaderFooterPage();
    QWidget* buildGraphicsPage();
    QWidget* buildColoursPage();
    void buildMenuAndButtons();
    void connectParts();
    void FormCreate();
    // Runs a command behind the application's error report.
    template <typename Command>
    void run(Command&& command);
    void markChanged() { session_.Saved = false; }

    Platform& platform_;
    Prompts& prompts_;
    ProductBranding branding_;
    TemplateSession session_;
    std::unique_ptr<BlockListPart> blockList_;
    std::unique_ptr<TemplateFilesPart> templateFiles_;
};

}  // namespace zw

// The window's side of the news-text commands, the colours and the date line: their parts are made
// and connected here.
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "app/fMain.h"
#include "editing/ui/SettingsPagesPart.h"
#include "editing/ui/TextCommandsPart.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw {

void TMainForm::connectEditing() {
    // Each handler runs behind the error report, as every command of the window does.
    const auto runner = [this](auto* part, auto handler) {
        return [this, part, handler] { run([part, handler] { (part->*handler)(); }); };
    };

    textCommands = new TextCommandsPart(Memo1, ComboBox1, EditorPanel, session_, prompts_, this);
    TextCommandsPart* text = textCommands;
    text->runCommand = [this](const std::function<void()>& command) { run(command); };
    // The tool bar goes between the label of the news text and the size box.
    TextToolsLayout->insertWidget(TextToolsLayout->indexOf(ComboBox1), text->ToolBar1);
    connect(text->ToolButton1, &QToolButton::clicked, this,
            runner(text, &TextCommandsPart::ToolButton1Click));
    connect(text->ToolButton2, &QToolButton::clicked, this,
            runner(text, &TextCommandsPart::ToolButton2Click));
    connect(text->ToolButton3, &QToolButton::clicked, this,
            runner(text, &TextCommandsPart::ToolButton3Click));
    connect(text->ToolButton4, &QToolButton::clicked, this,
            runner(text, &TextCommandsPart::ToolButton4Click));
    connect(text->ToolButton5, &QToolButton::clicked, this,
            runner(text, &TextCommandsPart::ToolButton5Click));
    connect(text->BackToolButton, &QToolButton::clicked, this,
            runner(text, &TextCommandsPart::BackToolButtonClick));
    connect(ComboBox1, &QComboBox::activated, this,
            [this, text](int index) { run([text, index] { text->ComboBox1Change(index); }); });
    connect(Memo1, &QPlainTextEdit::textChanged, this, runner(text, &TextCommandsPart::Memo1Change));

    // The template commands reset the history through hooks, so that they need not know the editing
    // library.
    blockList_->ResetUndoHistory = [text](bool loadingBlock) {
        text->ResetUndoHistory();
        if (loadingBlock)
            text->history().UndoRecording = true;
    };
    templateFiles_->ResetUndoHistory = [text] { text->ResetUndoHistory(); };

    settingsPages = new SettingsPagesPart(*this, session_, prompts_, this);
    SettingsPagesPart* pages = settingsPages;
    const std::pair<QPushButton*, void (SettingsPagesPart::*)()> colourButtons[] = {
        {ColourButtons[0], &SettingsPagesPart::TextcolorButtonClick},
        {ColourButtons[1], &SettingsPagesPart::LinkColorButtonClick},
        {ColourButtons[2], &SettingsPagesPart::BKGColorButtonClick},
    };
    for (const auto& [button, handler] : colourButtons) {
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, runner(pages, handler));
    }
    for (QFrame* swatch : {TextColorPanel, LinkColorPanel, BKGColorPanel}) {
        swatch->setFrameShape(QFrame::Panel);
        swatch->setFrameShadow(QFrame::Sunken);
    }
    connect(DateCheckBox, &QCheckBox::clicked, this, runner(pages, &SettingsPagesPart::DateCheckBoxClick));
}

}  // namespace zw

// The window's side of the news-text commands, the colours and the date line: their parts are made
// and connected here.
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QToolBar>
#include <QToolButton>

#include "app/fMain.h"
#include "editing/ui/NewsViewsPart.h"
#include "editing/ui/SettingsPagesPart.h"
#include "send/ui/FieldsPart.h"
#include "editing/ui/TextCommandsPart.h"
#include "template/ui/BlockListPart.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw {

void TMainForm::connectEditing() {
    textCommands = new TextCommandsPart(Memo1, ComboBox1, EditorPanel, session_, prompts_, this);
    TextCommandsPart* text = textCommands;
    text->runCommand = [this](const std::function<void()>& command) { run(command); };
    // The tool bar goes between the label of the news text and the size box.
    TextToolsLayout->insertWidget(TextToolsLayout->indexOf(ComboBox1), text->ToolBar1);
    const std::pair<QToolButton*, void (TextCommandsPart::*)()> toolButtons[] = {
        {text->ToolButton1, &TextCommandsPart::ToolButton1Click},
        {text->ToolButton2, &TextCommandsPart::ToolButton2Click},
        {text->ToolButton3, &TextCommandsPart::ToolButton3Click},
        {text->ToolButton4, &TextCommandsPart::ToolButton4Click},
        {text->ToolButton5, &TextCommandsPart::ToolButton5Click},
        {text->BackToolButton, &TextCommandsPart::BackToolButtonClick},
    };
    for (const auto& [button, handler] : toolButtons) wire(button, &QToolButton::clicked, text, handler);
    connect(ComboBox1, &QComboBox::activated, this,
            [this, text](int index) { run([text, index] { text->ComboBox1Change(index); }); });
    wire(Memo1, &QPlainTextEdit::textChanged, text, &TextCommandsPart::Memo1Change);

    // The template commands reset the history through hooks, so that they need not know the editing
    // library.
    newsViews = new NewsViewsPart(Memo1, FormattedMemo, NewsTextStack, session_.folders.program, EditorPanel);
    newsViews->linkColour = [this] { return LinkColorPanel->palette().color(QPalette::Window); };
    // The view buttons stand before the tool bar, the note above the text.
    TextToolsLayout->insertWidget(TextToolsLayout->indexOf(text->ToolBar1), newsViews->HtmlButton);
    TextToolsLayout->insertWidget(TextToolsLayout->indexOf(newsViews->HtmlButton), newsViews->FormattedButton);
    if (auto* editor = qobject_cast<QBoxLayout*>(EditorPanel->layout()))
        editor->insertWidget(editor->indexOf(NewsTextStack), newsViews->HtmlOnlyNote);
    text->attachFormattedView(FormattedMemo, newsViews);
    // The whole tool bar stays in view beside the two view buttons, none of it behind an overflow arrow.
    text->ToolBar1->setMinimumWidth(text->ToolBar1->sizeHint().width());
    // Tab walks the row above the news text as it stands, left to right, then the text itself.
    QWidget* const row[] = {HeadLineEdit,        newsViews->FormattedButton, newsViews->HtmlButton,
                            text->ToolButton1,   text->ToolButton2,          text->ToolButton3,
                            text->ToolButton4,   text->ToolButton5,          text->BackToolButton,
                            ComboBox1,           fields_->FieldButton,       Memo1};
    for (size_t k = 0; k + 1 < std::size(row); ++k)
        QWidget::setTabOrder(row[k], row[k + 1]);

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
        wire(button, &QPushButton::clicked, pages, handler);
    }
    wire(DateCheckBox, &QCheckBox::clicked, pages, &SettingsPagesPart::DateCheckBoxClick);
}

}  // namespace zw

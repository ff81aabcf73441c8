// The menu "Versand": the sender and server, the test mail, sending to a list and the campaigns'
// reports; and the sender that the window's renderings name.
#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QToolButton>

#include "app/WindowRender.h"
#include "app/fMain.h"
#include "dispatch/InboxLine.h"
#include "dispatch/ui/PreviewPart.h"
#include "inbox/ui/InboxPart.h"
#include "platform/Text.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/FieldsPart.h"
#include "send/ui/SendPart.h"

namespace zw {

void TMainForm::connectSend() {
    VersandMenu = new QMenu(QStringLiteral("&Versand"), this);
    menuBar()->insertMenu(HilfeMenu->menuAction(), VersandMenu);
    AbsenderundServer1 = VersandMenu->addAction(QStringLiteral("&Absender und Server…"));
    Testmailanmichsenden1 = VersandMenu->addAction(QStringLiteral("&Testmail an mich senden"));
    VersandMenu->addSeparator();
    Newsletterversenden1 = VersandMenu->addAction(QStringLiteral("&Newsletter versenden…"));
    Versandberichte1 = VersandMenu->addAction(QStringLiteral("Versand&berichte…"));
    VersandMenu->addSeparator();
    Sperrliste1 = VersandMenu->addAction(QStringLiteral("&Sperrliste…"));
    RuecklaeuferundAbmeldungenpruefen1 =
        VersandMenu->addAction(QStringLiteral("&Rückläufer und Abmeldungen prüfen…"));
    Posteingangeinrichten1 = VersandMenu->addAction(QStringLiteral("&Posteingang einrichten…"));

    send_ = std::make_unique<send::SendPart>(
        this, session_.folders.program, prompts_, launcher_, [this] { commitBlock(); },
        [this] { return windowRenderInput(); });
    send::SendPart* part = send_.get();
    part->runCommand = [this](const std::function<void()>& command) { run(command); };
    part->campaigns().runCommand = part->runCommand;
    wire(AbsenderundServer1, &QAction::triggered, part, &send::SendPart::AbsenderundServer1Click);
    wire(Testmailanmichsenden1, &QAction::triggered, part, &send::SendPart::Testmailanmichsenden1Click);
    wire(Newsletterversenden1, &QAction::triggered, part, &send::SendPart::Newsletterversenden1Click);
    wire(Versandberichte1, &QAction::triggered, part, &send::SendPart::Versandberichte1Click);

    inbox_ = new inbox::InboxPart(
        this, session_.folders.program, prompts_,
        [part](const send::SenderProfile& p) { return part->passwordFor(p); }, this);
    wire(Sperrliste1, &QAction::triggered, inbox_, &inbox::InboxPart::Sperrliste1Click);
    wire(RuecklaeuferundAbmeldungenpruefen1, &QAction::triggered, inbox_,
         &inbox::InboxPart::RuecklaeuferundAbmeldungenpruefen1Click);
    wire(Posteingangeinrichten1, &QAction::triggered, inbox_, &inbox::InboxPart::Posteingangeinrichten1Click);

    // A single mail that no mail program on this desktop would open as a new message offers the test
    // mail instead.
    preview_->sendTestMail = [part] { part->Testmailanmichsenden1Click(); };
    // The inbox line above the preview names the sender set up for sending, else the imprint.
    preview_->inboxSender = [this] {
        const RenderInput input = windowRenderInput();
        return inboxSenderName(input.senderName, input.senderAddress, fromStored(input.impressumText),
                               fromStored(input.impressumMailTo));
    };
    connectFields();
}

// "Feld einfügen" on the two pages with text fields: beside the news text's tools, and at the top of
// "Kopf u. Fußzeile" (subject, header lines, preview text, date text, imprint, unsubscribe text). Each
// puts the field where the user wrote last on its page. "Vorschau für:" stands above the preview. Only
// the preview shows a recipient's values; the single mail and the test mail show the sample.
void TMainForm::connectFields() {
    fields_ = std::make_unique<send::FieldsPart>(this, Memo1, session_.folders.program);
    TextToolsLayout->insertWidget(TextToolsLayout->indexOf(ComboBox1) + 1, fields_->FieldButton);
    QToolButton* headerFields = fields_->addFieldButton(BetreffEdit);
    headerFields->setObjectName(QStringLiteral("HeaderFieldButton"));
    HeaderToolsLayout->addWidget(headerFields);
    // For the keyboard after the page's last field: the field goes where the user wrote last anyway.
    QWidget::setTabOrder(UnsubScribeLinkEdit, headerFields);
    // The date shown is today's, never stored: a field there would be lost.
    fields_->excludeFromFields(DateAnzeigeEdit);
    auto* row = new QHBoxLayout;
    row->addWidget(fields_->PreviewForLabel);
    row->addWidget(fields_->PreviewForBox);
    row->addWidget(fields_->ListNoteLabel, 1);
    row->addStretch();
    static_cast<QBoxLayout*>(PreviewPage->layout())->insertLayout(0, row);
    const std::function<void()> show = pageCommands.showPreview;
    if (!show)
        return;
    pageCommands.showPreview = [this, show] {
        fields_->refresh();
        previewing_ = true;
        const auto done = qScopeGuard([this] { previewing_ = false; });
        show();
    };
    connect(fields_.get(), &send::FieldsPart::previewRecipientChosen, this,
            [this] { run([this] { pageCommands.showPreview(); }); });
}

RenderInput TMainForm::windowRenderInput() const {
    RenderInput input = renderInputFromWindow(*this, session_);
    if (send_)
        send_->addSender(input);
    if (previewing_ && fields_)
        input.fieldValues = fields_->previewValues();
    return input;
}

}  // namespace zw

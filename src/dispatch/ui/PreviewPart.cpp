#include "dispatch/ui/PreviewPart.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <cmath>

#include "dispatch/HelpTexts.h"
#include "dispatch/InboxLine.h"
#include "dispatch/MailProgram.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "platform/Text.h"
#include "template/ui/WaitCursor.h"

namespace zw {

namespace {

QLabel* namedLabel(const char* name, const QString& accessibleName, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setAccessibleName(accessibleName);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

}  // namespace

PreviewPart::PreviewPart(QWidget* page, const Folders& folders, Prompts& prompts, Launcher& launcher,
                         Commit commit, Render render, QObject* parent)
    : QObject(parent),
      folders_(folders),
      prompts_(prompts),
      launcher_(launcher),
      commit_(std::move(commit)),
      render_(std::move(render)) {
    auto* layout = qobject_cast<QVBoxLayout*>(page->layout());
    if (!layout) {
        layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);
    }

    // The slim bar: the width of the screen it is read on, its size, and the plain-text rendering.
    auto* bar = new QWidget(page);
    bar->setObjectName(QStringLiteral("PreviewBar"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(6, 2, 6, 2);
    DesktopRadioButton = new QRadioButton(QStringLiteral("Desktop"), bar);
    DesktopRadioButton->setObjectName(QStringLiteral("DesktopRadioButton"));
    DesktopRadioButton->setToolTip(QStringLiteral("Die Nachricht in der Breite der Seite"));
    DesktopRadioButton->setChecked(true);
    SmartphoneRadioButton = new QRadioButton(QStringLiteral("Smartphone"), bar);
    SmartphoneRadioButton->setObjectName(QStringLiteral("SmartphoneRadioButton"));
    SmartphoneRadioButton->setToolTip(
        QStringLiteral("Die Nachricht wie auf einem Smartphone, %1 Pixel breit: im mitwachsenden Layout auf "
                       "100 %, sonst als Ganzes verkleinert, wenn sie breiter ist")
            .arg(kSmartphoneWidth));
    auto* widths = new QButtonGroup(bar);
    widths->addButton(DesktopRadioButton);
    widths->addButton(SmartphoneRadioButton);
    ScaleLabel = namedLabel("ScaleLabel", QStringLiteral("Verkleinerung"), bar);
    SizeLabel = namedLabel("SizeLabel", QStringLiteral("Größe der Nachricht"), bar);
    ClipWarningLabel = namedLabel("ClipWarningLabel", QStringLiteral("Warnung zur Größe"), bar);
    ClipWarningLabel->setStyleSheet(QStringLiteral("color: #b00000; font-weight: bold;"));
    ClipWarningLabel->setWordWrap(true);
    PlainTextCheckBox = new QCheckBox(QStringLiteral("Nur-Text-Fassung"), bar);
    PlainTextCheckBox->setObjectName(QStringLiteral("PlainTextCheckBox"));
    PlainTextCheckBox->setToolTip(
        QStringLiteral("Zeigt den Textteil der Nachricht, wie ihn ein Mailprogramm ohne HTML anzeigt"));
    barLayout->addWidget(DesktopRadioButton);
    barLayout->addWidget(SmartphoneRadioButton);
    barLayout->addWidget(ScaleLabel);
    barLayout->addSpacing(12);
    barLayout->addWidget(SizeLabel);
    barLayout->addSpacing(12);
    barLayout->addWidget(ClipWarningLabel, 1);
    barLayout->addWidget(PlainTextCheckBox);
    layout->addWidget(bar);

    // As an inbox lists the message: the sender in bold, the subject, the first words in grey.
    InboxLineLabel = namedLabel("InboxLineLabel", QStringLiteral("Im Posteingang"), page);
    InboxLineLabel->setTextFormat(Qt::RichText);
    InboxLineLabel->setToolTip(QStringLiteral("So erscheint die Nachricht im Posteingang des Empfängers"));
    InboxLineLabel->setStyleSheet(
        QStringLiteral("#InboxLineLabel { background: #f4f6f8; border-top: 1px solid #d0d4d8; "
                       "border-bottom: 1px solid #d0d4d8; padding: 4px 8px; }"));
    // One line, cut at the page's edge: a long subject never widens the window.
    InboxLineLabel->setMinimumWidth(1);
    InboxLineLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    InboxLineLabel->hide();
    layout->addWidget(InboxLineLabel);

    // The view fills the rest of the page; at a phone's width it stands in the middle, the message
    // scaled down to that width as a phone's mail app shows it.
    viewArea_ = new QWidget(page);
    auto* areaLayout = new QHBoxLayout(viewArea_);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    ViewStack = new QStackedWidget(viewArea_);
    ViewStack->setObjectName(QStringLiteral("ViewStack"));
    placeholder_ = new QWidget(ViewStack);
    PlainTextView = new QPlainTextEdit(ViewStack);
    PlainTextView->setObjectName(QStringLiteral("PlainTextView"));
    PlainTextView->setAccessibleName(QStringLiteral("Textteil der Nachricht"));
    PlainTextView->setReadOnly(true);
    PlainTextView->setLineWrapMode(QPlainTextEdit::NoWrap);
    PlainTextView->setPlaceholderText(QStringLiteral("Die Nachricht enthält keinen lesbaren Textteil."));
    PlainTextView->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    FaultLabel = namedLabel("FaultLabel", QStringLiteral("Meldung der Vorschau"), ViewStack);
    FaultLabel->setWordWrap(true);
    FaultLabel->setAlignment(Qt::AlignCenter);
    FaultLabel->setMargin(24);
    ViewStack->addWidget(placeholder_);
    ViewStack->addWidget(PlainTextView);
    ViewStack->addWidget(FaultLabel);
    areaLayout->addWidget(ViewStack);
    layout->addWidget(viewArea_, 1);

    connect(widths, &QButtonGroup::buttonToggled, this, [this] { applyMode(); });
    connect(PlainTextCheckBox, &QCheckBox::toggled, this, [this] { applyMode(); });
}

PreviewPart::~PreviewPart() {
    if (waitingForEngine_)
        QGuiApplication::restoreOverrideCursor();
}

QString PreviewPart::previewPath(int number) const {
    return folders_.program + QStringLiteral("preview%1.eml").arg(number);
}

void PreviewPart::ShowPreview() {
    WaitCursor wait;
    commit_();
    // Both files get the latest rendering, "preview1.eml" replaced before "preview2.eml". One rendering
    // written to both in one pass leaves what two renderings in a row leave (the same bytes in both, the
    // working files of a rendering) and encodes the pictures once instead of twice.
    render_({previewPath(1), previewPath(2)});
    phoneLayoutShown_ = phoneLayout && phoneLayout();
    ++PreviewCounter;
    // Always the file the view did not show last; it is read now and served from memory.
    showFile(previewPath(PreviewCounter), QStringLiteral("preview%1").arg(PreviewCounter));
    if (PreviewCounter == 2)
        PreviewCounter = 0;
}

void PreviewPart::SendSingleMail() {
    commit_();
    const QString path = previewPath(1);
    render_({path});
    // A desktop without a mail program for message files, or with one that would only show or import
    // it, is said so before anything is started: nothing would open the message to send.
    const MailProgram program = desktopMailProgram();
    if (!program.opensAsNewMessage) {
        const QString notice = singleMailNotice(program, path, bool(sendTestMail));
        if (!sendTestMail)
            prompts_.information(notice);
        else if (prompts_.offerTestMail(notice))
            sendTestMail();
        return;
    }
    // The outcome comes later (the mail program may take its time); the window goes on meanwhile.
    launcher_.open(path, [this, alive = QPointer<PreviewPart>(this)](bool started) {
        if (alive && !started)
            prompts_.plainMessage(kSingleMailFailure);
    });
}

void PreviewPart::showFile(const QString& path, const QString& previewName) {
    std::shared_ptr<const PreviewMessage> message;
    try {
        const QByteArray bytes = readFile(path);
        // The same message as the view shows: nothing to read, nothing to load again.
        if (shown_ && !showingFault_ && shown_->source == bytes) {
            showInboxLine(shown_.get());
            applyMode();  // the template's layout may have changed all the same
            return;
        }
        message =
            std::make_shared<const PreviewMessage>(parsePreviewMessage(bytes, QFileInfo(path).fileName()));
    } catch (const Error& e) {
        // Said in the page itself: the preview has nothing to show, which is no failed command.
        FaultLabel->setText(e.message());
        SizeLabel->clear();
        ClipWarningLabel->clear();
        showingFault_ = true;
        shown_.reset();
        showInboxLine(nullptr);
        applyMode();
        return;
    }
    showingFault_ = false;
    ensureView();
    view_->showMessage(message, previewName);
    shown_ = message;
    showInboxLine(message.get());
    SizeLabel->setText(sizeSummary(*message));
    if (ownView_ && !engineReady_ && !waitingForEngine_) {
        // The web engine is still starting: the page comes later than the click, and says so meanwhile.
        waitingForEngine_ = true;
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        SizeLabel->setText(QStringLiteral("Vorschau wird erstellt…"));
    }
    ClipWarningLabel->setText(sizeWarning(*message));
    PlainTextView->setPlainText(
        decodeWindows1252(message->plainText).replace(QStringLiteral("\r\n"), u"\n"_qs));
    applyMode();
}

void PreviewPart::showInboxLine(const PreviewMessage* message) {
    if (!message) {
        InboxLineLabel->clear();
        InboxLineLabel->setAccessibleDescription({});
        InboxLineLabel->hide();
        return;
    }
    const InboxLine line = inboxLine(*message, inboxSender ? inboxSender() : QString());
    QString html = QStringLiteral("<b>%1</b>&nbsp;&nbsp; %2")
                       .arg(line.sender.toHtmlEscaped(), line.subject.toHtmlEscaped());
    if (!line.snippet.isEmpty())
        html +=
            QStringLiteral(" <span style=\"color:#6b7075\">– %1</span>").arg(line.snippet.toHtmlEscaped());
    InboxLineLabel->setText(html);
    InboxLineLabel->setAccessibleDescription(line.text());
    InboxLineLabel->show();
}

void PreviewPart::warmUp() {
    if (!ownView_ || view_)
        return;
    ensureView();
    view_->warmUp();
}

void PreviewPart::ensureView() {
    if (view_)
        return;
    view_ = viewFactory_();
    view_->onLoaded = [this](bool) {
        engineReady_ = true;
        if (!waitingForEngine_)
            return;
        waitingForEngine_ = false;
        QGuiApplication::restoreOverrideCursor();
        if (shown_)
            SizeLabel->setText(sizeSummary(*shown_));
    };
    view_->onLinkClicked = [this](const QUrl& address) { openLink(address); };
    view_->onScaled = [this](double scale) { showScale(scale); };
    ViewStack->insertWidget(0, view_->widget());
    ViewStack->removeWidget(placeholder_);
    delete placeholder_;
    placeholder_ = nullptr;
}

void PreviewPart::applyMode() {
    QWidget* shown = showingFault_                    ? static_cast<QWidget*>(FaultLabel)
                     : PlainTextCheckBox->isChecked() ? static_cast<QWidget*>(PlainTextView)
                     : view_                          ? view_->widget()
                                                      : placeholder_;
    ViewStack->setCurrentWidget(shown);
    auto* areaLayout = viewArea_->layout();
    const bool phone = SmartphoneRadioButton->isChecked();
    if (phone) {
        ViewStack->setFixedWidth(kSmartphoneWidth);
        areaLayout->setAlignment(ViewStack, Qt::AlignHCenter);
    } else {
        ViewStack->setMinimumWidth(0);
        ViewStack->setMaximumWidth(QWIDGETSIZE_MAX);
        areaLayout->setAlignment(ViewStack, Qt::Alignment());
    }
    // A scaled view says how far once it has measured the message (showScale).
    const bool unscaled = phone && phoneLayoutShown_;
    ScaleLabel->setText(unscaled ? QString::fromUtf8(kUnscaledText) : QString());
    if (view_ && unscaled)
        view_->showUnscaled();
    else if (view_)
        view_->fitToWidth(phone ? kSmartphoneWidth : 0);
}

void PreviewPart::showScale(double scale) {
    const QString text = !SmartphoneRadioButton->isChecked() ? QString()
                         : phoneLayoutShown_                 ? QString::fromUtf8(kUnscaledText)
                                                             : scaleText(scale);
    ScaleLabel->setText(text);
}

QString scaleText(double scale) {
    // Rounded down: the text is never larger than the bar says.
    const int percent = int(std::floor(scale * 100 + 1e-6));
    return percent < 100 ? QStringLiteral("auf %1 % verkleinert").arg(percent) : QString();
}

void PreviewPart::openLink(const QUrl& address) {
    // Only web and mail addresses leave the preview, to the desktop's browser or mail program.
    const QString target = address.toString(QUrl::FullyEncoded);
    if (!isOpenableAddress(target))
        return;
    launcher_.open(target, [this, alive = QPointer<PreviewPart>(this), target](bool started) {
        if (alive && !started)
            prompts_.information(QStringLiteral("Die Adresse %1 kann nicht geöffnet werden.").arg(target));
    });
}

}  // namespace zw

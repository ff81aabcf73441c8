#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

#include "dispatch/ui/PreviewView.h"
#include "template/Session.h"

class QButtonGroup;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QRadioButton;
class QStackedWidget;
class QWidget;

namespace zw {

class Launcher;
class Prompts;

// The preview page "Vorschau" and the single mail: both commit the block being edited, render the
// message into the program folder and hand it on, to the page's view or to the desktop's mail program.
class PreviewPart : public QObject {
    Q_OBJECT
public:
    using Commit = std::function<void()>;
    // Renders the message once into each target, replacing them in the order given.
    using Render = std::function<void(const QStringList& targetPaths)>;

    // Fills page (an empty page whose layout is a QVBoxLayout) with the bar and the view area.
    PreviewPart(QWidget* page, const Folders& folders, Prompts& prompts, Launcher& launcher, Commit commit,
                Render render, QObject* parent = nullptr);
    ~PreviewPart() override;

    void ShowPreview();
    void SendSingleMail();

    // Offered instead of the single mail when the desktop has no mail program that takes the message
    // as a new one; unset, the single mail only says so.
    std::function<void()> sendTestMail;
    // Whether the template asks for the phone layout, asked at every preview: such a message is shown
    // unscaled at the phone's width, as phones show it; a classic one is scaled down to that width.
    // Unset, every message is taken for a classic one.
    std::function<bool()> phoneLayout;

    // The sender's name as the inbox shows it (inboxSenderName), asked at every preview; unset, the
    // inbox line names no sender.
    std::function<QString()> inboxSender;

    // Which of the two preview files the view is sent to next: 0, 1, 2 (2 only within ShowPreview).
    int PreviewCounter = 0;

    // Replaces the web engine view, before the first preview (the window tests record instead).
    void setViewFactory(PreviewViewFactory factory) {
        viewFactory_ = std::move(factory);
        ownView_ = false;
    }
    // Starts the web engine in the background, so that the first preview comes quickly; the window
    // calls it once it is idle after start-up. Nothing for a view the tests gave.
    void warmUp();
    PreviewView* view() const { return view_.get(); }
    QString previewPath(int number) const;

    // The bar above the view.
    QRadioButton* DesktopRadioButton = nullptr;
    QRadioButton* SmartphoneRadioButton = nullptr;
    QLabel* ScaleLabel = nullptr;  // how far the phone's view scales the message down
    QLabel* SizeLabel = nullptr;
    QLabel* ClipWarningLabel = nullptr;
    QCheckBox* PlainTextCheckBox = nullptr;
    // Above the view: the message's line in the recipient's inbox (sender, subject, first words).
    QLabel* InboxLineLabel = nullptr;
    // The view area: the web view, the plain-text rendering, or a message when a file cannot be shown.
    QStackedWidget* ViewStack = nullptr;
    QPlainTextEdit* PlainTextView = nullptr;
    QLabel* FaultLabel = nullptr;

private:
    void showFile(const QString& path, const QString& previewName);
    void ensureView();
    void applyMode();
    void showScale(double scale);
    void showInboxLine(const PreviewMessage* message);
    void openLink(const QUrl& address);

    Folders folders_;
    Prompts& prompts_;
    Launcher& launcher_;
    Commit commit_;
    Render render_;
    PreviewViewFactory viewFactory_ = &createWebPreview;
    bool ownView_ = true;
    bool engineReady_ = false;    // the view has loaded a page once
    bool waitingForEngine_ = false;  // a preview waits for it, with the wait cursor and a note
    std::unique_ptr<PreviewView> view_;
    QWidget* viewArea_ = nullptr;
    QWidget* placeholder_ = nullptr;
    bool showingFault_ = false;
    bool phoneLayoutShown_ = false;  // the message shown was rendered in the phone layout
    // The message the view shows: a preview of the same message again leaves the view as it is.
    std::shared_ptr<const PreviewMessage> shown_;
};

// What the bar says of the phone's view: "auf 62 % verkleinert", or nothing when not scaled down.
QString scaleText(double scale);
// What it says of a message in the phone layout, shown as it is.
inline constexpr char kUnscaledText[] = "auf 100 %";

// The width of a phone screen, in the page's pixels.
inline constexpr int kSmartphoneWidth = 375;

}  // namespace zw

#pragma once

#include <QPointer>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

#include <functional>
#include <memory>

#include "dispatch/PreviewMessage.h"
#include "dispatch/ui/PreviewView.h"

class QWebEngineProfile;

namespace zw {

// Serves the message of the preview shown from memory, under the addresses of previewAddress: the HTML
// part, its "cid:" references pointing at the addresses of the pictures.
class PreviewSchemeHandler : public QWebEngineUrlSchemeHandler {
    Q_OBJECT
public:
    using QWebEngineUrlSchemeHandler::QWebEngineUrlSchemeHandler;
    void setMessage(const QString& previewName, quint64 number,
                    std::shared_ptr<const PreviewMessage> message);
    void requestStarted(QWebEngineUrlRequestJob* job) override;

private:
    QString previewName_;
    quint64 number_ = 0;
    std::shared_ptr<const PreviewMessage> message_;
};

// Lets only the preview's own addresses through: the newsletter's pictures are all in the message, so
// anything else would be a remote request (a tracking picture) or a local file.
class LocalOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;
};

// The page of the preview: it never leaves the message. A clicked link, also one meant for a new
// window, goes to linkClicked instead.
class PreviewWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    PreviewWebPage(QWebEngineProfile* profile, std::function<void(const QUrl&)> linkClicked, QObject* parent);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    std::function<void(const QUrl&)> linkClicked_;
};

// The preview view on the web engine, in an off-the-record profile of its own: nothing is written to
// the home or program folder.
class WebPreview : public PreviewView {
public:
    WebPreview();
    ~WebPreview() override;
    QWidget* widget() override;
    void showMessage(std::shared_ptr<const PreviewMessage> message, const QString& previewName) override;
    void fitToWidth(int width) override;
    void showUnscaled() override;
    void warmUp() override;
    QWebEngineView* view() const { return view_; }

private:
    // Measures the width the page needs, then scaleTo() it.
    void fit();
    // Sets the zoom that fits a page that needs neededWidth pixels into fitWidth_, and reports it.
    void scaleTo(double neededWidth);

    std::unique_ptr<PreviewSchemeHandler> handler_;
    std::unique_ptr<LocalOnlyInterceptor> interceptor_;
    QWebEngineProfile* profile_ = nullptr;
    QPointer<QWebEngineView> view_;
    quint64 shown_ = 0;  // previews shown, which numbers their addresses
    int fitWidth_ = 0;
};

}  // namespace zw

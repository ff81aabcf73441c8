#include "dispatch/ui/WebPreview.h"

#include <algorithm>
#include <cmath>

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineView>

namespace zw {

namespace {

// The engine shows nothing smaller.
constexpr double kMinimumZoom = 0.25;

void reply(QWebEngineUrlRequestJob* job, const QByteArray& contentType, const QByteArray& bytes) {
    auto* buffer = new QBuffer(job);
    buffer->setData(bytes);
    buffer->open(QIODevice::ReadOnly);
    job->reply(contentType, buffer);
}

// What a mail program's reader allows a message: its own markup and pictures, nothing that runs,
// nothing that reaches out.
void harden(QWebEngineSettings* settings) {
    using S = QWebEngineSettings;
    for (S::WebAttribute off : {S::JavascriptEnabled,
                                S::JavascriptCanOpenWindows,
                                S::JavascriptCanAccessClipboard,
                                S::JavascriptCanPaste,
                                S::LocalStorageEnabled,
                                S::LocalContentCanAccessRemoteUrls,
                                S::HyperlinkAuditingEnabled,
                                S::PluginsEnabled,
                                S::FullScreenSupportEnabled,
                                S::ScreenCaptureEnabled,
                                S::WebGLEnabled,
                                S::Accelerated2dCanvasEnabled,
                                S::AutoLoadIconsForPage,
                                S::TouchIconsEnabled,
                                S::FocusOnNavigationEnabled,
                                S::AllowRunningInsecureContent,
                                S::AllowGeolocationOnInsecureOrigins,
                                S::AllowWindowActivationFromJavaScript,
                                S::DnsPrefetchEnabled,
                                S::PdfViewerEnabled,
                                S::NavigateOnDropEnabled,
                                S::ErrorPageEnabled})
        settings->setAttribute(off, false);
    settings->setAttribute(S::AutoLoadImages, true);
    // The page reaches no local file, and the interceptor refuses them besides. Its pictures need no
    // origin of the page: their addresses name the preview they belong to.
    settings->setAttribute(S::LocalContentCanAccessFileUrls, false);
}

// Stands in for the new window a link with target=_blank asks for: takes the address and goes away.
class LinkCatcher : public QWebEnginePage {
public:
    LinkCatcher(QWebEngineProfile* profile, std::function<void(const QUrl&)> linkClicked, QObject* parent)
        : QWebEnginePage(profile, parent), linkClicked_(std::move(linkClicked)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (linkClicked_ && !url.isEmpty())
            linkClicked_(url);
        deleteLater();
        return false;
    }

private:
    std::function<void(const QUrl&)> linkClicked_;
};

}  // namespace

void PreviewSchemeHandler::setMessage(const QString& previewName, quint64 number,
                                      std::shared_ptr<const PreviewMessage> message) {
    previewName_ = previewName;
    number_ = number;
    message_ = std::move(message);
}

void PreviewSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
    // Only the preview shown now is served: an address of an earlier one stays unanswered, so that no
    // picture of an earlier rendering can stand in a later one.
    const auto request = previewRequestOf(job->requestUrl());
    if (!request || !message_ || request->number != number_ || request->previewName != previewName_) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    if (!request->isPicture) {
        QByteArray type = "text/html";
        if (!message_->htmlCharset.isEmpty())
            type += ";charset=" + message_->htmlCharset;
        reply(job, type, htmlForView(*message_, previewAddress(previewName_, number_)));
        return;
    }
    const PreviewPicture* picture = message_->picture(request->contentId);
    if (!picture) {
        job->fail(QWebEngineUrlRequestJob::UrlNotFound);
        return;
    }
    reply(job, picture->mimeType, message_->pictureBytes(*picture));
}

void LocalOnlyInterceptor::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (info.requestUrl().scheme() != QLatin1String(kPreviewScheme))
        info.block(true);
}

PreviewWebPage::PreviewWebPage(QWebEngineProfile* profile, std::function<void(const QUrl&)> linkClicked,
                               QObject* parent)
    : QWebEnginePage(profile, parent), linkClicked_(std::move(linkClicked)) {}

bool PreviewWebPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (type == NavigationTypeLinkClicked) {
        if (linkClicked_)
            linkClicked_(url);
        return false;
    }
    // Only the program itself sends the view somewhere: to a preview message.
    return isMainFrame && url.scheme() == QLatin1String(kPreviewScheme);
}

QWebEnginePage* PreviewWebPage::createWindow(WebWindowType) {
    return new LinkCatcher(profile(), linkClicked_, this);
}

// A navigation to an address of our own that serves nothing: the engine starts its processes for it,
// the page stays empty, and loadFinished says when it is done.
void WebPreview::warmUp() {
    view_->page()->load(QUrl(QStringLiteral("%1:warm-up").arg(QLatin1String(kPreviewScheme))));
}

std::unique_ptr<PreviewView> createWebPreview() {
    return std::make_unique<WebPreview>();
}

WebPreview::WebPreview()
    : handler_(std::make_unique<PreviewSchemeHandler>()),
      interceptor_(std::make_unique<LocalOnlyInterceptor>()) {
    profile_ = new QWebEngineProfile();  // no storage name: off the record
    profile_->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    profile_->setSpellCheckEnabled(false);
    profile_->setUrlRequestInterceptor(interceptor_.get());
    profile_->installUrlSchemeHandler(kPreviewScheme, handler_.get());
    harden(profile_->settings());

    view_ = new QWebEngineView();
    view_->setObjectName(QStringLiteral("WebBrowser5"));
    view_->setAccessibleName(QStringLiteral("Vorschau"));
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    auto* page = new PreviewWebPage(
        profile_,
        [this](const QUrl& url) {
            if (onLinkClicked)
                onLinkClicked(url);
        },
        view_);
    harden(page->settings());
    view_->setPage(page);
    QObject::connect(page, &QWebEnginePage::loadFinished, [this](bool ok) {
        fit();
        if (onLoaded)
            onLoaded(ok);
    });
    QObject::connect(page, &QWebEnginePage::contentsSizeChanged, [this] { fit(); });
}

WebPreview::~WebPreview() {
    // The page goes with its view, and must be gone before its profile.
    delete view_.data();
    delete profile_;
}

QWidget* WebPreview::widget() {
    return view_;
}

void WebPreview::showMessage(std::shared_ptr<const PreviewMessage> message, const QString& previewName) {
    handler_->setMessage(previewName, ++shown_, std::move(message));
    view_->page()->load(previewAddress(previewName, shown_));
}

void WebPreview::fitToWidth(int width) {
    fitWidth_ = width;
    QWebEnginePage* page = view_->page();
    // A phone shows no scroll bar beside the message: the whole width is the message's.
    page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, width <= 0);
    if (width <= 0)
        page->setZoomFactor(1.0);
    fit();
}

void WebPreview::showUnscaled() {
    fitWidth_ = 0;
    QWebEnginePage* page = view_->page();
    page->settings()->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    page->setZoomFactor(1.0);
    fit();
}

void WebPreview::fit() {
    if (fitWidth_ <= 0) {
        if (onScaled)
            onScaled(1.0);
        return;
    }
    // The width the message needs, measured in the page itself: laid out in no width at all, what
    // sticks out is its own width, whatever the zoom and the window. The page runs no script of its
    // own; this one runs beside it, in the program's own world, and puts the page back as it was.
    static const QString kMeasure = QStringLiteral(
        "(() => { const e = document.documentElement, w = e.style.width; e.style.width = '0px';"
        " const n = e.scrollWidth; e.style.width = w; return n; })()");
    view_->page()->runJavaScript(kMeasure, QWebEngineScript::ApplicationWorld,
                                 [this, alive = QPointer<QWebEngineView>(view_)](const QVariant& needed) {
                                     if (alive)
                                         scaleTo(needed.toDouble());
                                 });
}

void WebPreview::scaleTo(double neededWidth) {
    if (fitWidth_ <= 0 || neededWidth <= 0)
        return;
    const double scale = std::clamp(fitWidth_ / neededWidth, kMinimumZoom, 1.0);
    QWebEnginePage* page = view_->page();
    if (std::abs(page->zoomFactor() - scale) > 1e-4)
        page->setZoomFactor(scale);
    if (onScaled)
        onScaled(scale);
}

}  // namespace zw

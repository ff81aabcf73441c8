#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

#include "dispatch/PreviewMessage.h"

class QWidget;

namespace zw {

// What the preview page shows a message in. A web engine is heavy, so the page creates its view only
// when a preview is first shown; the window tests give it a recording view instead.
class PreviewView {
public:
    virtual ~PreviewView() = default;

    // The widget to put in the page; the view owns it.
    virtual QWidget* widget() = 0;
    // Starts showing the HTML part of message under the address of previewName and returns at once.
    virtual void showMessage(std::shared_ptr<const PreviewMessage> message, const QString& previewName) = 0;

    // Shows the message scaled down to width pixels when it is wider, as a phone's mail app shows a
    // wide message; 0 shows it at its own size. The scale follows the page as it loads.
    virtual void fitToWidth(int width) = 0;
    // Shows the message at its own size (100 %) in the widget's width, without a scroll bar beside it,
    // as a phone's mail app shows a message laid out for phones: it narrows by itself.
    virtual void showUnscaled() = 0;
    // Starts what the view needs ahead of the first message (a web engine's processes); onLoaded is
    // called when it is ready.
    virtual void warmUp() {}

    // Called when the view has the page (false: it could not show it).
    std::function<void(bool ok)> onLoaded;
    // Called with the scale the message is shown at: 1, or less when fitToWidth scaled it down.
    std::function<void(double scale)> onScaled;
    // Called for a link the user clicks; the view itself never leaves the message.
    std::function<void(const QUrl& address)> onLinkClicked;
};

using PreviewViewFactory = std::function<std::unique_ptr<PreviewView>()>;

// The preview in the embedded web engine, hardened as a mail program's reader.
std::unique_ptr<PreviewView> createWebPreview();

}  // namespace zw

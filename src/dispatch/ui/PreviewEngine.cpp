#include "dispatch/ui/PreviewEngine.h"

#include <QCoreApplication>
#include <QDir>
#include <QWebEngineUrlScheme>

#include <unistd.h>

#include "dispatch/PreviewMessage.h"

namespace zw {

namespace {

void registerScheme(const char* name, QWebEngineUrlScheme::Syntax syntax) {
    QWebEngineUrlScheme scheme(name);
    scheme.setSyntax(syntax);
    // Local: other pages cannot load it, and its pages reach nothing remote.
    scheme.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::LocalAccessAllowed);
    QWebEngineUrlScheme::registerScheme(scheme);
}

void appendChromiumFlag(const QByteArray& flag) {
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.split(' ').contains(flag))
        return;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags.isEmpty() ? flag : flags + ' ' + flag));
}

}  // namespace

void preparePreviewEngine() {
    registerScheme(kPreviewScheme, QWebEngineUrlScheme::Syntax::Host);

    // Chromium refuses to start as root with its sandbox (containers, a fresh machine's `make run`).
    // Only then does the preview do without it.
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Without a render node there is no GPU: the engine draws in software from the start instead of
    // failing over to it.
    if (QDir(QStringLiteral("/dev/dri")).entryList({QStringLiteral("renderD*")}, QDir::System).isEmpty())
        appendChromiumFlag("--disable-gpu");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace zw

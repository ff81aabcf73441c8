// zettelwerk-send: sends a template's newsletter to a list over SMTP, without the window.
#include <QCoreApplication>

#include <atomic>
#include <csignal>
#include <cstdio>

#include "cli/SendCommand.h"

namespace {

std::atomic<bool> stopRequested{false};

// The first Ctrl+C pauses after the message in flight; a second one ends the program at once (the
// journal still lets the campaign resume).
void requestStop(int signal) {
    stopRequested = true;
    std::signal(signal, SIG_DFL);
}

}  // namespace

int main(int argc, char** argv) {
    static_assert(std::atomic<bool>::is_always_lock_free);
    std::signal(SIGXFSZ, SIG_IGN);
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    using namespace zw::cli;

    SendOptions options;
    const QString problem = parseSendArguments(app.arguments().mid(1), options);
    if (!problem.isEmpty()) {
        const QByteArray text =
            (QStringLiteral("zettelwerk-send: ") + problem + QStringLiteral("\n\n") + sendUsageText()).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return kSendUsage;
    }
    if (options.help) {
        const QByteArray text = sendUsageText().toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return kSendAllSent;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);
    return runSend(options, QCoreApplication::applicationDirPath(), stopRequested);
}

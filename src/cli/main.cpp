// zettelwerk-render: writes the message of a template without the window, for scripts and checks.
#include <QCoreApplication>

#include <csignal>
#include <cstdio>

#include "cli/RenderCommand.h"

int main(int argc, char** argv) {
    // A file size limit must make a write fail with a message, not end the program.
    std::signal(SIGXFSZ, SIG_IGN);
    QCoreApplication app(argc, argv);
    using namespace zw::cli;

    RenderOptions options;
    const QString problem = parseArguments(app.arguments().mid(1), options);
    if (!problem.isEmpty()) {
        const QByteArray text =
            (QStringLiteral("zettelwerk-render: ") + problem + QStringLiteral("\n\n") + usageText()).toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stderr);
        return kExitUsage;
    }
    if (options.help) {
        const QByteArray text = usageText().toUtf8();
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return kExitOk;
    }
    return renderTemplate(options, QCoreApplication::applicationDirPath());
}

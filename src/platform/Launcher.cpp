#include "platform/Launcher.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include <memory>

#include "platform/Error.h"

namespace zw {

Launcher::Launcher(QObject* parent) : QObject(parent) {}

namespace {
// The programs that outlived their launcher, kept (never freed) until this process ends.
QList<QProcess*>& outlivingPrograms() {
    static auto* programs = new QList<QProcess*>;
    return *programs;
}
}  // namespace

Launcher::~Launcher() {
    // A program still running outlives us, as a program started by the shell would: deleting its
    // QProcess would kill it (and possibly the mail program it is waiting for).
    for (QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly)) {
        if (process->state() != QProcess::NotRunning) {
            process->disconnect();
            process->setParent(nullptr);
            outlivingPrograms().append(process);
        }
    }
}

bool isOpenableAddress(const QString& target) {
    const QUrl url(target.trimmed(), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) && !url.host().isEmpty();
}

void Launcher::open(const QString& target, Done done) {
    if (isOpenableAddress(target)) {
        start(QStringLiteral("xdg-open"), {target.trimmed()}, std::move(done));
        return;
    }
    // Anything with a scheme of its own ("javascript:", "ftp://") is not ours to open; a single letter
    // before the colon is a Windows drive, which is a path.
    QString path = target;
    const QUrl url(target);
    if (url.isLocalFile())
        path = url.toLocalFile();
    else if (url.scheme().size() > 1)
        throw Error(QStringLiteral("\"%1\" wird nicht geöffnet: Zettelwerk öffnet nur Dateien und "
                                   "Adressen, die mit http://, https:// oder mailto: beginnen.")
                        .arg(target));
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists()) {
        done(false);
        return;
    }
    // An absolute path never reads as an option of xdg-open.
    start(QStringLiteral("xdg-open"), {file.absoluteFilePath()}, std::move(done));
}

void Launcher::start(const QString& program, const QStringList& arguments, Done done,
                     const QProcessEnvironment& environment) {
    const QString executable = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (executable.isEmpty()) {
        done(false);
        return;
    }
    auto* process = new QProcess(this);
    process->setProgram(executable);
    process->setArguments(arguments);
    process->setProcessEnvironment(environment);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());

    // The first of: failed to start, ended, grace period over.
    auto reported = std::make_shared<bool>(false);
    auto report = [reported, done = std::move(done)](bool started) {
        if (*reported)
            return;
        *reported = true;
        done(started);
    };
    connect(process, &QProcess::errorOccurred, this, [process, report](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        report(false);
        process->deleteLater();
    });
    connect(process, &QProcess::finished, this, [process, report](int code, QProcess::ExitStatus status) {
        report(status == QProcess::NormalExit && code == 0);
        process->deleteLater();
    });
    // Tied to the launcher, like the two connections above: once it is gone, so may be whoever waits for
    // the outcome, and no report must reach them (the process itself is let go on purpose).
    QTimer::singleShot(kGracePeriodMs, this, [report] { report(true); });
    process->start();
}

int Launcher::running() const {
    int count = 0;
    for (const QProcess* process : findChildren<QProcess*>(Qt::FindDirectChildrenOnly))
        count += process->state() != QProcess::NotRunning;
    return count;
}

std::optional<QString> defaultApplication(const QString& mimeType) {
    constexpr int kAnswerMs = 5000;
    QProcess query;
    query.start(QStringLiteral("xdg-mime"), {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (!query.waitForFinished(kAnswerMs)) {
        query.kill();
        query.waitForFinished();
        return std::nullopt;
    }
    if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

}  // namespace zw

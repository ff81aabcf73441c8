#include "dispatch/SerialMailPart.h"

#include <QDir>
#include <QFileInfo>

#include "dispatch/HelpTexts.h"
#include "platform/FileIo.h"
#include "platform/Launcher.h"
#include "platform/Prompts.h"
#include "template/TemplateFiles.h"

namespace zw {

namespace {

// Where the serial-mail program installs itself, in the order searched. The first column's drive
// letter is written as the installers write it; the path handed on is always formed from the third.
struct SerialMailLocation {
    const char* pattern;
    const char* nameContains;  // tested against the upper-cased file name
    const char* pathPrefix;
};
constexpr SerialMailLocation kLocations[] = {
    {"c:\\Programme\\Ventoza\\*.exe", "VENTOZA.EXE", "c:\\Programme\\Ventoza\\"},
    {"c:\\Program Files\\Ventoza\\*.exe", "VENTOZA.EXE", "c:\\Program Files\\Ventoza\\"},
    {"C:\\Programme\\Ventoza Enterprise Client\\*.exe", "VENTOZA_CLIENT.EXE",
     "c:\\Programme\\Ventoza Enterprise Client\\"},
};

// The folder under driveC that a Windows folder such as "Programme\Ventoza" names, each part matched
// without regard to case ("programme/VENTOZA"); an exact spelling is preferred. Empty when a part is
// missing.
QString hostFolder(const QString& driveC, const QStringList& parts) {
    QString folder = driveC;
    for (const QString& part : parts) {
        const QStringList entries = QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                                                           QDir::Name | QDir::IgnoreCase);
        QString found;
        for (const QString& entry : entries) {
            if (entry == part) {
                found = entry;
                break;
            }
            if (found.isEmpty() && entry.compare(part, Qt::CaseInsensitive) == 0)
                found = entry;
        }
        if (found.isEmpty())
            return {};
        folder = QDir(folder).filePath(found);
    }
    return folder;
}

}  // namespace

QString winePrefix(const QProcessEnvironment& environment) {
    const QString prefix = environment.value(QStringLiteral("WINEPREFIX"));
    return prefix.isEmpty() ? QDir::homePath() + QStringLiteral("/.wine") : prefix;
}

QString findSerialMailProgram(const QString& driveC) {
    QString program;
    for (const SerialMailLocation& location : kLocations) {
        // "c:\Programme\Ventoza\*.exe": the drive, the folders, and the file pattern.
        QStringList parts = QString::fromLatin1(location.pattern).mid(3).split(u'\\');
        const QString pattern = parts.takeLast();
        const QString folder = hostFolder(driveC, parts);
        if (folder.isEmpty())
            continue;
        // Files in the order Windows lists them, so that "last match wins" picks the same one.
        for (const QString& path : listFiles(folder, pattern)) {
            const QString name = QFileInfo(path).fileName();
            if (name.toUpper().contains(QLatin1String(location.nameContains)))
                program = QLatin1String(location.pathPrefix) + name;
        }
    }
    return program;
}

SerialMailPart::SerialMailPart(TemplateSession& session, Prompts& prompts, Launcher& launcher,
                               QString webPage, std::function<void()> commit,
                               std::function<void(const QString&)> render, QProcessEnvironment environment,
                               QObject* parent)
    : QObject(parent),
      session_(session),
      prompts_(prompts),
      launcher_(launcher),
      webPage_(std::move(webPage)),
      commit_(std::move(commit)),
      render_(std::move(render)),
      environment_(std::move(environment)) {}

QString SerialMailPart::SerialMailFile() const {
    return messagePathFor(session_.folders, session_.CurrentTemplatePath);
}

void SerialMailPart::report(bool started, const QString& failure) {
    if (!started)
        prompts_.plainMessage(failure);
    Q_EMIT launched(started);
}

void SerialMailPart::StartSerialMail() {
    commit_();
    const QString message = SerialMailFile();
    // A documents folder that does not exist yet is made, as saving does.
    if (!session_.folders.documents.isEmpty())
        QDir().mkpath(session_.folders.documents);
    render_(message);

    const QString prefix = winePrefix(environment_);
    const QString program = findSerialMailProgram(QDir(prefix).filePath(QStringLiteral("drive_c")));
    if (!program.isEmpty()) {
        if (!prompts_.confirmSerialMailStart(QFileInfo(message).fileName()))
            return;
        QProcessEnvironment environment = environment_;
        environment.insert(QStringLiteral("WINEPREFIX"), prefix);
        launcher_.start(
            QStringLiteral("wine"), {program}, [this](bool started) { report(started, kProgramFailure); },
            environment);
        return;
    }
    if (prompts_.offerSerialMailProgram())
        launcher_.open(webPage_, [this](bool started) { report(started, kBrowserFailure); });
}

}  // namespace zw

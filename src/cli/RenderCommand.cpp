#include "cli/RenderCommand.h"

#include <QDir>
#include <QFileInfo>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <exception>
#include <functional>

#include "platform/Error.h"
#include "platform/Platform.h"
#include "platform/Prompts.h"
#include "platform/Text.h"
#include "render/RenderInput.h"
#include "render/RenderMessage.h"
#include "template/BlockCycle.h"

namespace zw::cli {

void printError(const QString& text) {
    const QByteArray bytes = (text + u'\n').toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

namespace {

// Without a window there is nobody to ask: messages become warnings on standard error, and the
// rendering goes on as it does after the user presses OK.
class StandardErrorPrompts : public Prompts {
public:
    void information(const QString& text) override { printError(QStringLiteral("Warnung: ") + text); }
    void error(const QString& text) override { printError(text); }
    CloseAnswer askSaveChanges() override { return CloseAnswer::Cancel; }
    QString chooseTemplateToOpen(const QString&) override { return {}; }
    QString chooseTemplateSaveName(const QString&, const QString&) override { return {}; }
};

// The block edit files and "temp.mim" of one rendering live only as long as the process: they belong
// in memory, not on a disk, where creating and deleting hundreds of files took a quarter of the time
// of a large rendering. The temporary folder when it is a memory file system already, else the
// runtime folder or /dev/shm when they are, else the temporary folder after all.
QString scratchParent() {
    const QString temporary = QDir::tempPath();
    for (const QString& folder :
         {temporary, qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")}) {
        if (folder.isEmpty())
            continue;
        const QFileInfo info(folder);
        if (info.isDir() && info.isWritable() && QStorageInfo(folder).fileSystemType() == "tmpfs")
            return folder;
    }
    return temporary;
}

}  // namespace

QString usageText() {
    return QStringLiteral(
        "Aufruf: zettelwerk-render [--program-folder ORDNER] [--date TEXT] VORLAGE AUSGABE\n"
        "\n"
        "Schreibt die Newsletter-Nachricht der Vorlage VORLAGE (.nld) in die Datei AUSGABE (.eml),\n"
        "genau so, wie Zettelwerk sie für Vorschau und Versand erzeugt. Die Vorlage bleibt unverändert.\n"
        "\n"
        "  --program-folder ORDNER  Programmordner; die Bilder liegen in seinem Unterordner \"Images\"\n"
        "                           (Vorgabe: der Programmordner von Zettelwerk)\n"
        "  --date TEXT              Datum für die Datumszeile (Vorgabe: das heutige Datum)\n"
        "  --help                   zeigt diese Hilfe\n"
        "\n"
        "Rückgabewert: 0 bei Erfolg, 1 wenn die Nachricht nicht erstellt werden kann,\n"
        "2 bei einem falschen Aufruf.\n");
}

QString walkArguments(const QStringList& arguments, QStringList& positional, bool& help,
                      const std::function<QString(qsizetype& i)>& option) {
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (optionsEnded || !argument.startsWith(u'-') || argument == QLatin1String("-")) {
            positional.append(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            help = true;
        } else if (const QString problem = option(i); !problem.isEmpty()) {
            return problem;
        }
    }
    return {};
}

QString parseArguments(const QStringList& arguments, RenderOptions& options) {
    QStringList positional;
    const QString problem = walkArguments(arguments, positional, options.help, [&](qsizetype& i) {
        QString problem;
        QString value;
        if (takeValue(arguments, i, QStringLiteral("--program-folder"), value, problem)) {
            if (problem.isEmpty() && value.isEmpty())
                return QStringLiteral("Der Programmordner darf nicht leer sein.");
            options.programFolder = value;
            return problem;
        }
        if (takeValue(arguments, i, QStringLiteral("--date"), value, problem)) {
            options.date = value;
            options.dateGiven = true;
            return problem;
        }
        return QStringLiteral("Unbekannte Option \"%1\".").arg(arguments[i]);
    });
    if (!problem.isEmpty())
        return problem;
    if (options.help)
        return {};
    if (positional.size() < 2)
        return QStringLiteral("Vorlage und Ausgabedatei müssen angegeben werden.");
    if (positional.size() > 2)
        return QStringLiteral("Zu viele Angaben: \"%1\".").arg(positional[2]);
    options.templatePath = positional[0];
    options.outputPath = positional[1];
    // An empty name would build the message and write it nowhere, which must not pass for success.
    if (options.templatePath.isEmpty() || options.outputPath.isEmpty())
        return QStringLiteral("Vorlage und Ausgabedatei dürfen nicht leer sein.");
    if (!options.programFolder.isEmpty() && !QFileInfo(options.programFolder).isDir())
        return QStringLiteral("Der Programmordner \"%1\" existiert nicht.").arg(options.programFolder);
    const QFileInfo templateInfo(options.templatePath);
    const QFileInfo outputInfo(options.outputPath);
    if (templateInfo.exists() && outputInfo.exists() &&
        templateInfo.canonicalFilePath() == outputInfo.canonicalFilePath())
        return QStringLiteral("Die Ausgabedatei darf nicht die Vorlage selbst sein.");
    return {};
}

bool takeValue(const QStringList& arguments, qsizetype& i, const QString& name, QString& value,
               QString& problem) {
    const QString& argument = arguments[i];
    if (argument.startsWith(name + u'=')) {
        value = argument.mid(name.size() + 1);
        return true;
    }
    if (argument != name)
        return false;
    if (i + 1 >= arguments.size()) {
        problem = QStringLiteral("Der Option %1 fehlt ihr Wert.").arg(name);
        return true;
    }
    value = arguments[++i];
    return true;
}

QString commandProgramFolder(const QString& given, const QString& executableFolder) {
    return given.isEmpty() ? LinuxPlatform(executableFolder).programFolder() : withTrailingSeparator(given);
}

int renderTemplate(const RenderOptions& options, const QString& executableFolder,
                   TemplateSettings* loadedSettings, FieldSet* fields) {
    const QString programFolder = commandProgramFolder(options.programFolder, executableFolder);
    const QString imagesFolder = programFolder + QStringLiteral("Images/");

    // The block edit files, "temp.mim" and the copies of the setting pictures of this rendering live
    // apart from those of a running Zettelwerk (or another rendering), which keeps its own in the
    // program folder.
    QTemporaryDir scratch(scratchParent() + QStringLiteral("/zettelwerk-render-XXXXXX"));
    if (!scratch.isValid()) {
        printError(
            QStringLiteral("Der Arbeitsordner kann nicht angelegt werden. %1").arg(scratch.errorString()));
        return kExitRenderFailed;
    }
    const QString workFolder = withTrailingSeparator(scratch.path());

    StandardErrorPrompts prompts;
    try {
        const RebuildResult loaded = loadTemplate(options.templatePath, imagesFolder, BlockFiles(workFolder));
        const QString date = options.dateGiven ? options.date : todayShortDate();
        RenderInput input =
            renderInputFromSettings(loaded.settings, toStored(date), workFolder, imagesFolder);
        input.copyFolder = workFolder;
        input.keepFields = fields != nullptr;
        RenderMessage(input, options.outputPath, prompts);
        if (fields)
            *fields = TemplateFields(input);
        if (loadedSettings)
            *loadedSettings = loaded.settings;
    } catch (const Error& error) {
        printError(error.message());
        return kExitRenderFailed;
    } catch (const std::bad_alloc&) {
        printError(QStringLiteral("Für die Nachricht reicht der Arbeitsspeicher nicht aus."));
        return kExitRenderFailed;
    } catch (const std::exception& error) {
        printError(QString::fromLocal8Bit(error.what()));
        return kExitRenderFailed;
    }
    return kExitOk;
}

}  // namespace zw::cli

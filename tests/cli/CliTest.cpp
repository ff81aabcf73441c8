// zettelwerk-render as a user runs it: a real process on templates written here and on the shipped ones.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include "platform/FileIo.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "support/Files.h"
#include "support/MimeCheck.h"
#include "template/NldFormat.h"

namespace zw::test {
namespace {

struct ProcessResult {
    int exitCode = -1;
    QString out, err;
};

ProcessResult runRenderer(const QStringList& arguments,
                          const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk-render"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

QByteArray makeJpeg(const QString& path, QColor colour) {
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(colour);
    EXPECT_TRUE(image.save(path, "JPG")) << path.toStdString();
    return readAll(path);
}

// Every file below a folder, to show that nothing was changed, added or left behind.
QMap<QString, QByteArray> snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        files.insert(QDir(folder).relativeFilePath(path), readAll(path));
    }
    return files;
}

class Cli : public ::testing::Test {
public:
    Cli() {
        // The working files of a Zettelwerk that runs at the same time.
        writeAll(program + "Temp001.edt", "fremder Block\r\n");
        writeAll(program + "temp.mim", "fremd");
        writeAll(program + "Old.nld", "fremd");
        writeTemplate();
    }

    void writeTemplate(const QByteArray& blockUrl = "www.garten.de/fest?tag=1") {
        writeAll(templatePath, crlf({"[SETTINGS]",
                                     "Berteff=Gr\xfc\xdf"
                                     "e vom Sommerfest",
                                     "KopfLogo=" + pictures.toUtf8() + "kopf.jpg",
                                     "LogoAlign=center",
                                     "Titel1=Gartenfreunde",
                                     "Titel2=\"Alles zum Fest\"",
                                     "DateText=Stand:",
                                     "SeperatorNews=C:\\Bilder\\trenner.jpg",
                                     "SeperatorAlign=center",
                                     "SeperatorImpressum=C:\\Bilder\\fuss.jpg",
                                     "ImpressumAlign=left",
                                     "ImpressumText=Verein",
                                     "ImpressumMailTo=info@garten.de",
                                     "ImpressumURL=www.garten.de",
                                     "TextColor=#000000",
                                     "LinkColor=#0000FF",
                                     "BKGColor=#FFFFFF",
                                     "UnsubscribeLink=",
                                     "UnsubscribeText=",
                                     "DateOn=TRUE",
                                     " ",
                                     "[BLOCK001]",
                                     "Das Fest",
                                     "C:\\Bilder\\fest.jpg",
                                     "Mehr",
                                     blockUrl,
                                     "Am <b>Samstag</b>",
                                     " ",
                                     "[BLOCK002]",
                                     "Ohne Bild",
                                     "",
                                     "",
                                     "",
                                     "Text"}));
    }

    QStringList arguments(const QString& output) const {
        return {u"--program-folder"_qs, program, u"--date"_qs, u"07.12.2026"_qs, templatePath, output};
    }

    TempFolder folder;
    QString program = folder.subfolder(u"Programm"_qs);
    QString images = folder.subfolder(u"Programm/Images"_qs);
    QString pictures = folder.subfolder(u"Bilder"_qs);
    QString templatePath = folder.file(u"Sommerfest.nld"_qs);
    QByteArray logo = makeJpeg(pictures + "kopf.jpg", Qt::red);
    QByteArray separator = makeJpeg(images + "trenner.jpg", Qt::green);
    QByteArray imprint = makeJpeg(images + "fuss.jpg", Qt::blue);
    QByteArray blockPicture = makeJpeg(images + "fest.jpg", Qt::yellow);
};

TEST_F(Cli, RendersTheTemplateAndTouchesNoWorkingFile) {
    writeAll(images + "m_Kopf.jpg", "fremd");
    const QByteArray templateBytes = readAll(templatePath);
    const QString output = folder.file("Sommerfest.eml");
    const ProcessResult run = runRenderer(arguments(output));
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, QString());

    const QByteArray message = readAll(output);
    EXPECT_TRUE(isNewsletter(message, u"Grüße vom Sommerfest"_qs,
                             {logo, separator, blockPicture, separator, imprint}));
    const MimeNewsletter parsed = parseNewsletter(message);
    EXPECT_TRUE(parsed.html.contains("\n07.12.2026\r\n"));
    EXPECT_TRUE(parsed.html.contains("\nAlles zum Fest\r\n"));  // the INI rules removed the quotes
    EXPECT_TRUE(message.endsWith("------=_NextPart_1--\r\n"));
    EXPECT_EQ(plainLines(message), (QList<QByteArray>{" ",
                                                      " ",
                                                      "Gartenfreunde",
                                                      "Alles zum Fest",
                                                      "Stand: 07.12.2026",
                                                      " ",
                                                      "Das Fest",
                                                      " ",
                                                      "Am <b>Samstag</b>",
                                                      " ",
                                                      "Mehr",
                                                      "http://www.garten.de/fest?tag=1",
                                                      " ",
                                                      " ",
                                                      "Ohne Bild",
                                                      " ",
                                                      "Text",
                                                      " ",
                                                      " ",
                                                      "Impressum:",
                                                      " ",
                                                      "Verein",
                                                      "info@garten.de",
                                                      "www.garten.de"}));

    EXPECT_EQ(readAll(templatePath), templateBytes);
    EXPECT_EQ(readAll(program + "Temp001.edt"), "fremder Block\r\n");
    EXPECT_EQ(readAll(program + "temp.mim"), "fremd");
    EXPECT_EQ(readAll(program + "Old.nld"), "fremd");
    EXPECT_EQ(listFiles(program, u"*.edt"_qs).size(), 1);
    // The window's copies of the setting pictures stay its own: the message carries the template's.
    EXPECT_EQ(readAll(images + "m_Kopf.jpg"), "fremd");
    EXPECT_FALSE(QFile::exists(images + "m_Impressum.jpg"));
}

// The block edit files and "temp.mim" go to a folder in memory, and leave nothing behind there.
TEST_F(Cli, ScratchFilesGoToMemoryAndAreRemoved) {
    if (QStorageInfo(u"/dev/shm"_qs).fileSystemType() != "tmpfs")
        GTEST_SKIP() << "no /dev/shm in memory";
    QTemporaryDir runtime(u"/dev/shm/zettelwerk-test-XXXXXX"_qs);
    ASSERT_TRUE(runtime.isValid());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"TMPDIR"_qs, templatePath);  // a file: no scratch folder could be made there
    environment.insert(u"XDG_RUNTIME_DIR"_qs, runtime.path());
    const ProcessResult run = runRenderer(arguments(folder.file("neu.eml")), environment);
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile::remove(images + "fest.jpg");
    EXPECT_EQ(runRenderer(arguments(folder.file("fehler.eml")), environment).exitCode, 1);
    EXPECT_TRUE(QDir(runtime.path()).isEmpty());
}

// Written as German short dates are, also on a system that speaks English.
TEST_F(Cli, DateDefaultsToToday) {
    const QString output = folder.file("heute.eml");
    QStringList args = arguments(output);
    args.remove(2, 2);
    QProcessEnvironment english = QProcessEnvironment::systemEnvironment();
    english.insert(u"LC_ALL"_qs, u"en_US.UTF-8"_qs);
    english.insert(u"LANG"_qs, u"en_US.UTF-8"_qs);
    ASSERT_EQ(runRenderer(args, english).exitCode, 0);
    const QByteArray today = germanShortDate(QDate::currentDate()).toLatin1();
    EXPECT_TRUE(parseNewsletter(readAll(output)).html.contains("\n" + today + "\r\n")) << today.constData();
}

TEST_F(Cli, LinkWarningGoesToStandardErrorAndRenderingGoesOn) {
    writeTemplate("www.garten.de\\fest");
    const ProcessResult run = runRenderer(arguments(folder.file("warnung.eml")));
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.err.contains(u"Warnung: Ungültiges Zeichen \"\\\" in der URL www.garten.de\\fest"_qs))
        << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder.file("warnung.eml")));
}

// A file size limit (a full disk, as the process sees it) fails the rendering with a message; it does
// not end the process, and the old message stays.
TEST_F(Cli, AFileSizeLimitGivesTheGermanReason) {
    const QString output = folder.file("alt.eml");
    writeAll(output, "die alte Nachricht");
    QProcess process;
    process.start(u"/bin/sh"_qs, QStringList{u"-c"_qs, u"ulimit -f 2; exec \"$0\" \"$@\""_qs,
                                             QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk-render")} +
                                     arguments(output));
    ASSERT_TRUE(process.waitForFinished(60000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 1) << err.toStdString();
    EXPECT_TRUE(err.contains(u"Die Datei ist zu groß für den Datenträger."_qs)) << err.toStdString();
    EXPECT_EQ(readAll(output), "die alte Nachricht");
}

struct Broken {
    const char* name;
    std::function<QStringList(Cli&, const QString& output)> arguments;
    int exitCode;
    QString error;  // the start of standard error; "{images}" and "{folder}" stand for the test's folders
};

class CliFailures : public Cli, public ::testing::WithParamInterface<Broken> {};

TEST_P(CliFailures, ExitStatusMessageAndNothingChanged) {
    const QString output = folder.file("alt.eml");
    writeAll(output, "die alte Nachricht");
    const QStringList args = GetParam().arguments(*this, output);
    const QMap<QString, QByteArray> before = snapshot(folder.path());
    const ProcessResult run = runRenderer(args);
    EXPECT_EQ(run.exitCode, GetParam().exitCode) << run.err.toStdString();
    EXPECT_TRUE(run.err.startsWith(
        QString(GetParam().error).replace(u"{images}"_qs, images).replace(u"{folder}"_qs, folder.path())))
        << run.err.toStdString();
    const QMap<QString, QByteArray> after = snapshot(folder.path());
    EXPECT_EQ(after.keys(), before.keys());
    for (auto it = before.cbegin(); it != before.cend(); ++it)
        EXPECT_TRUE(after.value(it.key()) == it.value()) << it.key().toStdString() << " changed";
}

const QString kNotFound =
    u"kann nicht geöffnet werden. Das System kann die angegebene Datei nicht finden.\n"_qs;

INSTANTIATE_TEST_SUITE_P(
    Cases, CliFailures,
    ::testing::Values(Broken{"missingBlockPicture",
                             [](Cli& c, const QString& out) {
                                 QFile::remove(c.images + "fest.jpg");
                                 return c.arguments(out);
                             },
                             1, u"Datei {images}fest.jpg "_qs + kNotFound},
                      Broken{"missingTemplate",
                             [](Cli& c, const QString& out) {
                                 QStringList args = c.arguments(out);
                                 args[4] = c.folder.file("fehlt.nld");
                                 return args;
                             },
                             1, u"Datei {folder}fehlt.nld "_qs + kNotFound},
                      Broken{"outputFolderIsAFile",
                             [](Cli& c, const QString&) { return c.arguments(c.templatePath + "/x.eml"); }, 1,
                             u"Datei \"{folder}Sommerfest.nld/x.eml\" kann nicht erstellt werden. "_qs},
                      Broken{"oneArgument",
                             [](Cli& c, const QString&) { return QStringList{c.templatePath}; }, 2,
                             u"zettelwerk-render: Vorlage und Ausgabedatei"_qs},
                      Broken{"emptyOutput", [](Cli& c, const QString&) { return c.arguments(QString()); }, 2,
                             u"zettelwerk-render: Vorlage und Ausgabedatei dürfen nicht leer sein."_qs},
                      Broken{"unknownOption",
                             [](Cli& c, const QString& out) {
                                 return QStringList{u"--datum"_qs, c.templatePath, out};
                             },
                             2, u"zettelwerk-render: Unbekannte Option \"--datum\""_qs},
                      Broken{"dateWithoutValue",
                             [](Cli& c, const QString& out) {
                                 return QStringList{c.templatePath, out, u"--date"_qs};
                             },
                             2, u"zettelwerk-render: Der Option --date fehlt ihr Wert."_qs},
                      Broken{"outputIsTheTemplate",
                             [](Cli& c, const QString&) { return c.arguments(c.templatePath); }, 2,
                             u"zettelwerk-render: Die Ausgabedatei darf nicht die Vorlage selbst sein."_qs},
                      Broken{"missingProgramFolder",
                             [](Cli& c, const QString& out) {
                                 QStringList args = c.arguments(out);
                                 args[1] = c.folder.file("gibt es nicht");
                                 return args;
                             },
                             2, u"zettelwerk-render: Der Programmordner"_qs}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliUsage, HelpIsGerman) {
    const ProcessResult run = runRenderer({u"--help"_qs});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.startsWith(
        u"Aufruf: zettelwerk-render [--program-folder ORDNER] [--date TEXT] VORLAGE AUSGABE"_qs));
}

// The pictures a template's message carries, in part order, read from the folders as the program finds them.
QList<QByteArray> expectedPictures(const QByteArray& templateBytes, const QString& imagesFolder) {
    NewsletterTemplate parsed = parseTemplate(templateBytes);
    resolveSettingPictures(parsed.settings, imagesFolder);
    QList<QByteArray> pictures{readAll(pathFromStored(parsed.settings.KopfLogo))};
    for (const NewsBlock& block : parsed.blocks) {
        pictures.append(readAll(pathFromStored(parsed.settings.SeperatorNews)));
        const QByteArray picture = trimmed8(block.Picture);
        if (!picture.isEmpty())
            pictures.append(readAll(imagesFolder + fromStored(fileNamePart(picture))));
    }
    pictures.append(readAll(pathFromStored(parsed.settings.SeperatorImpressum)));
    return pictures;
}

TEST(CliShipped, EveryShippedTemplateRendersWithAllItsPictures) {
    TempFolder folder;
    const QString program = folder.subfolder(u"Programm"_qs);
    for (QDirIterator it(shippedDataFolder(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString source = it.next();
        const QString target = program + QDir(shippedDataFolder()).relativeFilePath(source);
        QDir().mkpath(QFileInfo(target).absolutePath());
        ASSERT_TRUE(QFile::copy(source, target));
    }
    const QStringList templates =
        listFiles(program, u"*.nld"_qs) + listFiles(program + "Vorlagen", u"*.nld"_qs);
    ASSERT_GE(templates.size(), 2) << "no shipped templates in " << shippedDataFolder().toStdString();
    for (const QString& path : templates) {
        SCOPED_TRACE(path.toStdString());
        const QByteArray templateBytes = readAll(path);
        const QString output = folder.file(QFileInfo(path).completeBaseName() + ".eml");
        const ProcessResult run = runRenderer({u"--program-folder"_qs, program, path, output});
        ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
        const QString subject = fromStored(readSettings(templateBytes).Berteff);
        EXPECT_TRUE(
            isNewsletter(readAll(output), subject, expectedPictures(templateBytes, program + "Images/")));
        // The plain-text alternative carries the header lines and every word of every block's texts, the
        // markup left out (the shipped templates have the phone layout's plain text).
        const NewsletterTemplate parsed = parseTemplate(templateBytes);
        QList<QByteArray> texts{parsed.settings.Titel1, parsed.settings.Titel2};
        for (const NewsBlock& block : parsed.blocks)
            texts << trimmed8(block.Headline) << trimmed8(block.Text);
        const QByteArray plain = parseNewsletter(readAll(output)).plain;
        static const QRegularExpression tag(u"<[^>]*>"_qs);
        for (const QByteArray& text : texts)
            for (const QString& word : QString::fromLatin1(text).replace(tag, u" "_qs).split(u' ', Qt::SkipEmptyParts))
                EXPECT_TRUE(plain.contains(word.toLatin1())) << word.toStdString();
        EXPECT_EQ(readAll(path), templateBytes);
    }
}

}  // namespace
}  // namespace zw::test

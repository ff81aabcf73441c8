// A template named from outside: on the command line, or handed over by a second copy.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTabWidget>
#include <QThread>

#include "AppFixture.h"
#include "platform/Error.h"
#include "platform/FileIo.h"
#include "template/ui/TemplateFilesPart.h"

namespace zw::test {
namespace {

TEST_F(AppTest, ATemplateFromOutsideOpensAsTheOpenCommandWithItsQuestionOrIsRefused) {
    const QString other = documents(u"Anderer.nld"_qs);
    writeAll(other, templateFile("Anderer", {blockSection(1, "A"), blockSection(2, "B")}));
    QList<QList<QByteArray>> tooMany;
    for (int k = 1; k <= 1000; ++k) tooMany.append(blockSection(k, "x"));
    const QString huge = documents(u"Riesig.nld"_qs);
    writeAll(huge, templateFile("Riesig", tooMany));
    TMainForm& f = start();
    const QString started = f.session().CurrentTemplatePath;

    // Refused: nothing asked, nothing changed.
    for (const QString& path : {documents(u"fehlt.nld"_qs), huge}) {
        f.BetreffEdit->setText(u"ungespeichert"_qs);
        EXPECT_THROW(f.templateFiles().openTemplateFile(path, false), Error);
        EXPECT_EQ(prompts.closeQuestions, 0);
        EXPECT_EQ(f.session().CurrentTemplatePath, started);
        EXPECT_EQ(f.BetreffEdit->text(), u"ungespeichert"_qs);
    }
    EXPECT_EQ(readAll(huge), templateFile("Riesig", tooMany));

    // Unsaved changes: the question first; "Abbrechen" keeps the window as it is.
    prompts.closeAnswers = {CloseAnswer::Abort, CloseAnswer::No};
    f.templateFiles().openTemplateFile(other, false);
    EXPECT_EQ(f.session().CurrentTemplatePath, started);
    f.templateFiles().openTemplateFile(other, false);
    EXPECT_EQ(prompts.closeQuestions, 2);
    EXPECT_EQ(f.session().CurrentTemplatePath, other);
    EXPECT_EQ(f.session().SavePath, other);
    EXPECT_EQ(listItems().size(), 2);
    EXPECT_EQ(readAll(program(u"LastFile.ini"_qs)), QFile::encodeName(other) + "\r\n");
    EXPECT_TRUE(f.session().Saved);
}

bool waitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired() && !condition()) QThread::msleep(50);
    return condition();
}

// Two real copies: the second hands its file to the first and ends without a word.
TEST(HandOff, ASecondCopyWithAFileHandsItToTheRunningOneAndEnds) {
    TempFolder folders;
    const QString program = folders.subfolder(u"prog"_qs);
    writeProgramFiles(program);
    const QString binary = program + u"zettelwerk"_qs;
    QFile::copy(QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk"), binary);
    QFile::setPermissions(binary, QFile::permissions(binary) | QFile::ExeOwner);
    writeAll(program + u"Zettelwerk_Vorlage.nld"_qs, templateFile("Test", {blockSection(1, "Eins")}));
    writeAll(program + u"NoTip.ini"_qs, "");
    const QString other = folders.file(u"Anderer.nld"_qs);
    writeAll(other, templateFile("Anderer", {blockSection(1, "A"), blockSection(2, "B")}));

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
    env.insert(u"HOME"_qs, folders.subfolder(u"home"_qs));
    const QString runtime = folders.subfolder(u"runtime"_qs);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(u"XDG_RUNTIME_DIR"_qs, runtime);
    QProcess first, second;
    for (QProcess* p : {&first, &second}) {
        p->setProcessEnvironment(env);
        p->setProgram(binary);
    }
    first.start();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(program + u"Temp001.edt"_qs); }));

    second.setArguments({other});
    second.start();
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardError(), QByteArray());
    EXPECT_TRUE(waitFor([&] { return QFile::exists(program + u"Temp002.edt"_qs); }))
        << "the running copy did not open the handed-over file";
    EXPECT_EQ(readAll(program + u"LastFile.ini"_qs), QFile::encodeName(other) + "\r\n");
    first.kill();
    first.waitForFinished();

    // With no copy running, the file takes the place of the last template.
    writeAll(program + u"LastFile.ini"_qs, "");
    QFile::remove(program + u"Temp002.edt"_qs);
    first.setArguments({other});
    first.start();
    EXPECT_TRUE(waitFor([&] { return QFile::exists(program + u"Temp002.edt"_qs); }));
    first.kill();
    first.waitForFinished();
}

}  // namespace
}  // namespace zw::test

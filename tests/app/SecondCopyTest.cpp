// Two real copies of the program: the second is refused while the first runs, and starts once the
// first has ended.
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include "AppFixture.h"

namespace zw::test {
namespace {

bool waitFor(const std::function<bool()>& condition, int milliseconds = 30000) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        if (condition())
            return true;
        QThread::msleep(50);
    }
    return condition();
}

class SecondCopyTest : public ::testing::Test {
protected:
    SecondCopyTest() {
        writeProgramFiles(program);
        const QString binary = program + u"zettelwerk"_qs;
        QFile::copy(QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk"), binary);
        QFile::setPermissions(binary, QFile::permissions(binary) | QFile::ExeOwner);
        writeAll(program + u"Zettelwerk_Vorlage.nld"_qs, templateFile("Test", {blockSection(1, "Eins")}));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"QT_QPA_PLATFORM"_qs, u"offscreen"_qs);
        env.insert(u"HOME"_qs, folders.subfolder(u"home"_qs));
        const QString runtime = folders.subfolder(u"runtime"_qs);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        env.insert(u"XDG_RUNTIME_DIR"_qs, runtime);
        for (QProcess* p : {&first, &second, &third}) {
            p->setProcessEnvironment(env);
            p->setProgram(binary);
        }
    }
    ~SecondCopyTest() override {
        for (QProcess* p : {&first, &second, &third}) {
            p->kill();
            p->waitForFinished(5000);
        }
    }

    TempFolder folders;
    QString program = folders.subfolder(u"prog"_qs);
    QProcess first, second, third;
};

TEST_F(SecondCopyTest, RefusedWhileTheFirstRunsAndAllowedAfterIt) {
    const QString blockFile = program + u"Temp001.edt"_qs;
    first.start();
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(waitFor([&] { return QFile::exists(blockFile); })) << "the first copy did not start up";

    // A file that any starting copy would delete with the leftover block files.
    const QString planted = program + u"Temp900.edt"_qs;
    writeAll(planted, "x\r\n");
    second.start();
    ASSERT_TRUE(second.waitForStarted());
    QByteArray said;
    EXPECT_TRUE(waitFor([&] {
        second.waitForReadyRead(50);
        said += second.readAllStandardError();
        return said.contains("Zettelwerk ist bereits gestartet!");
    })) << said.toStdString();
    EXPECT_TRUE(said.contains("Application already running!"));
    EXPECT_TRUE(QFile::exists(planted)) << "the refused copy touched the working files";
    second.kill();
    second.waitForFinished();

    // The first copy ends however it ends; the system releases its lock.
    first.kill();
    first.waitForFinished();
    third.start();
    ASSERT_TRUE(third.waitForStarted());
    EXPECT_TRUE(waitFor([&] { return !QFile::exists(planted); })) << "the copy after the first did not start";
    EXPECT_FALSE(third.readAllStandardError().contains("bereits gestartet"));
}

// A second copy with a file hands it to the running one and ends without a word; with no copy running,
// the file takes the place of the last template.
TEST_F(SecondCopyTest, AFileGoesToTheRunningCopy) {
    writeAll(program + u"NoTip.ini"_qs, "");
    const QString other = folders.file(u"Anderer.nld"_qs);
    writeAll(other, templateFile("Anderer", {blockSection(1, "A"), blockSection(2, "B")}));
    first.start();
    ASSERT_TRUE(waitFor([&] { return QFile::exists(program + u"Temp001.edt"_qs); }));

    second.setArguments({other});
    second.start();
    ASSERT_TRUE(second.waitForFinished(30000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(second.readAllStandardError(), QByteArray());
    // Remembered as the last template once it is open (the block files alone could be the old ones).
    const QByteArray remembered = QFile::encodeName(other) + "\r\n";
    EXPECT_TRUE(waitFor([&] { return readAll(program + u"LastFile.ini"_qs) == remembered; }))
        << "the file was not opened";
    first.kill();
    first.waitForFinished();

    writeAll(program + u"LastFile.ini"_qs, "");
    QFile::remove(program + u"Temp002.edt"_qs);
    third.setArguments({other});
    third.start();
    EXPECT_TRUE(waitFor([&] { return QFile::exists(program + u"Temp002.edt"_qs); }));
}

}  // namespace
}  // namespace zw::test

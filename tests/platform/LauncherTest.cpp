#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

#include "platform/Error.h"
#include "platform/Launcher.h"
#include "support/Files.h"

namespace zw {
namespace {

// A stand-in program on PATH: records its arguments, then behaves as the script says.
class LauncherTest : public ::testing::Test {
protected:
    LauncherTest() : oldPath_(qgetenv("PATH")) { qputenv("PATH", (bin_ + u':').toUtf8() + oldPath_); }
    ~LauncherTest() override { qputenv("PATH", oldPath_); }

    void script(const QString& name, const QByteArray& behaviour) {
        const QString path = bin_ + u'/' + name;
        test::writeAll(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record_) + "'\n" +
                                 behaviour + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    // Runs the launch and waits for its outcome.
    std::optional<bool> outcome(const std::function<void(Launcher::Done)>& launch) {
        std::optional<bool> result;
        QEventLoop loop;
        QTimer::singleShot(10000, &loop, &QEventLoop::quit);
        launch([&](bool started) {
            result = started;
            loop.quit();
        });
        if (!result)
            loop.exec();
        return result;
    }
    QString recorded() const { return QString::fromUtf8(test::readAll(record_)); }

    test::TempFolder folder_;
    QString bin_ = folder_.subfolder(u"bin"_qs);
    QString record_ = folder_.path() + u"args"_qs;
    QByteArray oldPath_;
    Launcher launcher_;
};

TEST_F(LauncherTest, OutcomeFollowsTheProgramWithinTheGracePeriod) {
    const struct {
        QByteArray behaviour;
        bool started;
    } rows[] = {{"exit 0", true}, {"exit 3", false}, {"kill -9 $$", false}, {"sleep 4", true}};
    for (const auto& row : rows) {
        script(u"xdg-open"_qs, row.behaviour);
        EXPECT_EQ(outcome([&](auto done) { launcher_.open(u"https://example.org/a b"_qs, done); }),
                  row.started)
            << row.behaviour.constData();
        EXPECT_EQ(recorded(), u"https://example.org/a b\n"_qs);
    }
}

TEST_F(LauncherTest, LocalFilesGoAsAbsolutePathsMissingOnesFail) {
    script(u"xdg-open"_qs, "exit 0");
    const QString file = folder_.path() + u"-preview 1.eml"_qs;
    test::writeAll(file, "x");
    QDir::setCurrent(folder_.path());
    EXPECT_EQ(outcome([&](auto done) { launcher_.open(u"-preview 1.eml"_qs, done); }), true);
    EXPECT_EQ(recorded(), QDir(folder_.path()).absoluteFilePath(u"-preview 1.eml"_qs) + u'\n');

    QFile::remove(record_);
    EXPECT_EQ(outcome([&](auto done) { launcher_.open(folder_.path() + u"missing.html"_qs, done); }), false);
    EXPECT_FALSE(QFile::exists(record_));
}

TEST_F(LauncherTest, RefusesOtherAddressesWithoutStartingAnything) {
    script(u"xdg-open"_qs, "exit 0");
    for (const QString& target :
         {u"javascript:alert(1)"_qs, u"ftp://example.org/x"_qs, u"smb://host/share"_qs}) {
        bool called = false;
        EXPECT_THROW(launcher_.open(target, [&](bool) { called = true; }), Error) << target.toStdString();
        EXPECT_FALSE(called);
    }
    EXPECT_FALSE(QFile::exists(record_));
}

TEST_F(LauncherTest, MissingProgramFailsAndArgumentsPassUnchanged) {
    EXPECT_EQ(outcome([&](auto done) { launcher_.start(u"no-such-program-zw"_qs, {}, done); }), false);
    script(u"wine"_qs, "exit 0");
    EXPECT_EQ(
        outcome([&](auto done) { launcher_.start(u"wine"_qs, {u"c:\\Programme\\A B\\x.exe; rm"_qs}, done); }),
        true);
    EXPECT_EQ(recorded(), u"c:\\Programme\\A B\\x.exe; rm\n"_qs);
}

// A program still running when the launcher goes lives on, and its outcome reaches nobody: whoever
// waited for it may be gone too.
TEST_F(LauncherTest, NoOutcomeReachesAnyoneAfterTheLauncherIsGone) {
    script(u"xdg-open"_qs, "sleep 4");
    bool called = false;
    {
        Launcher shortLived;
        shortLived.open(u"https://example.org/"_qs, [&](bool) { called = true; });
    }
    QEventLoop loop;
    QTimer::singleShot(2500, &loop, &QEventLoop::quit);  // past the grace period
    loop.exec();
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace zw

#include <QProcess>

#include <gtest/gtest.h>

#include <memory>

#include "platform/SingleInstance.h"
#include "support/Files.h"

namespace zw {
namespace {

// A copy of the program as far as the lock is concerned: a real second process that takes the lock
// in the given folder, says whether it got it, and keeps it until its standard input is closed.
class LockHolder {
public:
    explicit LockHolder(const QString& folder) {
        process_.setProgram(QStringLiteral(ZW_LOCK_HOLDER));
        process_.setArguments({folder});
        process_.start();
    }
    ~LockHolder() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(5000);
        }
    }

    // "locked" or "refused", or what went wrong.
    QString answer() {
        if (!process_.waitForStarted(5000)) return QStringLiteral("did not start");
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(5000)) return QStringLiteral("no answer");
        }
        return QString::fromLatin1(process_.readLine()).trimmed();
    }

    bool endNormally() {
        process_.closeWriteChannel();
        return process_.waitForFinished(5000) && process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

    bool die() {
        process_.kill();
        return process_.waitForFinished(5000);
    }

private:
    QProcess process_;
};

struct EndRow {
    const char* name;
    bool killed;
};

class SingleInstanceLock : public ::testing::TestWithParam<EndRow> {};

TEST_P(SingleInstanceLock, RefusesASecondCopyWhileTheFirstRunsAndAllowsOneAfterItEnded) {
    test::TempFolder folder;

    LockHolder first(folder.path());
    ASSERT_EQ(first.answer(), QStringLiteral("locked"));

    LockHolder second(folder.path());
    EXPECT_EQ(second.answer(), QStringLiteral("refused"));
    EXPECT_TRUE(second.endNormally());

    // This process is another copy too.
    SingleInstance here(QStringLiteral("Zettelwerk"), folder.path());
    EXPECT_FALSE(here.acquire());

    // However the first copy ends, the system releases its lock.
    ASSERT_TRUE(GetParam().killed ? first.die() : first.endNormally());

    LockHolder third(folder.path());
    EXPECT_EQ(third.answer(), QStringLiteral("locked"));
    EXPECT_TRUE(third.endNormally());
}

INSTANTIATE_TEST_SUITE_P(Ends, SingleInstanceLock,
                         ::testing::Values(EndRow{"Normally", false}, EndRow{"Killed", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SingleInstance, ReleasesTheLockWhenDestroyed) {
    test::TempFolder folder;
    {
        SingleInstance running(QStringLiteral("Zettelwerk"), folder.path());
        ASSERT_TRUE(running.acquire());
        LockHolder other(folder.path());
        EXPECT_EQ(other.answer(), QStringLiteral("refused"));
        EXPECT_TRUE(other.endNormally());
    }
    LockHolder after(folder.path());
    EXPECT_EQ(after.answer(), QStringLiteral("locked"));
    EXPECT_TRUE(after.endNormally());
}

TEST(SingleInstance, CopiesWithLocksInDifferentFoldersDoNotMeet) {
    test::TempFolder one;
    test::TempFolder two;
    LockHolder first(one.path());
    ASSERT_EQ(first.answer(), QStringLiteral("locked"));
    LockHolder second(two.path());
    EXPECT_EQ(second.answer(), QStringLiteral("locked"));
    EXPECT_TRUE(first.endNormally());
    EXPECT_TRUE(second.endNormally());
}

}  // namespace
}  // namespace zw

// The single-instance lock between real processes. (A copy that is killed: see the app's second-copy
// test, which runs the program itself.)
#include <QProcess>

#include <gtest/gtest.h>

#include "platform/SingleInstance.h"
#include "support/Files.h"

namespace zw::test {
namespace {

// A copy of the program as far as the lock is concerned: a second process that takes the lock in the
// given folder, says "locked" or "refused", and keeps it until its standard input is closed.
class LockHolder {
public:
    explicit LockHolder(const QString& folder) { process_.start(QStringLiteral(ZW_LOCK_HOLDER), {folder}); }
    ~LockHolder() {
        process_.kill();
        process_.waitForFinished(5000);
    }
    QString answer() {
        if (!process_.waitForStarted(5000)) return u"did not start"_qs;
        while (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(5000)) return u"no answer"_qs;
        }
        return QString::fromLatin1(process_.readLine()).trimmed();
    }
    bool end() {
        process_.closeWriteChannel();
        return process_.waitForFinished(5000) && process_.exitStatus() == QProcess::NormalExit &&
               process_.exitCode() == 0;
    }

private:
    QProcess process_;
};

TEST(SingleInstance, OneCopyPerFolderUntilItEnds) {
    TempFolder folder, other;
    LockHolder first(folder.path());
    ASSERT_EQ(first.answer(), u"locked"_qs);
    LockHolder second(folder.path());
    EXPECT_EQ(second.answer(), u"refused"_qs);
    LockHolder elsewhere(other.path());
    EXPECT_EQ(elsewhere.answer(), u"locked"_qs);  // copies with locks in different folders do not meet
    EXPECT_FALSE(SingleInstance(u"Zettelwerk"_qs, folder.path()).acquire());  // this process is another copy

    ASSERT_TRUE(first.end());
    {
        SingleInstance here(u"Zettelwerk"_qs, folder.path());
        ASSERT_TRUE(here.acquire());
        LockHolder third(folder.path());
        EXPECT_EQ(third.answer(), u"refused"_qs);
    }
    LockHolder fourth(folder.path());  // the lock went with the object that held it
    EXPECT_EQ(fourth.answer(), u"locked"_qs);
    EXPECT_TRUE(fourth.end());
}

}  // namespace
}  // namespace zw::test

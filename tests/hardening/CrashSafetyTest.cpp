// A save killed at any moment: every file is the old one or the new one, and the program starts on
// what is left.
#include <QElapsedTimer>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <thread>
#include <vector>

#include "ChildRun.h"
#include "platform/FileIo.h"

namespace zw::test {
namespace {

constexpr unsigned kSeed = 20261207;
constexpr int kMoments = 200;

// Starts a save and returns once the child says it begins.
void startSave(QProcess& child, const Workspace& ws) {
    child.start(QStringLiteral(ZW_HARDENING_CHILD), {u"save"_qs, ws.prog, ws.docs});
    QByteArray out;
    while (!out.contains("ready\n") && child.waitForReadyRead(30000)) out += child.readAllStandardOutput();
}

// How long a save takes, in microseconds: from the child's "ready" to the end of its report.
qint64 saveSpan(const Workspace& ws) {
    QProcess child;
    startSave(child, ws);
    QElapsedTimer clock;
    clock.start();
    QByteArray out;
    while (!out.contains("items:") && child.waitForReadyRead(30000)) out += child.readAllStandardOutput();
    const qint64 span = clock.nsecsElapsed() / 1000;
    child.waitForFinished(30000);
    return span;
}

// Starts a save and kills the process delay microseconds after it began.
void killSaveAfter(const Workspace& ws, int delay) {
    QProcess child;
    startSave(child, ws);
    std::this_thread::sleep_for(std::chrono::microseconds(delay));
    child.kill();
    child.waitForFinished(30000);
}

TEST(CrashSafety, ASaveKilledAtAnyMomentLeavesEachFileOldOrNew) {
    Workspace ws;
    ASSERT_EQ(runChild(u"start"_qs, ws).items, 3);
    const Snapshot before = ws.snapshot();
    const ChildResult saved = runChild(u"save"_qs, ws);
    ASSERT_TRUE(saved.done && saved.errors.isEmpty()) << saved.errors.join(u'\n').toStdString();
    const Snapshot after = ws.snapshot();
    ASSERT_NE(after, before);
    // The kills fall inside the save itself, not in the start-up before it. Its length is the median
    // of a few saves: a busy machine stretches one now and then.
    std::vector<qint64> spans;
    for (int i = 0; i < 5; ++i) {
        ws.restore(before);
        spans.push_back(saveSpan(ws));
    }
    std::sort(spans.begin(), spans.end());
    const qint64 span = spans[spans.size() / 2];

    std::mt19937 random(kSeed);
    std::uniform_int_distribution<int> moment(0, int(span));
    for (int i = 0; i < kMoments; ++i) {
        ws.restore(before);
        const int delay = moment(random);
        killSaveAfter(ws, delay);
        const Snapshot left = ws.snapshot();
        QStringList names = before.keys() + after.keys() + left.keys();
        names.removeDuplicates();
        for (const QString& name : names) {
            if (name.endsWith(QLatin1String(kInterruptedWriteSuffix)))
                continue;
            // The renderer's scratch files hold one picture after the other: whole, never the result.
            if (name == u"prog/temp.mim" || name.contains(u"/m_"))
                continue;
            const bool ok = left.contains(name) ? (before.contains(name) && left[name] == before[name]) ||
                                                      (after.contains(name) && left[name] == after[name])
                                                : !before.contains(name) || !after.contains(name);
            ASSERT_TRUE(ok) << name.toStdString() << " after a kill at " << delay << " us of " << span
                            << " (moment " << i << ", seed " << kSeed << ")";
        }
        // Every kill is followed by a start on what it left.
        const ChildResult restart = runChild(u"start"_qs, ws);
        ASSERT_TRUE(restart.done && restart.errors.isEmpty() && restart.items == 3)
            << "no normal start after a kill at " << delay << " us (moment " << i << ", seed " << kSeed
            << ")";
        for (const QString& name : ws.snapshot().keys())
            ASSERT_FALSE(name.startsWith(u"prog/") && name.endsWith(QLatin1String(kInterruptedWriteSuffix)))
                << name.toStdString();
    }
}

}  // namespace
}  // namespace zw::test

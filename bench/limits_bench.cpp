// What keeping the hourly and daily limits costs per message: the send log looks at the other
// campaigns' journals, counts the rolling hour and day and notes the message, with a full day of 2,000
// messages in this campaign and 2,000 in another one of the same folder. The floor is the journal
// record that every message writes and syncs anyway.
#include <QDir>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "send/CampaignFiles.h"
#include "send/Journal.h"
#include "send/SenderLimits.h"

namespace zw::send {
namespace {

constexpr int kPerDay = 2000;

// A journal of a day's messages, each started and sent, spread over the last 24 hours.
void writeDay(const QString& folder, const QDateTime& now) {
    QDir().mkpath(folder);
    QList<JournalRecord> records;
    for (int i = 0; i < kPerDay; ++i) {
        const QDateTime at = now.addMSecs(-qint64(24) * 3600 * 1000 + qint64(i + 1) * 43'000);
        records.append({JournalRecord::Sending, i, at, {}});
        records.append({JournalRecord::Sent, i, at, QStringLiteral("250 2.0.0 Ok: queued as 4B7F21A0C3")});
    }
    Journal(folder + u'/' + kJournalFile).append(records);
}

void LimitsPerMessage(benchmark::State& state) {
    QTemporaryDir dir;
    const QString campaigns = dir.path() + QStringLiteral("/Versand");
    const QDateTime now = QDateTime::currentDateTime();
    writeDay(campaigns + QStringLiteral("/eigener"), now);
    writeDay(campaigns + QStringLiteral("/anderer"), now);
    SendLog log(campaigns, campaigns + QStringLiteral("/eigener"), now);
    qint64 step = 0;
    for (auto _ : state) {
        // One message every 43 seconds, as 2,000 a day send.
        const QDateTime t = now.addMSecs(++step * 43'000);
        log.refresh(t);
        benchmark::DoNotOptimize(log.nextAllowed(t, 0, 2 * kPerDay));
        log.note(t);
    }
}
BENCHMARK(LimitsPerMessage)->Unit(benchmark::kMicrosecond);

void LimitsFloorJournalRecord(benchmark::State& state) {
    QTemporaryDir dir;
    Journal journal(dir.filePath(QLatin1String(kJournalFile)));
    qsizetype index = 0;
    for (auto _ : state)
        journal.append({{JournalRecord::Sending, index++, QDateTime::currentDateTime(), {}}});
}
BENCHMARK(LimitsFloorJournalRecord)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace zw::send

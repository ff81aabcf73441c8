// Reading a recipient list of 100,000 rows, as a spreadsheet exports a club's members (a header, names
// with umlauts, a quoted cell with the separator in it) and as a plain file of addresses, beside the
// floors: splitting the same bytes into lines, and reading the file. peak_growth_MB is what the
// reading adds to the resident memory at its peak.
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <malloc.h>

#include "send/RecipientList.h"

namespace zw::send {
namespace {

constexpr int kRows = 100000;

QByteArray memberTable() {
    QByteArray bytes = "Vorname;Nachname;E-Mail;Ort\r\n";
    for (int i = 0; i < kRows; ++i) {
        bytes += "J\xC3\xBCrgen;M\xC3\xBCller-" + QByteArray::number(i) + ";juergen.mueller" +
                 QByteArray::number(i) + "@beispiel-verein.de;" +
                 (i % 3 ? "Bad Homburg\r\n" : "\"Halle (Saale); Neustadt\"\r\n");
    }
    return bytes;
}

QByteArray plainList() {
    QByteArray bytes;
    for (int i = 0; i < kRows; ++i) bytes += "mitglied" + QByteArray::number(i) + "@beispiel-verein.de\n";
    return bytes;
}

const QByteArray& table() {
    static const QByteArray bytes = memberTable();
    return bytes;
}

const QByteArray& plain() {
    static const QByteArray bytes = plainList();
    return bytes;
}

qint64 statusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

void read(benchmark::State& state, const QByteArray& bytes) {
    double peakGrowth = 0;
    qsizetype taken = 0;
    for (auto _ : state) {
        // What earlier rounds freed goes back to the system, and the high-water mark starts again.
        malloc_trim(0);
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        const bool measured = clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
        const qint64 before = statusKiB("VmRSS:");
        const RecipientList list = readRecipientList(bytes);
        if (measured)
            peakGrowth = std::max(peakGrowth, double(statusKiB("VmHWM:") - before) / 1024);
        taken = list.recipients.size();
    }
    if (taken != kRows)
        state.SkipWithError("not every row taken");
    state.SetBytesProcessed(state.iterations() * bytes.size());
    state.counters["input_MB"] = double(bytes.size()) / 1e6;
    state.counters["peak_growth_MB"] = peakGrowth;
}

void splitLines(benchmark::State& state, const QByteArray& bytes) {
    for (auto _ : state) benchmark::DoNotOptimize(bytes.split('\n').size());
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_ReadMemberTable(benchmark::State& state) {
    read(state, table());
}
void BM_FloorSplitMemberTable(benchmark::State& state) {
    splitLines(state, table());
}
void BM_ReadPlainList(benchmark::State& state) {
    read(state, plain());
}
void BM_FloorSplitPlainList(benchmark::State& state) {
    splitLines(state, plain());
}

// From the disk (the page cache, after the first round), as the command line and the window read it.
struct ListFile {
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("mitglieder.csv"));
    ListFile() {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(table()) != table().size())
            throw std::runtime_error("cannot write the list");
    }
};

const QString& listFile() {
    static const ListFile file;
    return file.path;
}

void BM_ReadMemberFile(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(readRecipientFile(listFile()).recipients.size());
}
void BM_FloorReadFile(benchmark::State& state) {
    for (auto _ : state) {
        QFile file(listFile());
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("cannot read the list");
        benchmark::DoNotOptimize(file.readAll().size());
    }
}

BENCHMARK(BM_ReadMemberTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorSplitMemberTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPlainList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorSplitPlainList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadMemberFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FloorReadFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zw::send

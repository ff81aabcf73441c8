// Sending 1,000 copies of the shipped default newsletter through SmtpTransport to the local test
// server (aiosmtpd, STARTTLS, login), beside its floor: Python's smtplib sending the same prepared
// message to the same recipients over one connection to the same server. Both are timed from
// connecting to the end of the last message; the server keeps every message, for both alike.
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include <unistd.h>

#include "SilentPrompts.h"
#include "render/RenderInput.h"
#include "render/RenderMessage.h"
#include "send/SmtpTransport.h"
#include "support/SmtpTestServer.h"
#include "template/BlockCycle.h"

namespace zw {
namespace {

constexpr int kMessages = 1000;

// The shipped default newsletter rendered once, as a file for the floor and as bytes for us.
struct PreparedNewsletter {
    QTemporaryDir dir;
    QString path;
    QByteArray bytes;

    PreparedNewsletter() {
        const QString work = dir.path() + u'/';
        const QString data = QStringLiteral(ZW_SOURCE_DIR "/data/");
        const QString images = data + QStringLiteral("Images/");
        SilentPrompts prompts;
        const RebuildResult loaded =
            loadTemplate(data + QStringLiteral("Zettelwerk_Vorlage.nld"), images, BlockFiles(work));
        RenderInput input = renderInputFromSettings(loaded.settings, "01.12.2026", work, images);
        input.copyFolder = work;
        path = work + QStringLiteral("newsletter.eml");
        RenderMessage(input, path, prompts);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw std::runtime_error("no rendered newsletter");
        bytes = file.readAll();
    }
};

PreparedNewsletter& newsletter() {
    static PreparedNewsletter instance;
    return instance;
}

QByteArray recipient(int k) {
    return "leser" + QByteArray::number(k) + "@example.net";
}

// The processor seconds a process has used so far (user and system), from /proc.
double cpuSeconds(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // Fields after the command name in parentheses: state is the 3rd, utime the 14th, stime the 15th.
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    return fields.size() > 12
               ? double(fields[11].toLongLong() + fields[12].toLongLong()) / sysconf(_SC_CLK_TCK)
               : 0;
}

// Wall time is what the ratio is about; on a busy machine it is noisy, so the processor time of the
// sender and of the server are reported beside it.
struct Round {
    double wall = 0;
    double clientCpu = 0;
    double serverCpu = 0;
};

void report(benchmark::State& state, const Round& total) {
    const double rounds = double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kMessages);
    state.SetBytesProcessed(state.iterations() * kMessages * newsletter().bytes.size());
    state.counters["message_KB"] = double(newsletter().bytes.size()) / 1024;
    state.counters["sender_cpu_s"] = total.clientCpu / rounds;
    state.counters["server_cpu_s"] = total.serverCpu / rounds;
}

void BM_SendNewsletterSmtpTransport(benchmark::State& state) {
    const QByteArray& message = newsletter().bytes;
    Round total;
    for (auto _ : state) {
        // A fresh server each round, so that every round starts alike.
        test::SmtpTestServer server;
        const double serverBefore = cpuSeconds(server.processId());
        const double clientBefore = cpuSeconds(getpid());
        QElapsedTimer timer;
        timer.start();
        send::SmtpTransport transport(server.profile(), QString::fromLatin1(test::SmtpTestServer::kPassword));
        for (int k = 1; k <= kMessages; ++k) {
            const send::SendResult r = transport.send(recipient(k), message);
            if (r.outcome != send::Outcome::Sent)
                throw std::runtime_error(r.message.toStdString());
        }
        const double wall = double(timer.nsecsElapsed()) / 1e9;
        state.SetIterationTime(wall);
        total.clientCpu += cpuSeconds(getpid()) - clientBefore;
        total.serverCpu += cpuSeconds(server.processId()) - serverBefore;
        if (server.connections() != 1 || server.received().size() != kMessages)
            throw std::runtime_error("not every message over one connection");
    }
    report(state, total);
}

void BM_SendNewsletterPythonSmtplibFloor(benchmark::State& state) {
    Round total;
    for (auto _ : state) {
        test::SmtpTestServer server;
        const double serverBefore = cpuSeconds(server.processId());
        QProcess floor;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZW_SMTP_TEST_PASSWORD"),
                           QString::fromLatin1(test::SmtpTestServer::kPassword));
        floor.setProcessEnvironment(environment);
        floor.start(QStringLiteral("/usr/bin/python3"),
                    {QStringLiteral(ZW_SOURCE_DIR "/bench/smtp_floor.py"), QString::number(server.port()),
                     test::SmtpTestServer::caFile(), QString::fromLatin1(test::SmtpTestServer::kUser),
                     newsletter().path, QString::number(kMessages)});
        if (!floor.waitForFinished(600000) || floor.exitCode() != 0)
            throw std::runtime_error("smtplib floor failed: " + floor.readAllStandardError().toStdString());
        // The floor reports its own wall and processor seconds, from connecting to the goodbye.
        const QList<QByteArray> times = floor.readAllStandardOutput().trimmed().split(' ');
        state.SetIterationTime(times.value(0).toDouble());
        total.clientCpu += times.value(1).toDouble();
        total.serverCpu += cpuSeconds(server.processId()) - serverBefore;
        if (server.received().size() != kMessages)
            throw std::runtime_error("the floor did not deliver every message");
    }
    report(state, total);
}

// Run with --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true on a busy machine:
// the rounds of both then alternate, and the medians compare.
BENCHMARK(BM_SendNewsletterSmtpTransport)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_SendNewsletterPythonSmtplibFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
}  // namespace zw

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

void report(benchmark::State& state, int messages) {
    state.SetItemsProcessed(state.iterations() * messages);
    state.SetBytesProcessed(state.iterations() * messages * newsletter().bytes.size());
    state.counters["message_KB"] = double(newsletter().bytes.size()) / 1024;
}

void BM_SendNewsletterSmtpTransport(benchmark::State& state) {
    const QByteArray& message = newsletter().bytes;
    for (auto _ : state) {
        // A fresh server each round, so that both rounds start alike.
        test::SmtpTestServer server;
        QElapsedTimer timer;
        timer.start();
        send::SmtpTransport transport(server.profile(), QString::fromLatin1(test::SmtpTestServer::kPassword));
        for (int k = 1; k <= kMessages; ++k) {
            const send::SendResult r = transport.send(recipient(k), message);
            if (r.outcome != send::Outcome::Sent)
                throw std::runtime_error(r.message.toStdString());
        }
        state.SetIterationTime(double(timer.nsecsElapsed()) / 1e9);
        if (server.connections() != 1 || server.received().size() != kMessages)
            throw std::runtime_error("not every message over one connection");
    }
    report(state, kMessages);
}

void BM_SendNewsletterPythonSmtplibFloor(benchmark::State& state) {
    for (auto _ : state) {
        test::SmtpTestServer server;
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
        state.SetIterationTime(floor.readAllStandardOutput().trimmed().toDouble());
        if (server.received().size() != kMessages)
            throw std::runtime_error("the floor did not deliver every message");
    }
    report(state, kMessages);
}

BENCHMARK(BM_SendNewsletterSmtpTransport)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SendNewsletterPythonSmtplibFloor)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace zw

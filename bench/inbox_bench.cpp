// Checking an inbox of 5,000 messages, 500 of them bounces of a campaign, against the local test IMAP
// server (Dovecot, IMAPS), from an empty state each round, beside its floor: curl fetching the
// headers of the same 5,000 messages from the same server over one connection. The check reads every
// header and then, whole, the messages that may be a bounce or a request.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <stdexcept>

#include "inbox/ImapSession.h"
#include "inbox/InboxCheck.h"
#include "inbox/InboxTestSupport.h"
#include "support/ImapTestServer.h"

namespace zw {
namespace {

constexpr int kMessages = 5000;
constexpr int kBounces = 500;
constexpr int kListSize = 1000;  // the campaign's list: the bounced addresses and others

QString member(int k) {
    return QStringLiteral("mitglied%1@example.net").arg(k);
}

// The server filled once: bounces for the first members of the list, replies of other members,
// holiday notices and the rest mail from people outside the list.
struct FilledInbox {
    test::ImapTestServer server;
    QTemporaryDir work;

    FilledInbox() {
        QStringList list;
        for (int k = 0; k < kListSize; ++k) list << member(k);
        const auto ids = test::sendCampaign(work.path(), QStringLiteral("Jahresbericht"), list);
        for (int n = 0; n < kMessages; ++n) {
            if (n % 10 == 0) {
                const QString to = member(n / 10);
                server.deliver(test::returning(test::failedDsn(to, "5.1.1"), ids.value(to)));
            } else if (n % 10 == 1) {
                server.deliver(test::samples::mail(
                    "From: " + member(500 + n % 500).toUtf8() + "\r\nSubject: Re: Jahresbericht\r\n",
                    "Danke für den Bericht!\r\n"));
            } else if (n % 10 == 2) {
                server.deliver(test::samples::mail("From: urlaub" + QByteArray::number(n) +
                                                       "@example.com\r\nSubject: Abwesenheitsnotiz\r\n"
                                                       "Auto-Submitted: auto-replied\r\n",
                                                   "Bin bis Montag weg.\r\n"));
            } else {
                server.deliver(test::samples::mail(
                    "From: freund" + QByteArray::number(n) + "@example.com\r\nSubject: Vereinsfest " +
                        QByteArray::number(n) + "\r\n",
                    QByteArray("Hallo, wer bringt die Bänke mit? ").repeated(20) + "\r\n"));
            }
        }
        // The server's index of the Maildir is built once, before anything is timed.
        session()->examine();
    }

    std::unique_ptr<inbox::ImapSession> session() const {
        return std::make_unique<inbox::ImapSession>(
            inbox::imapAccount(server.profile(), QString::fromLatin1(test::ImapTestServer::kPassword)));
    }
};

FilledInbox& inboxWith5000() {
    static FilledInbox instance;
    return instance;
}

void Inbox_Check5000(benchmark::State& state) {
    FilledInbox& inbox = inboxWith5000();
    const QString statePath = QDir(inbox.work.path()).filePath(QLatin1String(inbox::kInboxStateFileName));
    qsizetype found = 0, whole = 0;
    for (auto _ : state) {
        QFile::remove(statePath);  // every round reads the whole inbox
        auto session = inbox.session();
        const inbox::CheckResult result =
            inbox::checkInbox(inbox.work.path(), QStringLiteral("bench"), *session, {});
        found = result.items.size();
        whole = result.fetchedWhole;
        if (result.newMessages != kMessages)
            state.SkipWithError("not every message was read");
    }
    state.counters["findings"] = double(found);
    state.counters["fetched_whole"] = double(whole);
}

// The floor: curl fetching the header of each of the 5,000 messages by its URL
// (".../INBOX;UID=n;SECTION=HEADER"), all in one run that keeps its one connection, the output thrown
// away. (One FETCH command for all the headers, as the check sends, curl refuses: it takes at most
// 300 KB of answer to a command of its own.)
void Inbox_Floor_CurlHeaders5000(benchmark::State& state) {
    FilledInbox& inbox = inboxWith5000();
    QByteArray config;
    for (int uid = 1; uid <= kMessages; ++uid)
        config += "url = \"imaps://localhost:" + QByteArray::number(inbox.server.imapsPort()) +
                  "/INBOX;UID=" + QByteArray::number(uid) + ";SECTION=HEADER\"\noutput = /dev/null\n";
    const QString configPath = inbox.work.filePath(QStringLiteral("curl-urls.txt"));
    QFile file(configPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(config) != config.size())
        throw std::runtime_error("cannot write curl's list of addresses");
    file.close();
    const QStringList arguments = {
        QStringLiteral("--silent"),
        QStringLiteral("--show-error"),
        QStringLiteral("--cacert"),
        inbox.server.profile().caFile,
        QStringLiteral("--user"),
        QStringLiteral("versand:") + QString::fromLatin1(test::ImapTestServer::kPassword),
        QStringLiteral("--config"),
        configPath};
    for (auto _ : state) {
        QProcess curl;
        curl.start(QStringLiteral("curl"), arguments);
        if (!curl.waitForFinished(600000) || curl.exitCode() != 0) {
            static QByteArray why;
            why = "curl failed: " + curl.readAllStandardError().left(300);
            state.SkipWithError(why.constData());
        }
    }
}

BENCHMARK(Inbox_Check5000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(Inbox_Floor_CurlHeaders5000)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
}  // namespace zw

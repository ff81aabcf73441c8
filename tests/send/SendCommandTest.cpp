// zettelwerk-send as a user runs it: real processes against the real test server.
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <random>

#include <signal.h>

#include "send/Campaign.h"
#include "send/CampaignTexts.h"
#include "send/Journal.h"
#include "send/SendTestSupport.h"
#include "send/SenderLimits.h"
#include "send/SenderProfile.h"
#include "support/Files.h"
#include "support/MimeCheck.h"
#include "support/SmtpTestServer.h"

namespace zw::test {
namespace {

// A server on this machine without TLS and login: the quickest for many messages.
SmtpTestServer::Options plainLocalServer() {
    SmtpTestServer::Options options;
    options.security = TestSecurity::None;
    options.login = false;
    return options;
}

struct ToolRun {
    int exitCode = -1;
    QString err;
};

class SendCommand : public ::testing::Test {
public:
    SendCommand() {
        QDir().mkpath(program.subfolder(QStringLiteral("Images")));
        for (const QString& name :
             QDir(shippedDataFolder() + QStringLiteral("Images")).entryList(QDir::Files))
            QFile::copy(shippedDataFolder() + QStringLiteral("Images/") + name,
                        program.path() + QStringLiteral("Images/") + name);
        templatePath = writeShippedTemplate(files.path());
    }

    void useServer(const SmtpTestServer& server) { send::saveProfile(server.profile(), profilePath()); }
    QString profilePath() const { return files.file(QStringLiteral("profil.ini")); }

    QString writeList(int count, const QByteArray& extraRows = {}) {
        QByteArray csv = "Vorname;Nachname;E-Mail\r\n";
        for (int i = 0; i < count; ++i)
            csv +=
                "Anna;Nummer " + QByteArray::number(i) + ";anna" + QByteArray::number(i) + "@example.org\r\n";
        csv += extraRows;
        writeAll(files.file(QStringLiteral("liste.csv")), csv);
        return files.file(QStringLiteral("liste.csv"));
    }

    QProcess* start(const QStringList& arguments) {
        auto* process = new QProcess;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("ZETTELWERK_SMTP_PASSWORD"),
                           QLatin1String(SmtpTestServer::kPassword));
        // No secret store may answer instead of the variable.
        environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk-send"),
                       QStringList{QStringLiteral("--program-folder"), program.path(),
                                   QStringLiteral("--profile"), profilePath()} +
                           arguments);
        return process;
    }

    ToolRun run(const QStringList& arguments) {
        std::unique_ptr<QProcess> process(start(arguments));
        if (!process->waitForFinished(120000) || process->exitStatus() != QProcess::NormalExit)
            return {};
        return {process->exitCode(), QString::fromUtf8(process->readAllStandardError())};
    }

    QStringList campaignFolders() const {
        QStringList folders;
        for (const send::CampaignStatus& status : send::listCampaigns(program.path()))
            folders.append(status.folder);
        return folders;
    }

    TempFolder program, files;
    QString templatePath;
};

TEST_F(SendCommand, CampaignReachesEveryoneWithTheirOwnHeaderAndReportsTheRefused) {
    SmtpTestServer server;
    useServer(server);
    SmtpFaults faults;
    faults.refused = {"anna3@example.org"};
    server.setFaults(faults);
    writeAll(files.file(QStringLiteral("sperre.txt")), "ANNA5@example.org\n");
    const ToolRun result = run({QStringLiteral("--exclude"), files.file(QStringLiteral("sperre.txt")),
                                templatePath, writeList(8, "Kaputt;Zeile;keine adresse\r\n")});

    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("Liste, Zeile 10 nicht übernommen")))
        << result.err.toStdString();
    EXPECT_TRUE(result.err.contains(QStringLiteral("Gesendet: 6, fehlgeschlagen: 1, ausstehend: 0 (von 7)")));
    const QList<ReceivedMessage> received = server.received();
    ASSERT_EQ(received.size(), 6);
    for (const ReceivedMessage& message : received) {
        ASSERT_EQ(message.recipients.size(), 1);
        const ParsedHeader header = parseHeader(message.content);
        EXPECT_EQ(header.toAddress.toUtf8(), message.recipients[0]);
        EXPECT_EQ(header.fromName, QStringLiteral("Turnverein Müggelsee"));
        EXPECT_EQ(header.fromAddress, QStringLiteral("versand@example.org"));
        EXPECT_EQ(header.date.date(), QDate::currentDate());
        EXPECT_TRUE(header.messageId.endsWith(QStringLiteral("@example.org")));
        EXPECT_TRUE(message.content.contains("\r\nList-Unsubscribe: <http://"));
        const MimeNewsletter parsed = parseNewsletter(message.content);
        EXPECT_TRUE(parsed.problems.isEmpty()) << parsed.problems.join(u'\n').toStdString();
    }
    const QByteArray report = readAll(campaignFolders().value(0) + QStringLiteral("/bericht.csv"));
    EXPECT_TRUE(report.contains("anna3@example.org;fehlgeschlagen;550")) << report.constData();

    // The password is in no file we wrote and in nothing we printed.
    EXPECT_FALSE(result.err.contains(QLatin1String(SmtpTestServer::kPassword)));
    for (QDirIterator it(program.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
         it.hasNext();)
        EXPECT_FALSE(readAll(it.next()).contains(SmtpTestServer::kPassword)) << it.filePath().toStdString();
}

TEST_F(SendCommand, TestMailAndDryRun) {
    SmtpTestServer server;
    useServer(server);
    const ToolRun test = run({QStringLiteral("--test"), templatePath});
    EXPECT_EQ(test.exitCode, 0) << test.err.toStdString();
    ASSERT_EQ(server.received().size(), 1);
    EXPECT_EQ(server.received()[0].recipients, QList<QByteArray>{"versand@example.org"});

    const QString out = files.subfolder(QStringLiteral("probe"));
    const ToolRun dry = run({QStringLiteral("--dry-run"), out, templatePath, writeList(3)});
    EXPECT_EQ(dry.exitCode, 0) << dry.err.toStdString();
    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written, QStringList({QStringLiteral("00001_anna0@example.org.eml"),
                                    QStringLiteral("00002_anna1@example.org.eml"),
                                    QStringLiteral("00003_anna2@example.org.eml")}));
    EXPECT_EQ(parseHeader(readAll(out + u'/' + written[1])).toAddress, QStringLiteral("anna1@example.org"));
    EXPECT_EQ(server.received().size(), 1) << "a dry run sends nothing";
    EXPECT_TRUE(campaignFolders().isEmpty());
}

// With personal fields: the test mail shows the sample, each message of a dry run its recipient's values.
TEST_F(SendCommand, TestMailAndDryRunFillInTheFields) {
    SmtpTestServer server;
    useServer(server);
    templatePath = writeShippedTemplate(files.path(), "Hallo {Vorname|du} {Nachname}! ");
    EXPECT_EQ(run({QStringLiteral("--test"), templatePath}).exitCode, 0);
    ASSERT_EQ(server.received().size(), 1);
    EXPECT_TRUE(parseNewsletter(server.received()[0].content).html.contains("Hallo du Nachname! Am <b>"));

    const QString out = files.subfolder(QStringLiteral("probe"));
    const ToolRun dry =
        run({QStringLiteral("--dry-run"), out, templatePath, writeList(2, ";Ohne;ohne@example.org\r\n")});
    EXPECT_EQ(dry.exitCode, 0);
    EXPECT_TRUE(dry.err.contains(u"{Vorname}: 1 Empfänger ohne Wert, sie erhalten „du“"_qs))
        << dry.err.toStdString();
    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(written.size(), 3);
    const QByteArray expected[] = {"Hallo Anna Nummer 0! Am <b>", "Hallo Anna Nummer 1! Am <b>",
                                   "Hallo du Ohne! Am <b>"};
    for (int i = 0; i < 3; ++i) {
        const MimeNewsletter parsed = parseNewsletter(readAll(out + u'/' + written[i]));
        EXPECT_TRUE(parsed.problems.isEmpty()) << parsed.problems.join(u'\n').toStdString();
        EXPECT_TRUE(parsed.html.contains(expected[i])) << written[i].toStdString();
        // The plain text is text: the bold tag gives its words alone.
        EXPECT_TRUE(parsed.plain.contains(QByteArray(expected[i]).replace("<b>", ""))) << written[i].toStdString();
    }
}

TEST_F(SendCommand, WrongCallsAndAStoppedCampaign) {
    EXPECT_EQ(run({templatePath}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--resume")}).exitCode, 2);
    EXPECT_EQ(run({QStringLiteral("--bunt"), templatePath, templatePath}).exitCode, 2);

    SmtpTestServer server;
    useServer(server);
    SmtpFaults faults;
    faults.refuseLogin = true;
    server.setFaults(faults);
    const ToolRun refused = run({templatePath, writeList(3)});
    EXPECT_EQ(refused.exitCode, 3) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("--resume"))) << refused.err.toStdString();
    EXPECT_TRUE(server.received().isEmpty());

    server.setFaults({});
    const ToolRun resumed = run({QStringLiteral("--resume"), campaignFolders().value(0)});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    EXPECT_EQ(server.received().size(), 3);
}

// Killed at fifty moments and resumed each time: nobody is missing, and nobody gets more copies than
// there were interruptions while their message was in flight. The template has personal fields, and
// every copy, resumed or not, carries its recipient's values.
TEST_F(SendCommand, KilledAtFiftyMomentsNobodyIsMissingAndFewGetTwo) {
    templatePath = writeShippedTemplate(files.path(), "Hallo {Vorname} {Nachname|Unbekannt}! ");
    SmtpTestServer server(plainLocalServer());
    useServer(server);
    SmtpFaults slow;
    slow.delayMs = 2;
    server.setFaults(slow);
    constexpr int kRecipients = 300;
    constexpr int kKills = 50;
    const QString list = writeList(kRecipients);

    std::mt19937 random(20261208);
    std::uniform_int_distribution<int> moment(0, 250);
    int killedWhileRunning = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const QStringList folders = campaignFolders();
        std::unique_ptr<QProcess> process(folders.isEmpty()
                                              ? start({templatePath, list})
                                              : start({QStringLiteral("--resume"), folders[0]}));
        ASSERT_TRUE(process->waitForStarted());
        if (!process->waitForFinished(moment(random))) {
            ::kill(pid_t(process->processId()), SIGKILL);
            ++killedWhileRunning;
        }
        process->waitForFinished();
    }
    const ToolRun last = run({QStringLiteral("--resume"), campaignFolders().value(0)});
    EXPECT_EQ(last.exitCode, 0) << last.err.toStdString();

    const QMap<QByteArray, int> counts = server.countsByRecipient();
    int extra = 0;
    for (int i = 0; i < kRecipients; ++i) {
        const int n = counts.value("anna" + QByteArray::number(i) + "@example.org");
        EXPECT_GE(n, 1) << "anna" << i;
        extra += qMax(0, n - 1);
    }
    EXPECT_EQ(counts.size(), kRecipients);
    for (const ReceivedMessage& message : server.received()) {
        const QByteArray number = message.recipients.value(0).mid(4).split('@').value(0);
        EXPECT_TRUE(
            parseNewsletter(message.content).html.contains("Hallo Anna Nummer " + number + "! Am <b>"))
            << message.recipients.value(0).toStdString();
    }
    EXPECT_LE(extra, killedWhileRunning);
    // The summary owns up to every copy that may have gone twice.
    EXPECT_GE(send::listCampaigns(program.path()).value(0).maybeTwice, extra);
    EXPECT_GT(killedWhileRunning, kKills / 2) << "the kills must fall inside the campaign";
    std::cout << killedWhileRunning << " kills inside the campaign, " << extra << " extra copies\n";
}

// The hourly limit is counted from the journal, so a process killed while it waits out the limit, and
// run again, still waits: the count is not lost with the process.
TEST_F(SendCommand, AnHourlyLimitHoldsAcrossAKillAndAResume) {
    SmtpTestServer server;
    send::SenderProfile profile = server.profile();
    profile.messagesPerHour = 3;
    send::saveProfile(profile, profilePath());
    const QString limit = send::limitText(3, true);
    // Runs a process until it says that it waits, then kills it; what it printed.
    const auto untilWaiting = [&](const QStringList& arguments) {
        std::unique_ptr<QProcess> process(start(arguments));
        QString err;
        for (int i = 0; i < 60 && !err.contains(limit) && process->state() != QProcess::NotRunning; ++i) {
            process->waitForReadyRead(1000);
            err += QString::fromUtf8(process->readAllStandardError());
        }
        // A process that ended has no id any more, and kill(0) would hit the test's own group.
        if (process->processId() > 0)
            ::kill(pid_t(process->processId()), SIGKILL);
        process->waitForFinished();
        return err;
    };

    const QString first = untilWaiting({templatePath, writeList(5)});
    ASSERT_TRUE(first.contains(limit)) << first.toStdString();
    ASSERT_EQ(server.received().size(), 3);
    const QString again = untilWaiting({QStringLiteral("--resume"), campaignFolders().value(0)});
    ASSERT_TRUE(again.contains(limit)) << again.toStdString();
    EXPECT_EQ(server.received().size(), 3) << "nobody more within the hour";
    // It waits for the hour after the first message, not for an hour from the restart.
    const QDateTime hourAfterFirst =
        QDateTime::fromMSecsSinceEpoch(server.received().first().receivedMs).addSecs(3600);
    const QString named =
        QRegularExpression(QStringLiteral("Weiter (am ..\\...\\. )?um (..:..)\\.")).match(again).captured(2);
    const QTime until = QTime::fromString(named, QStringLiteral("HH:mm"));
    ASSERT_TRUE(until.isValid()) << again.toStdString();
    const int apart = qAbs(until.secsTo(hourAfterFirst.time()));
    EXPECT_LE(qMin(apart, 86400 - apart), 60) << named.toStdString();
}

TEST_F(SendCommand, AWaitLeftByTheLastRunIsWaitedOutAndNamedOnce) {
    SmtpTestServer server;
    useServer(server);
    send::RecipientList list;
    for (int i = 0; i < 3; ++i)
        list.recipients.append({QStringLiteral("anna%1@example.org").arg(i), {}, i + 2});
    const QString folder =
        send::Campaign::create(program.path(), {renderShippedTemplate(), "www.verein.example/weg"}, list,
                               server.profile())
            .folder();
    // The program ended while the provider's limit was being waited out.
    const QDateTime until = QDateTime::currentDateTime().addMSecs(1500);
    send::Journal(folder + QStringLiteral("/journal.log"))
        .append({send::waitRecord(QDateTime::currentDateTime(), until,
                                  QStringLiteral("450 4.7.0 Mail send limit exceeded"))});
    EXPECT_EQ(send::listCampaigns(program.path()).value(0).waitingUntil, until)
        << "Versandberichte: wartet bis";
    const ToolRun result = run({QStringLiteral("--resume"), folder});

    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString line =
        QStringLiteral(
            "Ihr Anbieter nimmt gerade keine weiteren Nachrichten an („450 4.7.0 Mail send limit "
            "exceeded“). Weiter um %1.")
            .arg(until.toString(QStringLiteral("HH:mm")));
    EXPECT_EQ(result.err.count(line), 1) << result.err.toStdString();
    const QList<ReceivedMessage> received = server.received();
    ASSERT_EQ(received.size(), 3);
    EXPECT_GE(received[0].receivedMs, until.toMSecsSinceEpoch()) << "nothing before the wait was over";
}

// The answer to every message is on the disk before any wait: a kill at any moment of the pace, of
// the profile's hourly or daily limit, of a retry's pause or of the provider's limit costs no copy.
TEST_F(SendCommand, KilledWhileItWaitsNobodyGetsTwo) {
    const struct {
        const char* name;
        int perMinute, perHour, perDay;
        SmtpFaults faults;
        int recipients;
        int receivedBeforeKill;
        bool resume;  // the wait ends at a restart (the pace, a retry's pause); the limits hold on
    } rows[] = {
        {"Pace", 2, 0, 0, {}, 2, 1, true},
        {"HourlyLimit", 0, 2, 0, {}, 3, 2, false},
        {"DailyLimit", 0, 0, 2, {}, 3, 2, false},
        {"RetryAfterATemporaryAnswer", 0, 0, 0, {.temporaryRcpt = {3}}, 3, 2, true},
        {"ProvidersLimit", 0, 0, 0, SmtpFaults::sendingLimit(2, 3600), 3, 2, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // Each row on its own: the limits count every campaign of the folder.
        QDir(program.path() + u"Versand"_qs).removeRecursively();
        SmtpTestServer server(plainLocalServer());
        send::SenderProfile profile = server.profile();
        profile.messagesPerMinute = row.perMinute;
        profile.messagesPerHour = row.perHour;
        profile.messagesPerDay = row.perDay;
        send::saveProfile(profile, profilePath());
        server.setFaults(row.faults);

        std::unique_ptr<QProcess> process(start({templatePath, writeList(row.recipients)}));
        for (int i = 0; i < 600 && server.received().size() < row.receivedBeforeKill; ++i) QThread::msleep(100);
        ASSERT_EQ(server.received().size(), row.receivedBeforeKill);
        const bool stillWaiting = !process->waitForFinished(1500);  // well into the wait
        ::kill(pid_t(process->processId()), SIGKILL);
        process->waitForFinished();
        ASSERT_TRUE(stillWaiting) << "it must be waiting when it is killed";

        const send::CampaignStatus left = send::listCampaigns(program.path()).value(0);
        EXPECT_EQ(left.sent, row.receivedBeforeKill) << "every message the server took is recorded";
        EXPECT_EQ(left.maybeTwice, 0) << "nobody in flight";
        if (!row.resume)
            continue;
        server.setFaults({});
        const ToolRun resumed = run({QStringLiteral("--resume"), campaignFolders().value(0)});
        EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
        const QMap<QByteArray, int> counts = server.countsByRecipient();
        EXPECT_EQ(counts.size(), row.recipients);
        for (auto it = counts.begin(); it != counts.end(); ++it) EXPECT_EQ(it.value(), 1) << it.key().toStdString();
    }
}

// Strg+C while the server sits on its answer to the end of a message: the program ends within
// seconds, the copy counts as possibly received, and the resume sends it once more and nobody else twice.
TEST_F(SendCommand, InterruptedWhileTheServerSitsOnTheAnswerEndsAndResumes) {
    SmtpTestServer server(plainLocalServer());
    useServer(server);
    SmtpFaults stalled;
    stalled.dripReply = "DATA";
    stalled.dripMs = 60000;
    server.setFaults(stalled);

    std::unique_ptr<QProcess> process(start({templatePath, writeList(3)}));
    for (int i = 0; i < 600 && server.received().isEmpty(); ++i) QThread::msleep(100);
    ASSERT_EQ(server.received().size(), 1);
    QThread::msleep(500);
    QElapsedTimer stopping;
    stopping.start();
    ::kill(pid_t(process->processId()), SIGINT);
    ASSERT_TRUE(process->waitForFinished(15000)) << "Strg+C must not wait for the server";
    EXPECT_LT(stopping.elapsed(), 8000);
    EXPECT_EQ(process->exitCode(), 3);
    const QString err = QString::fromUtf8(process->readAllStandardError());
    EXPECT_TRUE(err.contains(u"1 Empfänger hat sie vielleicht zweimal erhalten"_qs)) << err.toStdString();
    const send::CampaignStatus left = send::listCampaigns(program.path()).value(0);
    EXPECT_EQ(left.sent, 0);
    EXPECT_EQ(left.maybeTwice, 1);

    server.setFaults({});
    const ToolRun resumed = run({QStringLiteral("--resume"), campaignFolders().value(0)});
    EXPECT_EQ(resumed.exitCode, 0) << resumed.err.toStdString();
    const QMap<QByteArray, int> counts = server.countsByRecipient();
    EXPECT_EQ(counts.value("anna0@example.org"), 2);
    EXPECT_EQ(counts.value("anna1@example.org"), 1);
    EXPECT_EQ(counts.value("anna2@example.org"), 1);
    EXPECT_TRUE(readAll(send::listCampaigns(program.path()).value(0).folder + u"/bericht.csv"_qs)
                    .contains("anna0@example.org;gesendet (vielleicht zweimal erhalten);"));
}

}  // namespace
}  // namespace zw::test

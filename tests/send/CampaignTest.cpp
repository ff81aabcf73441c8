// Campaigns: the journal decides who still gets the message, after a pause, a fatal answer or a crash.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "send/Campaign.h"
#include "send/Journal.h"
#include "send/SendTestSupport.h"
#include "support/Files.h"

namespace zw::test {
namespace {

using namespace zw::send;

RecipientList recipients(int count) {
    RecipientList list;
    for (int i = 0; i < count; ++i)
        list.recipients.append({QStringLiteral("person%1@example.org").arg(i), QStringLiteral("Person %1").arg(i), i + 2});
    return list;
}

SenderProfile sender() {
    SenderProfile profile;
    profile.name = QStringLiteral("Verein");
    profile.address = QStringLiteral("info@verein.example");
    profile.server = QStringLiteral("127.0.0.1");
    profile.port = 2525;
    return profile;
}

// Answers as a server would, by recipient; records every message handed on.
struct ScriptedServer {
    QMap<QString, QList<Outcome>> answers;  // taken from the front; Sent when none is left
    QStringList delivered;

    SendResult operator()(const QByteArray& to, const QByteArray& message) {
        QList<Outcome>& queue = answers[QString::fromUtf8(to)];
        const Outcome outcome = queue.isEmpty() ? Outcome::Sent : queue.takeFirst();
        if (outcome == Outcome::Sent)
            delivered.append(QString::fromUtf8(to));
        EXPECT_TRUE(message.contains("To: "));
        const QString text = outcome == Outcome::Sent ? QStringLiteral("250 2.0.0 Ok: queued as X")
                             : outcome == Outcome::Temporary ? QStringLiteral("451 4.3.0 try later")
                                                             : QStringLiteral("550 5.1.1 no such user");
        return {outcome, text.left(3).toInt(), text,
                outcome == Outcome::Fatal ? QStringLiteral("Die Anmeldung wurde abgelehnt.") : QString()};
    }
};

class CampaignTest : public ::testing::Test {
public:
    Campaign make(int count) {
        return Campaign::create(work.path(), {renderShippedTemplate(), "www.verein.example/weg"}, recipients(count),
                                sender());
    }
    QString journal(const Campaign& c) const { return c.folder() + QStringLiteral("/journal.log"); }

    TempFolder work;
    std::atomic<bool> stop{false};
};

TEST_F(CampaignTest, SendsEveryoneOnceAndReportsTheFailures) {
    Campaign campaign = make(6);
    campaign.retryPauses = {std::chrono::milliseconds(1), std::chrono::milliseconds(1)};
    ScriptedServer server;
    server.answers[QStringLiteral("person1@example.org")] = {Outcome::RecipientRefused};
    server.answers[QStringLiteral("person2@example.org")] = {Outcome::Temporary, Outcome::Temporary};  // then taken
    server.answers[QStringLiteral("person3@example.org")] = {Outcome::Temporary, Outcome::Temporary, Outcome::Temporary};
    int calls = 0;
    const CampaignStatus status = campaign.run(std::ref(server), stop, [&](const CampaignStatus&) { ++calls; });

    EXPECT_EQ(status.state, CampaignState::Finished);
    EXPECT_EQ(status.sent, 4);
    EXPECT_EQ(status.failed, 2);
    EXPECT_EQ(status.pending, 0);
    EXPECT_EQ(calls, 10);  // six first tries, two more each for person2 and person3
    QStringList expected = {QStringLiteral("person0@example.org"), QStringLiteral("person4@example.org"),
                            QStringLiteral("person5@example.org"), QStringLiteral("person2@example.org")};
    QStringList delivered = server.delivered;
    std::sort(expected.begin(), expected.end());
    std::sort(delivered.begin(), delivered.end());
    EXPECT_EQ(delivered, expected);

    const QByteArray report = readAll(campaign.reportPath());
    EXPECT_TRUE(report.startsWith("\xEF\xBB\xBF" "Adresse;Ergebnis;Serverantwort;Zeit\r\n"));
    EXPECT_TRUE(report.contains("person1@example.org;fehlgeschlagen;550 5.1.1 no such user;"));
    EXPECT_TRUE(report.contains("person3@example.org;fehlgeschlagen;451 4.3.0 try later;"));
    EXPECT_TRUE(report.contains("person2@example.org;gesendet;250 2.0.0 Ok: queued as X;"));

}

TEST_F(CampaignTest, FatalAnswerPausesAndResumeSendsOnlyThoseLeft) {
    QString folder;
    ScriptedServer server;
    {
        Campaign campaign = make(5);
        folder = campaign.folder();
        EXPECT_THROW(Campaign::open(folder), Error) << "one sender at a time";
        server.answers[QStringLiteral("person2@example.org")] = {Outcome::Fatal};
        const CampaignStatus status = campaign.run(std::ref(server), stop);
        EXPECT_EQ(status.state, CampaignState::Paused);
        EXPECT_EQ(status.stopReason, QStringLiteral("Die Anmeldung wurde abgelehnt."));
        EXPECT_EQ(status.sent, 2);
        EXPECT_EQ(status.pending, 3);
        EXPECT_EQ(listCampaigns(work.path()).value(0).state, CampaignState::Running);
    }
    EXPECT_EQ(listCampaigns(work.path()).value(0).state, CampaignState::Paused);

    Campaign resumed = Campaign::open(folder);
    const CampaignStatus status = resumed.run(std::ref(server), stop);
    EXPECT_EQ(status.state, CampaignState::Finished);
    EXPECT_EQ(status.sent, 5);
    EXPECT_EQ(status.maybeTwice, 0);
    EXPECT_EQ(server.delivered.size(), 5);
    EXPECT_EQ(server.delivered.removeDuplicates(), 0);
}

TEST_F(CampaignTest, AfterACrashTheMessageInFlightGoesAgainAndATornRecordIsIgnored) {
    QString folder;
    {
        Campaign campaign = make(4);
        folder = campaign.folder();
    }
    // What a crash leaves: person0 sent, person1 started without an answer, a record cut short.
    Journal(folder + QStringLiteral("/journal.log"))
        .append({{JournalRecord::Sending, 0, QDateTime::currentDateTime(), {}},
                 {JournalRecord::Sent, 0, QDateTime::currentDateTime(), QStringLiteral("250 ok")},
                 {JournalRecord::Sending, 1, QDateTime::currentDateTime(), {}}});
    QFile torn(folder + QStringLiteral("/journal.log"));
    ASSERT_TRUE(torn.open(QIODevice::Append));
    torn.write("4f2a S 1 17");
    torn.close();

    const CampaignStatus found = listCampaigns(work.path()).value(0);
    EXPECT_EQ(found.state, CampaignState::Interrupted);
    EXPECT_EQ(found.sent, 1);
    EXPECT_EQ(found.maybeTwice, 1);

    Campaign resumed = Campaign::open(folder);
    ScriptedServer server;
    const CampaignStatus status = resumed.run(std::ref(server), stop);
    EXPECT_EQ(server.delivered, QStringList({QStringLiteral("person1@example.org"), QStringLiteral("person2@example.org"),
                                             QStringLiteral("person3@example.org")}));
    EXPECT_EQ(status.state, CampaignState::Finished);
    EXPECT_EQ(status.sent, 4);
    EXPECT_EQ(status.maybeTwice, 1);
    EXPECT_EQ(Journal::read(folder + QStringLiteral("/journal.log")).size(), 3 + 3 * 2 + 1);
}

TEST_F(CampaignTest, StopPausesAfterTheMessageInFlight) {
    Campaign campaign = make(3);
    ScriptedServer server;
    const CampaignStatus status = campaign.run(
        [&](const QByteArray& to, const QByteArray& message) {
            stop = true;
            return server(to, message);
        },
        stop);
    EXPECT_EQ(status.state, CampaignState::Paused);
    EXPECT_EQ(status.sent, 1);
    EXPECT_TRUE(status.stopReason.isEmpty());
}

}  // namespace
}  // namespace zw::test

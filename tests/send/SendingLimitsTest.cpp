// Sending within the provider's limits: answers about the sender make the campaign wait instead of
// failing its recipients, and the profile's hourly and daily limits hold over every rolling window.
#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>

#include "send/Campaign.h"
#include "send/CampaignTexts.h"
#include "send/Journal.h"
#include "send/Providers.h"
#include "send/SendTestSupport.h"
#include "send/SenderLimits.h"
#include "support/Files.h"
#include "support/SmtpTestServer.h"

namespace zw::test {
namespace {

using namespace zw::send;
constexpr qint64 kMinuteMs = 60'000;
constexpr qint64 kHourMs = 60 * kMinuteMs;
constexpr qint64 kDayMs = 24 * kHourMs;

TEST(SenderThrottle, TellsTheSendersLimitsFromTheRecipientsTrouble) {
    const struct {
        bool beforeRecipient;
        const char* answer;
        Throttle expected;
    } rows[] = {
        {true, "450 4.7.0 Mail send limit exceeded", Throttle::Wait},
        {true, "451 4.3.0 Temporary server error", Throttle::Wait},  // any 4xx to MAIL FROM or the login
        {false, "421 4.4.2 smtp.test Error: timeout exceeded", Throttle::Wait},
        {false, "450 4.7.1 <a@b.de>: Rate limit reached, try later", Throttle::Wait},
        {false, "451 4.7.0 Too many messages, slow down", Throttle::Wait},
        {false, "554 Sending limit exceeded for this account", Throttle::Wait},
        {true, "550 5.4.5 Daily user sending quota exceeded. https://support.google.com/mail/?p=Sending",
         Throttle::DailyQuota},
        {true, "554 5.7.0 Daily sending quota reached", Throttle::DailyQuota},
        {false,
         "554 5.2.0 STOREDRV.Submission.Exception:SubmissionQuotaExceededException; Failed to process "
         "message due to a permanent exception",
         Throttle::DailyQuota},
        // About one recipient or the message: not the sender's limits.
        {false, "450 4.2.0 <a@b.de>: Recipient address rejected: Greylisted, see http://x", Throttle::None},
        {false, "451 4.3.0 <a@b.de>: Temporary lookup failure, try again later", Throttle::None},
        {false, "552 5.2.2 <a@b.de>: Mailbox full, quota exceeded", Throttle::None},
        {false, "452 4.2.2 Over quota", Throttle::None},
        {true, "552 5.3.4 Message size exceeds fixed limit", Throttle::None},
        {false, "550 5.1.1 <a@b.de>: Recipient address rejected: User unknown", Throttle::None},
        {true, "553 5.7.1 <x@y.de>: Sender address rejected: not owned by user", Throttle::None},
        {false, "550 5.7.1 Message rejected as spam; the separate filter rated it high", Throttle::None},
    };
    for (const auto& row : rows) {
        const QString answer = QString::fromLatin1(row.answer);
        EXPECT_EQ(senderThrottle(row.beforeRecipient, answer.left(3).toInt(), answer), row.expected)
            << row.answer;
    }
    const int ladder[] = {2, 5, 15, 30, 60, 60, 60};
    for (int n = 1; n <= 7; ++n) EXPECT_EQ(throttleWait(n).count(), ladder[n - 1]) << n;
}

TEST(SenderLimitsTable, PublishedLimitsRelaysTheDurationAndTheSendersDomain) {
    const struct {
        const char* server;
        const char* address;
        const char* name;  // "" for none known
        int perDay;
        bool relay;
    } servers[] = {
        {"smtp.gmail.com", "verein@gmail.com", "Gmail", 500, false},
        {"SMTP.gmail.com", "info@verein.example", "Google Workspace", 2000, false},
        {"smtp.ionos.de", "info@verein.example", "IONOS", 0, false},
        {"smtp-relay.brevo.com", "info@verein.example", "Brevo", 0, true},
        {"email-smtp.eu-central-1.amazonaws.com", "", "Amazon SES", 0, true},
        {"in-v3.mailjet.com", "", "Mailjet", 0, true},
        {"smtp.postmarkapp.com", "", "Postmark", 0, true},
        {"mail.smtp2go.com", "", "SMTP2GO", 0, true},
        {"mail.verein.example", "info@verein.example", "", 0, false},
    };
    for (const auto& row : servers) {
        SCOPED_TRACE(row.server);
        const auto provider =
            providerForServer(QString::fromLatin1(row.server), QString::fromLatin1(row.address));
        ASSERT_EQ(provider.has_value(), *row.name != 0);
        if (!provider)
            continue;
        EXPECT_EQ(provider->name, QString::fromLatin1(row.name));
        EXPECT_EQ(provider->messagesPerDay, row.perDay);
        EXPECT_EQ(provider->relay, row.relay);
        EXPECT_EQ(provider->relay, !provider->userForm.isEmpty() && !provider->credentials.isEmpty());
        EXPECT_EQ(provider->port, 587);
    }
    EXPECT_TRUE(providerForAddress(u"a@1und1.de"_qs)->limitNote.contains(u"Alter des Kontos"_qs));

    EXPECT_EQ(limitDurationText(800, 0, 500), u"bei 500 Nachrichten am Tag: 2 Tage"_qs);
    EXPECT_EQ(limitDurationText(250, 100, 500), u"bei 100 Nachrichten pro Stunde: 3 Stunden"_qs);
    EXPECT_EQ(limitDurationText(500, 100, 500), u"bei 100 Nachrichten pro Stunde: 5 Stunden"_qs);
    EXPECT_EQ(limitDurationText(90, 100, 500), QString());

    // A provider's address through another provider's or a service's server is warned of; an own domain
    // through any server, or an address through its own provider, is not.
    const struct {
        const char* address;
        const char* server;
        bool warned;
    } domains[] = {
        {"verein@gmail.com", "mail.gmx.net", true},
        {"verein@web.de", "smtp-relay.brevo.com", true},
        {"verein@gmx.de", "mail.gmx.net", false},
        {"verein@gmail.com", "smtp.gmail.com", false},
        {"info@verein.example", "mail.gmx.net", false},
        {"verein@gmail.com", "mail.verein.example", false},  // a server we do not know: no guess
    };
    for (const auto& row : domains) {
        SenderProfile profile;
        profile.address = QString::fromLatin1(row.address);
        profile.server = QString::fromLatin1(row.server);
        const QString warning = senderDomainWarning(profile);
        EXPECT_EQ(!warning.isEmpty(), row.warned) << row.address << " " << row.server;
    }
    SenderProfile gmailViaGmx;
    gmailViaGmx.address = u"verein@gmail.com"_qs;
    gmailViaGmx.server = u"mail.gmx.net"_qs;
    EXPECT_TRUE(
        senderDomainWarning(gmailViaGmx)
            .startsWith(u"Achtung: Die Absenderadresse gehört zu Gmail, gesendet wird aber über den Server "
                        "von GMX."_qs));
}

TEST(SenderLimitsTable, TheProfileKeepsItsHourlyAndDailyLimitsAndWritesThemOnlyWhenSet) {
    TempFolder folder;
    const QString path = folder.file(u"Absender.ini"_qs);
    SenderProfile profile;
    profile.address = u"a@b.de"_qs;
    saveProfile(profile, path);
    EXPECT_FALSE(readAll(path).contains("NachrichtenProStunde"));
    EXPECT_FALSE(readAll(path).contains("NachrichtenProTag"));
    profile.messagesPerHour = 100;
    profile.messagesPerDay = 500;
    saveProfile(profile, path);
    const SenderProfile read = loadProfile(path);
    EXPECT_EQ(read.messagesPerHour, 100);
    EXPECT_EQ(read.messagesPerDay, 500);
    writeAll(path, "[Absender]\nNachrichtenProStunde=-4\nNachrichtenProTag=viele\n");
    EXPECT_EQ(loadProfile(path).messagesPerHour, 0);
    EXPECT_EQ(loadProfile(path).messagesPerDay, 0);
}

RecipientList recipients(int count, const QString& prefix = QStringLiteral("person")) {
    RecipientList list;
    for (int i = 0; i < count; ++i)
        list.recipients.append({QStringLiteral("%1%2@example.org").arg(prefix).arg(i), QString(), i + 2});
    return list;
}

// How many of the sorted moments lie in any window of the given length, at most.
qsizetype mostInAnyWindow(const QList<qint64>& sorted, qint64 window) {
    qsizetype most = 0;
    for (qsizetype end = 0, start = 0; end < sorted.size(); ++end) {
        while (sorted[end] - sorted[start] >= window) ++start;
        most = std::max(most, end - start + 1);
    }
    return most;
}

class SendingLimits : public ::testing::Test {
public:
    Campaign make(const SenderProfile& profile, const RecipientList& list, ScaledClock& clock) {
        Campaign c =
            Campaign::create(work.path(), {renderShippedTemplate(), "www.verein.example/weg"}, list, profile);
        c.clock = &clock;
        return c;
    }
    static QList<JournalRecord> journal(const QString& folder) {
        return Journal::read(folder + QStringLiteral("/journal.log"));
    }
    static int count(const QList<JournalRecord>& records, JournalRecord::Kind kind) {
        return int(std::count_if(records.begin(), records.end(),
                                 [&](const JournalRecord& r) { return r.kind == kind; }));
    }

    TempFolder work;
    std::atomic<bool> stop{false};
};

TEST_F(SendingLimits, AProviderLimitIsWaitedOutAndEveryoneGetsItOnce) {
    // 20 messages per two minutes; the clock runs 60 times faster, so a window is two real seconds.
    SmtpTestServer server;
    server.setFaults(SmtpFaults::sendingLimit(20, 2.0));
    ScaledClock clock(60);
    Campaign campaign = make(server.profile(), recipients(60), clock);
    QStringList waits;
    campaign.waiting = [&](const CampaignStatus& s) { waits.append(waitingText(s, clock.now())); };
    SmtpTransport transport(server.profile(), QLatin1String(SmtpTestServer::kPassword));
    const CampaignStatus status = campaign.run(transport, stop);

    EXPECT_EQ(status.state, CampaignState::Finished);
    EXPECT_EQ(status.sent, 60);
    EXPECT_EQ(status.failed, 0);
    const QMap<QByteArray, int> counts = server.countsByRecipient();
    EXPECT_EQ(counts.size(), 60);
    for (auto it = counts.begin(); it != counts.end(); ++it) EXPECT_EQ(it.value(), 1) << it.key().constData();
    // A few refusals per window at most: one to learn of the limit, one more when the wait ended early.
    const QList<double> refused = server.limitedMoments();
    EXPECT_GE(refused.size(), 1);  // two windows end in a refusal, unless a slow machine outran one
    EXPECT_LE(refused.size(), 2 * 2);
    const QList<JournalRecord> records = journal(campaign.folder());
    EXPECT_EQ(count(records, JournalRecord::Retry), 0)
        << "nobody is charged a retry for the provider's limit";
    EXPECT_EQ(count(records, JournalRecord::Waiting), refused.size());
    EXPECT_EQ(count(records, JournalRecord::WaitOver), refused.size());
    ASSERT_FALSE(waits.isEmpty());
    EXPECT_TRUE(
        waits.first().startsWith(QStringLiteral("Ihr Anbieter nimmt gerade keine weiteren Nachrichten an "
                                                "(„450 4.7.0 Mail send limit exceeded“). Weiter um ")))
        << waits.first().toStdString();
}

TEST_F(SendingLimits, A421GreetingAndTheDailyQuotaWaitWithoutFailingAnyone) {
    // A day passes in one real second.
    ScaledClock clock(86400);
    SmtpTestServer server;
    SmtpFaults faults;
    faults.greet421 = true;
    server.setFaults(faults);
    Campaign campaign = make(server.profile(), recipients(12), clock);
    QList<CampaignStatus> waits;
    campaign.waiting = [&](const CampaignStatus& s) {
        if (!s.waitingUntil.isValid())
            return;
        waits.append(s);
        if (waits.size() > 1)
            return;
        // The provider's quota instead of the refused connections, from the first wait on.
        server.setFaults(SmtpFaults::sendingLimit(5, 1.0, "550 5.4.5 Daily user sending quota exceeded."));
    };
    SmtpTransport transport(server.profile(), QLatin1String(SmtpTestServer::kPassword));
    const CampaignStatus status = campaign.run(transport, stop);

    EXPECT_EQ(status.state, CampaignState::Finished);
    EXPECT_EQ(status.sent, 12);
    EXPECT_EQ(status.failed, 0);
    EXPECT_EQ(server.countsByRecipient().size(), 12);
    EXPECT_GE(server.greeted421(), 1);
    ASSERT_GE(waits.size(), 3);
    EXPECT_TRUE(waits[0].waitAnswer.startsWith(QStringLiteral("421 4.7.0")));
    // The quota waits until a day after the day's first message.
    const QList<JournalRecord> records = journal(campaign.folder());
    const auto firstSent = std::find_if(records.begin(), records.end(),
                                        [](const JournalRecord& r) { return r.kind == JournalRecord::Sent; });
    ASSERT_NE(firstSent, records.end());
    EXPECT_EQ(waits[1].waitAnswer, QStringLiteral("550 5.4.5 Daily user sending quota exceeded."));
    EXPECT_EQ(waits[1].waitingUntil, firstSent->time.addDays(1));
    EXPECT_EQ(count(records, JournalRecord::Retry), 0);
}

TEST_F(SendingLimits, HourlyAndDailyLimitsHoldInEveryWindowAcrossKillsAndCampaigns) {
    ScaledClock clock(86400);  // an hour in 42 real milliseconds
    SmtpTestServer server;
    SenderProfile profile = server.profile();
    profile.messagesPerHour = 4;
    profile.messagesPerDay = 10;
    int handed = 0;
    SmtpTransport transport(profile, QLatin1String(SmtpTestServer::kPassword));
    // A kill right after the server took a message, before the journal heard of it.
    auto killing = [&](const QByteArray& to, const QByteArray& message) {
        const SendResult result = transport.send(to, message);
        if (++handed == 3 || handed == 9)
            throw std::runtime_error("killed");
        return result;
    };
    QString folder;
    {
        Campaign first = make(profile, recipients(14), clock);
        folder = first.folder();
        EXPECT_THROW(first.run(killing, stop), std::runtime_error);
    }
    for (int resume = 0; resume < 3; ++resume) {
        Campaign again = Campaign::open(folder);
        again.clock = &clock;
        try {
            if (again.run(killing, stop).state == CampaignState::Finished)
                break;
        } catch (const std::runtime_error&) {
        }
    }
    // A second campaign of the same folder counts what the first sent.
    Campaign second = make(profile, recipients(6, QStringLiteral("other")), clock);
    EXPECT_EQ(second.run(killing, stop).state, CampaignState::Finished);

    QList<qint64> moments;
    for (const ReceivedMessage& m : server.received()) moments.append(clock.at(m.receivedSeconds));
    std::sort(moments.begin(), moments.end());
    EXPECT_EQ(server.countsByRecipient().size(), 20);
    EXPECT_EQ(moments.size(), 20 + 2) << "each kill came after the server took the message: it goes again";
    EXPECT_LE(mostInAnyWindow(moments, kHourMs), 4);
    EXPECT_LE(mostInAnyWindow(moments, kDayMs), 10);
    EXPECT_GE(moments.last() - moments.first(), 2 * kDayMs) << "22 messages at 10 a day take two days";
}

}  // namespace
}  // namespace zw::test

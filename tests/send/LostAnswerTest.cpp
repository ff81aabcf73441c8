// A campaign against a server that takes a message and loses its answer, or keeps silent: every such
// copy is in the journal at once, counted as possibly received twice, and sent again at most once.
#include <gtest/gtest.h>

#include "send/Campaign.h"
#include "send/Journal.h"
#include "send/SendTestSupport.h"
#include "support/Files.h"
#include "support/SmtpTestServer.h"

namespace zw::test {
namespace {

using namespace zw::send;

TEST(LostAnswer, AtMostOneExtraCopyRecordedAndReported) {
    const struct {
        const char* name;
        SmtpFaults faults;
        bool healAfterFirstAnswer;  // the server behaves again once the first message has its outcome
        QList<int> copies;          // what each of the three recipients receives
        qsizetype failed;
        qsizetype maybeTwice;
        QByteArray journalText;  // what the journal keeps of the first recipient's first try
        QByteArray reportOutcome;
    } rows[] = {
        {"DroppedOnce", {.dropAfterData = {1}}, false, {2, 1, 1}, 0, 1, "L 0 ", "gesendet (vielleicht zweimal erhalten)"},
        {"DroppedAlways", {.dropAfterDataAlways = true}, false, {2, 2, 2}, 3, 3, "L 0 ", "vielleicht zweimal erhalten"},
        {"SilentAfterMailFrom", {.stallMail = true}, true, {1, 1, 1}, 0, 0, "antwortet seit 2 Sekunden nicht",
         "gesendet"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder work;
        SmtpTestServer server;
        SenderProfile profile = server.profile();
        profile.answerTimeout = 2;
        RecipientList list;
        for (int i = 0; i < 3; ++i) list.recipients.append({QStringLiteral("leser%1@example.org").arg(i), {}, i + 2});
        Campaign campaign =
            Campaign::create(work.path(), {renderShippedTemplate(), "www.verein.example/weg"}, list, profile);
        campaign.retryPauses = {std::chrono::milliseconds(300)};
        server.setFaults(row.faults);
        SmtpTransport transport(profile, QString::fromLatin1(SmtpTestServer::kPassword));
        std::atomic<bool> stop{false};
        bool healed = false;
        const CampaignStatus status = campaign.run(transport, stop, [&](const CampaignStatus&) {
            if (row.healAfterFirstAnswer && !std::exchange(healed, true))
                server.setFaults({});
        });

        EXPECT_EQ(status.state, CampaignState::Finished) << status.stopReason.toStdString();
        const QMap<QByteArray, int> counts = server.countsByRecipient();
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(counts.value("leser" + QByteArray::number(i) + "@example.org"), row.copies[i]) << i;
        EXPECT_EQ(status.failed, row.failed);
        EXPECT_EQ(status.maybeTwice, row.maybeTwice);
        // The journal read afresh says the same: what a resume and the list of campaigns go by.
        EXPECT_EQ(listCampaigns(work.path()).value(0).maybeTwice, row.maybeTwice);
        const QByteArray journal = readAll(campaign.folder() + u"/journal.log"_qs);
        EXPECT_TRUE(journal.contains(row.journalText)) << journal.toStdString();
        const QByteArray report = readAll(campaign.reportPath());
        EXPECT_TRUE(report.contains("leser0@example.org;" + row.reportOutcome + ';')) << report.toStdString();
    }
}

}  // namespace
}  // namespace zw::test

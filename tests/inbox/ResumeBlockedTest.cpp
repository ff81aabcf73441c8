#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <atomic>

#include "platform/FileIo.h"
#include "send/BlockList.h"
#include "send/Campaign.h"

namespace zw::send {
namespace {

// Someone who asks to leave while a campaign is paused gets nothing when it resumes.
TEST(ResumeBlocked, AResumedCampaignLeavesOutWhoWasBlockedMeanwhile) {
    QTemporaryDir work;
    const QByteArray message =
        "From: x@example.org\r\nSubject: Herbst\r\nMIME-Version: 1.0\r\n"
        "Content-Type: text/plain\r\n\r\nHallo\r\n";
    SenderProfile profile;
    profile.address = QStringLiteral("versand@example.org");
    QString folder;
    QStringList sent;
    std::atomic<bool> stop = false;
    auto send = [&](const QByteArray& to, const QByteArray&) {
        sent << QString::fromUtf8(to);
        stop = true;  // the first run pauses after one message
        return SendResult{Outcome::Sent, 250, QStringLiteral("250 OK"), {}};
    };
    {
        Campaign campaign = Campaign::create(
            work.path(), {message, {}},
            readRecipientList("anna@example.net\nbernd@example.com\ncarla@example.com\n"), profile);
        folder = campaign.folder();
        EXPECT_EQ(campaign.run(send, stop).state, CampaignState::Paused);
    }
    BlockList blocks;
    blocks.add({"CARLA@example.com", "Abmeldung", QDateTime::currentDateTime(), {}, {}});
    blocks.save(blockListPath(work.path()));

    stop = false;
    const CampaignStatus done = Campaign::open(folder).run(
        [&](const QByteArray& to, const QByteArray&) {
            sent << QString::fromUtf8(to);
            return SendResult{Outcome::Sent, 250, QStringLiteral("250 OK"), {}};
        },
        stop);
    EXPECT_EQ(sent, QStringList({"anna@example.net", "bernd@example.com"}));
    EXPECT_EQ(done.state, CampaignState::Finished);
    EXPECT_EQ(done.sent, 2);
    EXPECT_EQ(done.failed, 1);
    EXPECT_TRUE(readFile(folder + QStringLiteral("/bericht.csv"))
                    .contains("carla@example.com;fehlgeschlagen;steht auf der Sperrliste: Abmeldung;"));
    // The journal keeps it: opened again, the campaign is finished with the same counts.
    EXPECT_EQ(Campaign::open(folder).status().failed, 1);
}

}  // namespace
}  // namespace zw::send

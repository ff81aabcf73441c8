// Sending to a list from the main window: the menu renders what the window holds, closing while it
// sends asks and pauses, and an interrupted campaign is offered after the start-up tip, once a run.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include "AppFixture.h"
#include "send/Campaign.h"
#include "send/Journal.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/ProgressWindow.h"
#include "send/ui/SendNewsletterDialog.h"
#include "send/ui/SendPart.h"
#include "support/SmtpTestServer.h"

namespace zw::test {
namespace {

using namespace zw::send;

constexpr int kWaitMs = 60000;

// A server without login: the window asks nobody for a password.
SmtpTestServer::Options withoutLogin() {
    SmtpTestServer::Options options;
    options.login = false;
    return options;
}

class CampaignWindowTest : public AppTest {
protected:
    CampaignWindowTest() { saveProfile(server.profile(), profilePath(programFolder)); }

    QString writeList(int count) {
        QByteArray csv = "E-Mail\r\n";
        for (int i = 0; i < count; ++i) csv += "anna" + QByteArray::number(i) + "@example.org\r\n";
        writeAll(documents(u"liste.csv"_qs), csv);
        return documents(u"liste.csv"_qs);
    }
    CampaignPart& campaigns() { return form->sendPart().campaigns(); }

    SmtpTestServer server{withoutLogin()};
};

TEST_F(CampaignWindowTest, ClosingWhileSendingAsksAndPausesAfterTheMessageInFlight) {
    SmtpFaults slow;
    slow.delayMs = 40;
    server.setFaults(slow);
    TMainForm& f = start();
    f.show();
    // Typed into the block editor and not written back yet: the menu command writes it back first.
    f.Memo1->setPlainText(u"Frisch getippt"_qs);
    f.Newsletterversenden1->trigger();
    SendNewsletterDialog* dialog = campaigns().sendDialog();
    ASSERT_TRUE(dialog);
    dialog->ListEdit->setText(writeList(30));
    dialog->NextButton->click();
    dialog->SendButton->click();
    ProgressWindow* progress = campaigns().progressWindow();
    ASSERT_TRUE(progress);
    // A window of its own above the main window, centred on it, and a dialog to a screen reader.
    ASSERT_TRUE(progress->isWindow() && progress->windowHandle());
    EXPECT_EQ(progress->windowHandle()->transientParent(), f.windowHandle());
    EXPECT_LE((progress->geometry().center() - f.geometry().center()).manhattanLength(), 40);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(progress)->role(), QAccessible::Dialog);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->ProgressBar->value() >= 2; }, kWaitMs));
    const QString folder = progress->folder();
    EXPECT_TRUE(readAll(folder + u"/nachricht.eml"_qs).contains("Frisch getippt"));

    prompts.closeWhileSendingAnswers = {false};
    EXPECT_FALSE(f.close());
    EXPECT_TRUE(progress->isSending()) << "\"Nein\" keeps it sending";
    EXPECT_EQ(prompts.closeQuestions, 0) << "the save question comes after the sending one";

    prompts.closeWhileSendingAnswers = {true};
    prompts.closeAnswers = {CloseAnswer::No};
    EXPECT_TRUE(f.close());
    ASSERT_EQ(prompts.closeWhileSendingQuestions.size(), 2);
    EXPECT_TRUE(
        prompts.closeWhileSendingQuestions[1].startsWith(u"Der Newsletter wird gerade versendet ("_qs));
    const CampaignStatus paused = listCampaigns(programFolder).value(0);
    EXPECT_EQ(paused.state, CampaignState::Paused);
    EXPECT_LT(paused.sent, 30);
    EXPECT_EQ(paused.maybeTwice, 0) << "the message in flight had its answer before the window closed";
    EXPECT_EQ(server.received().size(), paused.sent);
}

TEST_F(CampaignWindowTest, InterruptedCampaignIsOfferedAfterTheTipOnceARun) {
    TMainForm& f = start();
    // What a crash leaves: the first sent, the second in flight without an answer.
    RecipientList three;
    for (int i = 0; i < 3; ++i) three.recipients.append({u"anna%1@example.org"_qs.arg(i), {}, i + 2});
    const Newsletter newsletter = f.sendPart().renderNewsletter(program(u"Newsletter.eml"_qs));
    const QString folder = Campaign::create(programFolder, newsletter, three, server.profile()).folder();
    Journal(folder + u"/journal.log"_qs)
        .append({{JournalRecord::Sending, 0, QDateTime::currentDateTime(), {}},
                 {JournalRecord::Sent, 0, QDateTime::currentDateTime(), u"250 ok"_qs},
                 {JournalRecord::Sending, 1, QDateTime::currentDateTime(), {}}});

    prompts.resumeAnswers = {ResumeAnswer::Later};
    f.show();
    QApplication::setActiveWindow(&f);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.resumeQuestions.isEmpty(); }, kWaitMs));
    EXPECT_EQ(prompts.tipsBeforeFirstResumeQuestion, 1) << "the tip comes first";
    EXPECT_TRUE(prompts.resumeQuestions[0].contains(u"1 von 3 Empfängern"_qs));

    // Activated again (after a dialog, another program): "Später" means the next start, not now.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&f);
    QTest::qWait(200);
    EXPECT_EQ(prompts.resumeQuestions.size(), 1);
    EXPECT_EQ(listCampaigns(programFolder).value(0).state, CampaignState::Interrupted);
    EXPECT_EQ(server.received().size(), 0);
}

}  // namespace
}  // namespace zw::test

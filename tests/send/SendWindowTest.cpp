// Sending to a list from the window's dialogs, against the real test server: the check page, the
// progress window to its summary and report, a pause and its resumption, and the offer at start-up.
#include <QAccessible>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include "platform/Launcher.h"
#include "send/Campaign.h"
#include "send/Journal.h"
#include "send/SendTestSupport.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/CampaignsDialog.h"
#include "send/ui/ProgressWindow.h"
#include "send/ui/SendNewsletterDialog.h"
#include "support/FakePrompts.h"
#include "support/Files.h"
#include "support/MimeCheck.h"
#include "support/SmtpTestServer.h"

namespace zw::test {
namespace {

using namespace zw::send;

constexpr int kWaitMs = 60000;

// The controls of a window that a screen reader would find without a name.
QStringList unnamedControls(QWidget* window) {
    QStringList unnamed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisible())
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName());
    }
    return unnamed;
}

class SendWindow : public ::testing::Test {
public:
    SendWindow() : oldPath_(qgetenv("PATH")) {
        // A stand-in for the desktop's program for reports, which records what it was given.
        const QString bin = files.subfolder(u"bin"_qs);
        writeAll(bin + u"xdg-open"_qs, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" +
                                           QFile::encodeName(files.file(u"opened"_qs)) + "'\n");
        QFile::setPermissions(bin + u"xdg-open"_qs,
                              QFile::permissions(bin + u"xdg-open"_qs) | QFile::ExeOwner);
        qputenv("PATH", QFile::encodeName(bin) + ':' + oldPath_);
    }
    ~SendWindow() override {
        part.reset();
        qputenv("PATH", oldPath_);
    }
    void TearDown() override { EXPECT_EQ(prompts.unexpected, QStringList()); }

    QString writeList(int count, const QByteArray& extraRows = {}) {
        QByteArray csv = "Vorname;Nachname;E-Mail\r\n";
        for (int i = 0; i < count; ++i)
            csv +=
                "Anna;Nummer " + QByteArray::number(i) + ";anna" + QByteArray::number(i) + "@example.org\r\n";
        writeAll(files.file(u"liste.csv"_qs), csv + extraRows);
        return files.file(u"liste.csv"_qs);
    }

    // Through "Newsletter versenden…" to "Senden"; the progress window that follows.
    ProgressWindow* sendThroughDialog(const SenderProfile& profile, const QString& list) {
        part->openSendDialog(newsletter, profile);
        SendNewsletterDialog* dialog = part->sendDialog();
        dialog->ListEdit->setText(list);
        dialog->NextButton->click();
        dialog->SendButton->click();
        return part->progressWindow();
    }
    static bool waitForEnd(ProgressWindow* window) {
        QSignalSpy end(window, &ProgressWindow::finished);
        return end.wait(kWaitMs);
    }

    TempFolder work, files;
    QByteArray oldPath_;
    FakePrompts prompts;
    Launcher launcher;
    QWidget window;
    Newsletter newsletter{renderShippedTemplate(), "www.example.org/abmelden"};
    int passwordsAsked = 0;
    std::unique_ptr<CampaignPart> part =
        std::make_unique<CampaignPart>(&window, work.path(), prompts, launcher, [this](const SenderProfile&) {
            ++passwordsAsked;
            return std::optional<QString>(QString::fromLatin1(SmtpTestServer::kPassword));
        });
};

TEST_F(SendWindow, FiftyRecipientsOneRefusedFromCheckPageToReport) {
    SmtpTestServer server;
    SmtpFaults faults;
    faults.refused = {"anna17@example.org"};
    server.setFaults(faults);
    // Lines 2 to 51 are the fifty; line 52 has no address, line 53 repeats line 5.
    const QString list = writeList(50, "Kaputt;Zeile;keine adresse\r\nAnna;Doppelt;ANNA3@example.org\r\n");

    part->openSendDialog(newsletter, server.profile());
    SendNewsletterDialog* dialog = part->sendDialog();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(dialog->NextButton->isEnabled()) << "no list chosen yet";
    EXPECT_EQ(unnamedControls(dialog), QStringList());
    dialog->ListEdit->setText(list);
    dialog->NextButton->click();
    ASSERT_EQ(dialog->Pages->currentIndex(), 1) << dialog->ErrorLabel->text().toStdString();
    EXPECT_EQ(dialog->CountLabel->text(), u"50 Adressen erhalten den Newsletter."_qs);
    EXPECT_EQ(dialog->RejectedLabel->text(), u"2 Zeilen der Empfängerliste wurden nicht übernommen."_qs);
    const QAbstractItemModel* rejected = dialog->RejectedTable->model();
    ASSERT_EQ(rejected->rowCount(), 2);
    EXPECT_EQ(rejected->index(0, 1).data().toInt(), 52);
    EXPECT_EQ(rejected->index(1, 1).data().toInt(), 53);
    EXPECT_TRUE(rejected->index(1, 3).data().toString().contains(u"5"_qs)) << "names the first of the two";
    EXPECT_EQ(dialog->SubjectLabel->text(), OutgoingMessage(newsletter).subject());
    EXPECT_TRUE(dialog->SenderLabel->text().startsWith(u"Turnverein Müggelsee <versand@example.org>"_qs));
    EXPECT_TRUE(dialog->SizeLabel->text().endsWith(u" KB"_qs));
    EXPECT_TRUE(dialog->WarningLabel->isHidden());
    EXPECT_TRUE(dialog->SendButton->isEnabled());
    EXPECT_EQ(unnamedControls(dialog), QStringList());

    dialog->SendButton->click();
    ProgressWindow* progress = part->progressWindow();
    ASSERT_TRUE(progress);
    EXPECT_TRUE(progress->isVisible());
    EXPECT_TRUE(progress->StopButton->isVisible());
    ASSERT_TRUE(waitForEnd(progress));
    EXPECT_EQ(progress->ProgressBar->text(), u"50 von 50"_qs);
    const QString summary = progress->SummaryLabel->text();
    EXPECT_TRUE(summary.startsWith(u"Der Versand ist abgeschlossen."_qs)) << summary.toStdString();
    EXPECT_TRUE(summary.contains(u"Gesendet: 49, fehlgeschlagen: 1, ausstehend: 0 (von 50)."_qs));
    EXPECT_FALSE(summary.contains(u"zweimal"_qs));
    EXPECT_FALSE(progress->ResumeButton->isVisible());
    EXPECT_EQ(unnamedControls(progress), QStringList());
    EXPECT_EQ(passwordsAsked, 1);

    const QList<ReceivedMessage> received = server.received();
    ASSERT_EQ(received.size(), 49);
    for (const ReceivedMessage& message : received) {
        ASSERT_EQ(message.recipients.size(), 1);
        const ParsedHeader header = parseHeader(message.content);
        EXPECT_EQ(header.toAddress.toUtf8(), message.recipients[0]);
        EXPECT_EQ(header.fromAddress, u"versand@example.org"_qs);
        EXPECT_TRUE(message.content.contains("\r\nList-Unsubscribe: <http://www.example.org/abmelden>"));
    }

    ASSERT_TRUE(progress->ReportButton->isEnabled());
    progress->ReportButton->click();
    const QString report = progress->folder() + u"/bericht.csv"_qs;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return readAll(files.file(u"opened"_qs)) == QFile::encodeName(report) + '\n'; }, kWaitMs));
    EXPECT_TRUE(readAll(report).contains("anna17@example.org;fehlgeschlagen;550"))
        << readAll(report).constData();

    // Without an unsubscribe address the check page warns, and the summary says it again.
    part->openSendDialog({newsletter.rendered, {}}, server.profile());
    part->sendDialog()->ListEdit->setText(writeList(1));
    part->sendDialog()->NextButton->click();
    EXPECT_FALSE(part->sendDialog()->WarningLabel->isHidden());
    part->sendDialog()->SendButton->click();
    ASSERT_TRUE(waitForEnd(part->progressWindow()));
    EXPECT_TRUE(part->progressWindow()->SummaryLabel->text().contains(u"keinen Abmeldelink"_qs));
}

TEST_F(SendWindow, PausedCampaignResumesFromTheReportsAndNobodyGetsTwo) {
    SmtpTestServer server;
    SmtpFaults slow;
    slow.delayMs = 40;
    server.setFaults(slow);
    ProgressWindow* progress = sendThroughDialog(server.profile(), writeList(20));
    ASSERT_TRUE(progress);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->ProgressBar->value() >= 3; }, kWaitMs));
    EXPECT_TRUE(progress->CurrentLabel->text().startsWith(u"Wird gesendet an: anna"_qs))
        << progress->CurrentLabel->text().toStdString();
    progress->StopButton->click();
    ASSERT_TRUE(waitForEnd(progress));
    const CampaignStatus paused = progress->status();
    EXPECT_EQ(paused.state, CampaignState::Paused);
    EXPECT_LT(paused.sent, 20);
    EXPECT_TRUE(progress->SummaryLabel->text().startsWith(u"Der Versand ist angehalten."_qs));
    EXPECT_TRUE(progress->ResumeButton->isVisible());
    EXPECT_EQ(server.received().size(), paused.sent);

    part->openReports();
    CampaignsDialog* reports = part->reportsDialog();
    ASSERT_TRUE(reports);
    ASSERT_EQ(reports->Table->rowCount(), 1);
    EXPECT_EQ(reports->Table->item(0, 2)->text(), u"angehalten"_qs);
    EXPECT_EQ(reports->Table->item(0, 3)->text(), QString::number(paused.sent));
    EXPECT_TRUE(reports->ReportButton->isEnabled());
    EXPECT_EQ(unnamedControls(reports), QStringList());
    ASSERT_TRUE(reports->ResumeButton->isEnabled());
    reports->ResumeButton->click();
    ProgressWindow* resumed = part->progressWindow();
    ASSERT_TRUE(resumed && resumed != progress);
    ASSERT_TRUE(waitForEnd(resumed));
    EXPECT_EQ(resumed->status().state, CampaignState::Finished);
    EXPECT_EQ(resumed->ProgressBar->text(), u"20 von 20"_qs);
    EXPECT_FALSE(resumed->SummaryLabel->text().contains(u"zweimal"_qs));
    const QMap<QByteArray, int> counts = server.countsByRecipient();
    EXPECT_EQ(counts.size(), 20);
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        EXPECT_EQ(it.value(), 1) << it.key().constData();
    EXPECT_EQ(listCampaigns(work.path()).value(0).state, CampaignState::Finished);
}

TEST_F(SendWindow, InterruptedCampaignsAreOfferedUntilAnsweredAndNeinPausesThem) {
    SmtpTestServer server;
    RecipientList three;
    for (int i = 0; i < 3; ++i) three.recipients.append({u"anna%1@example.org"_qs.arg(i), {}, i + 2});
    // What a crash leaves: the first sent, the second in flight without an answer.
    auto crashed = [&] {
        const QString folder = Campaign::create(work.path(), newsletter, three, server.profile()).folder();
        Journal(folder + u"/journal.log"_qs)
            .append({{JournalRecord::Sending, 0, QDateTime::currentDateTime(), {}},
                     {JournalRecord::Sent, 0, QDateTime::currentDateTime(), u"250 ok"_qs},
                     {JournalRecord::Sending, 1, QDateTime::currentDateTime(), {}}});
        return folder;
    };
    const QString first = crashed(), second = crashed();

    prompts.resumeAnswers = {ResumeAnswer::Later};
    part->offerInterrupted();
    ASSERT_EQ(prompts.resumeQuestions.size(), 1);
    EXPECT_TRUE(prompts.resumeQuestions[0].contains(u"1 von 3 Empfängern"_qs))
        << prompts.resumeQuestions[0].toStdString();
    for (const CampaignStatus& c : listCampaigns(work.path())) EXPECT_EQ(c.state, CampaignState::Interrupted);

    prompts.resumeAnswers = {ResumeAnswer::No, ResumeAnswer::Yes};
    part->offerInterrupted();
    EXPECT_EQ(prompts.resumeQuestions.size(), 3);
    ProgressWindow* progress = part->progressWindow();
    ASSERT_TRUE(progress);
    ASSERT_TRUE(waitForEnd(progress));
    EXPECT_EQ(progress->status().state, CampaignState::Finished);
    EXPECT_TRUE(
        progress->SummaryLabel->text().contains(u"1 Empfänger hat sie vielleicht zweimal erhalten"_qs))
        << progress->SummaryLabel->text().toStdString();
    // The one in flight goes again, then the one left.
    EXPECT_EQ(server.countsByRecipient(),
              (QMap<QByteArray, int>{{"anna1@example.org", 1}, {"anna2@example.org", 1}}));

    QMap<QString, CampaignState> states;
    for (const CampaignStatus& c : listCampaigns(work.path())) states[c.folder] = c.state;
    const QString declined = states.value(first) == CampaignState::Paused ? first : second;
    EXPECT_EQ(states.value(declined), CampaignState::Paused);
    EXPECT_EQ(states.value(declined == first ? second : first), CampaignState::Finished);
    part->offerInterrupted();
    EXPECT_EQ(prompts.resumeQuestions.size(), 3) << "a declined campaign is not offered again";
}

TEST_F(SendWindow, TheProvidersLimitIsWaitedOutAndJetztVersuchenEndsTheWait) {
    SmtpTestServer server;
    server.setFaults(SmtpFaults::sendingLimit(3, 1.0));
    ProgressWindow* progress = sendThroughDialog(server.profile(), writeList(6));
    ASSERT_TRUE(progress);
    ASSERT_TRUE(QTest::qWaitFor([&] { return progress->TryNowButton->isVisible(); }, kWaitMs));
    EXPECT_TRUE(progress->CurrentLabel->text().startsWith(
        u"Ihr Anbieter nimmt gerade keine weiteren Nachrichten an („450 4.7.0 Mail send limit exceeded“). "
        "Weiter um "_qs))
        << progress->CurrentLabel->text().toStdString();
    EXPECT_TRUE(progress->StopButton->isVisible());
    EXPECT_EQ(progress->status().sent, 3);
    EXPECT_EQ(progress->status().failed, 0);

    part->openReports();
    CampaignsDialog* reports = part->reportsDialog();
    ASSERT_TRUE(reports);
    EXPECT_TRUE(reports->Table->item(0, 2)->text().startsWith(u"wartet bis "_qs));
    reports->CloseButton->click();

    QTest::qWait(1100);  // the server's window of one second ends
    progress->TryNowButton->click();
    ASSERT_TRUE(waitForEnd(progress));
    EXPECT_EQ(progress->status().state, CampaignState::Finished);
    EXPECT_EQ(progress->status().failed, 0);
    EXPECT_EQ(server.countsByRecipient().size(), 6);
    EXPECT_EQ(server.limitedMoments().size(), 1);
}

TEST_F(SendWindow, FailedOnTemporaryAnswersAreSentAgainAndNobodyElse) {
    SmtpTestServer server;
    RecipientList list;
    for (int i = 0; i < 3; ++i) list.recipients.append({u"anna%1@example.org"_qs.arg(i), {}, i + 2});
    const QString folder = Campaign::create(work.path(), newsletter, list, server.profile()).folder();
    // A finished run: anna0 sent, anna1 greylisted beyond its retries, anna2 refused for good.
    const QDateTime t = QDateTime::currentDateTime();
    Journal(folder + u"/journal.log"_qs)
        .append({{JournalRecord::Sending, 0, t, {}},
                 {JournalRecord::Sent, 0, t, u"250 2.0.0 Ok"_qs},
                 {JournalRecord::Sending, 1, t, {}},
                 {JournalRecord::Failed, 1, t, u"450 4.2.0 Greylisted"_qs},
                 {JournalRecord::Sending, 2, t, {}},
                 {JournalRecord::Failed, 2, t, u"550 5.1.1 User unknown"_qs},
                 {JournalRecord::Finished, -1, t, {}}});

    part->openReports();
    CampaignsDialog* reports = part->reportsDialog();
    ASSERT_TRUE(reports);
    EXPECT_EQ(reports->Table->item(0, 2)->text(), u"fertig"_qs);
    ASSERT_TRUE(reports->RetryFailedButton->isEnabled());
    reports->RetryFailedButton->click();
    ProgressWindow* progress = part->progressWindow();
    ASSERT_TRUE(progress);
    ASSERT_TRUE(waitForEnd(progress));
    EXPECT_EQ(progress->status().sent, 2);
    EXPECT_EQ(progress->status().failed, 1);
    EXPECT_EQ(server.countsByRecipient(), (QMap<QByteArray, int>{{"anna1@example.org", 1}}));
    part->openReports();
    EXPECT_FALSE(part->reportsDialog()->RetryFailedButton->isEnabled()) << "only the refused one is left";
}

TEST_F(SendWindow, TheCheckPageSaysHowLongTheLimitsMakeTheSending) {
    const QString list = writeList(1200);
    SenderProfile gmail;
    gmail.address = u"verein@gmail.com"_qs;
    gmail.server = u"smtp.gmail.com"_qs;
    SenderProfile own = gmail;
    own.messagesPerHour = 100;
    const struct {
        SenderProfile profile;
        QString said;
    } rows[] = {
        {gmail,
         u" Dauer des Versands bei 500 Nachrichten am Tag: 3 Tage (so viele nimmt Gmail höchstens an)."_qs},
        {own, u" Dauer des Versands bei 100 Nachrichten pro Stunde: 12 Stunden."_qs},
    };
    for (const auto& row : rows) {
        part->openSendDialog(newsletter, row.profile);
        SendNewsletterDialog* dialog = part->sendDialog();
        dialog->ListEdit->setText(list);
        dialog->NextButton->click();
        EXPECT_TRUE(dialog->CountLabel->text().endsWith(row.said))
            << dialog->CountLabel->text().toStdString();
        dialog->reject();
        delete dialog;
    }
}

}  // namespace
}  // namespace zw::test

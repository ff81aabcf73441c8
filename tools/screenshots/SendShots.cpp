// The pictures of the help page "Versand": the list chosen, the check page, the progress window while
// it sends and at its end, the reports and the offer at start-up. The campaigns send to a stand-in
// that answers as a mail server would; nothing leaves the machine.
#include "SendShots.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QThread>
#include <QTimer>

#include <atomic>

#include "Shots.h"
#include "app/fMain.h"
#include "platform/FileIo.h"
#include "send/Campaign.h"
#include "send/Journal.h"
#include "send/ui/CampaignPart.h"
#include "send/ui/CampaignsDialog.h"
#include "send/ui/ProgressWindow.h"
#include "send/ui/SendNewsletterDialog.h"
#include "send/ui/SendPart.h"

using namespace zw::send;

SenderProfile sampleSender() {
    SenderProfile sample;
    sample.name = QStringLiteral("Förderverein Musterstadt e.V.");
    sample.address = QStringLiteral("foerderverein@gmx.de");
    sample.server = QStringLiteral("mail.gmx.net");
    sample.user = sample.address;
    sample.messagesPerMinute = 30;
    return sample;
}

namespace {

// Members as a club's spreadsheet lists them; three rows are no recipients.
QByteArray memberList(int count) {
    const char* first[] = {"Anna",  "Jonas",  "Lena",  "Paul", "Marie",
                           "Felix", "Sophie", "Lukas", "Emma", "Tim"};
    const char* last[] = {"Becker", "Schulz", "Wagner", "Hoffmann", "Koch", "Richter", "Klein", "Wolf"};
    QByteArray csv = "Vorname;Nachname;E-Mail\r\n";
    for (int i = 0; i < count; ++i) {
        const QByteArray firstName = first[i % 10], lastName = last[i / 10 % 8];
        const QByteArray number = i < 80 ? QByteArray() : QByteArray::number(i / 80 + 1);
        QByteArray address = firstName.toLower() + '.' + lastName.toLower() + number + "@example.org";
        if (i == 15)
            address = "";  // forgotten
        else if (i == 32)
            address = "felix.richter@example";  // no dot in the domain
        else if (i == 47)
            address = "anna.becker@example.org";  // the first row again
        csv += firstName + ';' + lastName + ';' + address + "\r\n";
    }
    return csv;
}

// Answers each message after a moment, as a server does; one member's mailbox is gone.
SenderFactory standInServer(int delayMs) {
    return [delayMs]() -> Campaign::SendFunction {
        return [delayMs](const QByteArray& to, const QByteArray&) {
            QThread::msleep(ulong(delayMs));
            if (to == "jonas.hoffmann@example.org")
                return SendResult{Outcome::RecipientRefused,
                                  550,
                                  QStringLiteral("550 5.1.1 <jonas.hoffmann@example.org>: Recipient address "
                                                 "rejected: User unknown"),
                                  {}};
            return SendResult{Outcome::Sent, 250, QStringLiteral("250 2.0.0 Ok: queued as 4B7F21A0C3"), {}};
        };
    };
}

Newsletter render(zw::TMainForm& form, const QString& subject, const QString& folder) {
    form.BetreffEdit->setText(subject);
    return form.sendPart().renderNewsletter(folder + QStringLiteral("/versand.eml"));
}

RecipientList listOf(int count, const QString& path) {
    zw::writeFileAtomic(path, memberList(count));
    return readRecipientFile(path);
}

}  // namespace

void drawSendingShots(zw::TMainForm& form, const QString& scratchFolder, const QString& out) {
    const QString work = form.session().folders.program;
    // The check page names the provider's rate; the pictures' campaigns send without one, or drawing
    // them would take minutes.
    SenderProfile sender = sampleSender();
    sender.messagesPerMinute = 0;
    const QString originalSubject = form.BetreffEdit->text();

    // Earlier campaigns for the list of reports: one finished, one paused, one a crash cut short.
    {
        Campaign done =
            Campaign::create(work, render(form, QStringLiteral("Vereinsnachrichten Februar"), scratchFolder),
                             listOf(40, scratchFolder + QStringLiteral("/februar.csv")), sender);
        std::atomic<bool> stop{false};
        done.run(standInServer(0)(), stop);
    }
    {
        Campaign paused = Campaign::create(
            work, render(form, QStringLiteral("Einladung zur Jahreshauptversammlung"), scratchFolder),
            listOf(70, scratchFolder + QStringLiteral("/jhv.csv")), sender);
        std::atomic<bool> stop{false};
        int sent = 0;
        const Campaign::SendFunction server = standInServer(0)();
        paused.run(
            [&](const QByteArray& to, const QByteArray& message) {
                stop = ++sent == 30;
                return server(to, message);
            },
            stop);
    }
    QString interrupted;
    {
        Campaign cut =
            Campaign::create(work, render(form, QStringLiteral("Sommerfest am 21. Juni"), scratchFolder),
                             listOf(90, scratchFolder + QStringLiteral("/sommer.csv")), sender);
        interrupted = cut.folder();
        QList<JournalRecord> records;
        for (int i = 0; i < 52; ++i) {
            records.append({JournalRecord::Sending, i, QDateTime::currentDateTime(), {}});
            records.append(
                {JournalRecord::Sent, i, QDateTime::currentDateTime(), QStringLiteral("250 2.0.0 Ok")});
        }
        records.append({JournalRecord::Sending, 52, QDateTime::currentDateTime(), {}});
        Journal(cut.folder() + QStringLiteral("/journal.log")).append(records);
    }

    // "Newsletter versenden…": the lists chosen, then the check page.
    const QString list = scratchFolder + QStringLiteral("/Mitglieder.csv");
    const QString exclusions = scratchFolder + QStringLiteral("/Abmeldungen.txt");
    zw::writeFileAtomic(list, memberList(64));
    zw::writeFileAtomic(exclusions, "lena.schulz@example.org\r\nEmma Wagner\r\n");
    SendNewsletterDialog dialog(render(form, QStringLiteral("Vereinsnachrichten März"), scratchFolder),
                                sampleSender(), &form);
    dialog.ListEdit->setText(QStringLiteral("/home/anna/Dokumente/Mitglieder.csv"));
    dialog.ExcludeEdit->setText(QStringLiteral("/home/anna/Dokumente/Abmeldungen.txt"));
    dialog.show();
    settle(300);
    save(dialog.grab(), out + QStringLiteral("versand_listen.png"));
    dialog.ListEdit->setText(list);
    dialog.ExcludeEdit->setText(exclusions);
    dialog.showCheckPage();
    settle(300);
    save(dialog.grab(), out + QStringLiteral("versand_pruefen.png"));

    // Sending, and its end.
    Campaign campaign = Campaign::create(work, dialog.newsletter(), dialog.recipients(), sender);
    dialog.hide();
    ProgressWindow progress(&form);
    progress.show();
    progress.start(std::move(campaign), standInServer(90));
    settle(2600);
    save(progress.grab(), out + QStringLiteral("versand_fortschritt.png"));
    while (progress.isSending()) settle(100);
    settle(300);
    save(progress.grab(), out + QStringLiteral("versand_fertig.png"));
    progress.hide();

    CampaignsDialog reports(work, &form);
    for (int row = 0; row < reports.campaigns().size(); ++row)
        if (reports.campaigns()[row].folder == interrupted)
            reports.Table->selectRow(row);
    reports.show();
    settle(300);
    save(reports.grab(), out + QStringLiteral("versandberichte.png"));
    reports.hide();

    // The offer at the next start, answered "Später" once it is drawn.
    QTimer::singleShot(800, [&] {
        if (QWidget* question = QApplication::activeModalWidget()) {
            save(question->grab(), out + QStringLiteral("versand_fortsetzen.png"));
            question->close();
        }
    });
    form.sendPart().campaigns().offerInterrupted();

    // A campaign waiting out the provider's limit: the server refuses the sender after 23 messages.
    {
        Campaign limited =
            Campaign::create(work, render(form, QStringLiteral("Vereinsnachrichten März"), scratchFolder),
                             listOf(60, scratchFolder + QStringLiteral("/maerz.csv")), sender);
        ProgressWindow waiting(&form);
        waiting.show();
        waiting.start(std::move(limited), []() -> Campaign::SendFunction {
            return [count = 0](const QByteArray&, const QByteArray&) mutable {
                QThread::msleep(20);
                if (++count > 23)
                    return SendResult{
                        Outcome::Throttled, 450, QStringLiteral("450 4.7.0 Mail send limit exceeded"), {}};
                return SendResult{
                    Outcome::Sent, 250, QStringLiteral("250 2.0.0 Ok: queued as 4B7F21A0C3"), {}};
            };
        });
        while (!waiting.TryNowButton->isVisible()) settle(100);
        settle(300);
        save(waiting.grab(), out + QStringLiteral("versand_warten.png"));
        waiting.pauseAndWait();
        settle(300);
    }
    form.BetreffEdit->setText(originalSubject);
}

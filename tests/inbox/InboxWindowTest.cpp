#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractItemView>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

#include "inbox/ui/BlockListDialog.h"
#include "inbox/ui/InboxReviewDialog.h"
#include "inbox/ui/IncomingServerDialog.h"
#include "send/ui/SendNewsletterDialog.h"
#include "support/ImapTestServer.h"

namespace zw::inbox {
namespace {

using namespace zw::send;

// Every control a screen reader reaches has a name: its own, its text, or its label's.
void expectNamed(QWidget& dialog) {
    QSet<QWidget*> labelled;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy())
            labelled.insert(label->buddy());
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        const auto* button = qobject_cast<QAbstractButton*>(w);
        if (!button && !qobject_cast<QLineEdit*>(w) && !qobject_cast<QAbstractItemView*>(w) &&
            !qobject_cast<QComboBox*>(w) && !qobject_cast<QSpinBox*>(w))
            continue;
        if (qobject_cast<QSpinBox*>(w->parentWidget()) || qobject_cast<QAbstractItemView*>(w->parentWidget()))
            continue;  // the inner parts of a spin box or a table (headers, corner button)
        const bool named =
            !w->accessibleName().isEmpty() || labelled.contains(w) || (button && !button->text().isEmpty());
        EXPECT_TRUE(named) << dialog.objectName().toStdString() << ": " << w->metaObject()->className();
    }
}

QString write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    QFile file(dir.filePath(QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return file.fileName();
}

TEST(InboxWindows, BlockListDialogAddsImportsAndRemoves) {
    QTemporaryDir work;
    BlockListDialog dialog(work.path());
    expectNamed(dialog);
    dialog.AddressEdit->setText(QStringLiteral("anna@example.net"));
    dialog.addTypedAddress();
    dialog.AddressEdit->setText(QStringLiteral("Anna <anna@example.net>"));
    dialog.addTypedAddress();
    EXPECT_TRUE(dialog.MessageLabel->text().contains(u"ist keine Adresse"))
        << dialog.MessageLabel->text().toStdString();
    dialog.importFile(
        write(work, "alt.csv", "E-Mail;Name\nbernd@example.com;B\ncarla@example.com;C\nkaputt;D\n"));
    EXPECT_TRUE(dialog.MessageLabel->text().startsWith(u"2 Adressen aus „alt.csv“ neu gesperrt. 1 Zeilen"));
    EXPECT_EQ(dialog.CountLabel->text(), QStringLiteral("3 Adressen sind gesperrt."));
    ASSERT_EQ(dialog.Table->rowCount(), 3);

    for (int row = 0; row < 3; ++row)
        if (dialog.Table->item(row, 0)->text() == u"bernd@example.com")
            dialog.Table->selectRow(row);
    dialog.removeSelected();
    const BlockList saved = BlockList::load(blockListPath(work.path()));
    ASSERT_EQ(saved.entries().size(), 2);
    EXPECT_EQ(saved.find(QStringLiteral("bernd@example.com")), nullptr);
    EXPECT_EQ(saved.find(QStringLiteral("anna@example.net"))->reason, QStringLiteral("von Hand"));
}

TEST(InboxWindows, ReviewTakesOnlyWhatStaysTicked) {
    QTemporaryDir work;
    CheckResult result;
    result.newMessages = 12;
    const QDateTime when(QDate(2026, 12, 2), QTime(8, 0));
    result.items = {{InboxFinding::Permanent, "anna@example.net", "Status 5.1.1: User unknown", when, "f",
                     "Herbst", true},
                    {InboxFinding::Temporary, "bernd@example.com", "Status 4.2.2: Mailbox full", when, "f",
                     "Herbst", false},
                    {InboxFinding::Unsubscribe, "carla@example.com", "Abmelden", when, "f", "Herbst", true},
                    {InboxFinding::Permanent, "dora@example.com", "Status 5.1.1", QDateTime(), "f", "Herbst", false}};
    InboxReviewDialog dialog(work.path(), result);
    expectNamed(dialog);
    EXPECT_TRUE(dialog.SummaryLabel->text().startsWith(u"12 neue Nachrichten"));
    EXPECT_EQ(dialog.Table->item(1, 1)->text(), QStringLiteral("vorübergehend unzustellbar"));
    EXPECT_EQ(dialog.Table->item(0, 0)->checkState(), Qt::Checked);
    EXPECT_EQ(dialog.Table->item(1, 0)->checkState(), Qt::Unchecked);
    for (const int row : {0, 2}) dialog.Table->item(row, 0)->setCheckState(Qt::Unchecked);
    EXPECT_FALSE(dialog.ApplyButton->isEnabled()) << "nothing ticked, nothing to take over";
    for (const int row : {0, 1, 3}) dialog.Table->item(row, 0)->setCheckState(Qt::Checked);
    EXPECT_TRUE(dialog.ApplyButton->isEnabled());
    dialog.accept();
    EXPECT_EQ(dialog.Summary, QStringLiteral("3 Adressen auf die Sperrliste gesetzt."));
    const BlockList saved = BlockList::load(blockListPath(work.path()));
    ASSERT_EQ(saved.entries().size(), 3);
    EXPECT_EQ(saved.entries()[1].address, QStringLiteral("bernd@example.com"));
    EXPECT_EQ(saved.entries()[1].evidence, QStringLiteral("Status 4.2.2: Mailbox full"));
    EXPECT_EQ(saved.entries()[1].date, when) << "the bounce's date";
    EXPECT_EQ(saved.entries()[2].date.date(), QDate::currentDate()) << "no date of its own: the check's day";
    EXPECT_EQ(saved.find(QStringLiteral("carla@example.com")), nullptr);

    InboxReviewDialog nothingFound(work.path(), CheckResult{});
    EXPECT_FALSE(nothingFound.ApplyButton->isEnabled());
    EXPECT_FALSE(nothingFound.Table->isVisibleTo(&nothingFound));
}

// What blocks nobody stands apart, without ticks: the sender's problems once per provider and
// campaign, with what to do and the server's text, and a bounce that names nobody of its campaign.
TEST(InboxWindows, ReviewListsTheSendersProblemsApart) {
    QTemporaryDir work;
    CheckResult result;
    const QDateTime when(QDate(2026, 12, 2), QTime(8, 0));
    ReviewItem unassigned{
        InboxFinding::Permanent, "fremd@example.com", "Status 5.1.1", when, "f", "Herbst", false};
    unassigned.assigned = false;
    result.items = {{InboxFinding::Permanent, "anna@example.net", "Status 5.1.1", when, "f", "Herbst", true},
                    {InboxFinding::SenderSide, "bernd@t-online.de", "554 IP=192.0.2.1 - A problem occurred.",
                     when, "f", "Herbst", true},
                    {InboxFinding::SenderSide, "carla@magenta.de", "554 IP=192.0.2.1 - A problem occurred.",
                     when, "f", "Herbst", false},
                    unassigned};
    InboxReviewDialog dialog(work.path(), result);
    expectNamed(dialog);
    ASSERT_EQ(dialog.Table->rowCount(), 1);
    ASSERT_EQ(dialog.SenderTable->rowCount(), 2);
    EXPECT_EQ(dialog.SenderTable->item(0, 0)->text(), QStringLiteral("Problem beim Absender"));
    EXPECT_EQ(dialog.SenderTable->item(0, 1)->text(), QStringLiteral("T-Online (2 Adressen)"));
    EXPECT_EQ(dialog.SenderTable->item(0, 3)->text(),
              QStringLiteral("554 IP=192.0.2.1 - A problem occurred."));
    EXPECT_EQ(dialog.SenderTable->item(1, 0)->text(), QStringLiteral("nicht zuzuordnen (unzustellbar)"));
    EXPECT_TRUE(dialog.SenderAdviceLabel->text().contains(u"SPF und DKIM"));
    dialog.accept();
    const BlockList saved = BlockList::load(blockListPath(work.path()));
    ASSERT_EQ(saved.entries().size(), 1);
    EXPECT_EQ(saved.entries()[0].address, QStringLiteral("anna@example.net"));
}

TEST(InboxWindows, IncomingServerComesFromTheProviderAndIsSaved) {
    QTemporaryDir work;
    SenderProfile profile;
    profile.address = QStringLiteral("verein@web.de");
    profile.server = QStringLiteral("smtp.web.de");
    profile.user = QStringLiteral("verein@web.de");
    saveProfile(profile, profilePath(work.path()));
    IncomingServerDialog dialog(profilePath(work.path()));
    expectNamed(dialog);
    EXPECT_EQ(dialog.ServerEdit->text(), QStringLiteral("imap.web.de"));
    EXPECT_EQ(dialog.PortSpinBox->value(), 993);
    // The port follows the encryption only while it is the other one's usual port.
    const auto choose = [&dialog](int index) {
        dialog.SecurityComboBox->setCurrentIndex(index);
        Q_EMIT dialog.SecurityComboBox->activated(index);
    };
    choose(1);
    EXPECT_EQ(dialog.PortSpinBox->value(), 143);
    dialog.PortSpinBox->setValue(2563);
    choose(0);
    EXPECT_EQ(dialog.PortSpinBox->value(), 2563);
    dialog.PortSpinBox->setValue(993);
    dialog.accept();
    const SenderProfile saved = loadProfile(profilePath(work.path()));
    EXPECT_EQ(saved.imapServer, QStringLiteral("imap.web.de"));
    EXPECT_EQ(saved.imapSecurity, Security::ImplicitTls);
    EXPECT_EQ(saved.server, QStringLiteral("smtp.web.de"));
}

TEST(InboxWindows, VerifyingLogsInAndExaminesWithoutReadingAndTheResultIsRead) {
    test::ImapTestServer server;
    server.deliver("From: a@example.org\r\nSubject: Hallo\r\n\r\nText\r\n");
    QTemporaryDir work;
    saveProfile(server.profile(), profilePath(work.path()));
    const auto flagsBefore = server.flags();
    IncomingServerDialog dialog(profilePath(work.path()));
    expectNamed(dialog);
    EXPECT_TRUE(dialog.PasswordEdit->isVisibleTo(&dialog)) << "a login of its own has a password of its own";
    QSignalSpy verified(&dialog, &IncomingServerDialog::verified);
    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(dialog.ResultLabel);
    dialog.VerifyButton->click();
    EXPECT_TRUE(dialog.ResultLabel->text().startsWith(QStringLiteral("Bitte geben Sie das Passwort für versand")));
    dialog.PasswordEdit->setText(QString::fromLatin1(test::ImapTestServer::kPassword));
    dialog.VerifyButton->click();
    ASSERT_TRUE(verified.wait(30000)) << dialog.ResultLabel->text().toStdString();
    EXPECT_TRUE(dialog.ResultLabel->text().startsWith(QStringLiteral("Verbindung in Ordnung: Die Anmeldung als "
                                                                     "versand bei localhost wurde angenommen, "
                                                                     "der Posteingang enthält eine Nachricht.")))
        << dialog.ResultLabel->text().toStdString();
    EXPECT_EQ(result->text(QAccessible::Name), dialog.ResultLabel->text());
    EXPECT_EQ(server.flags(), flagsBefore) << "nothing read, nothing marked";

    dialog.UserEdit->clear();
    EXPECT_FALSE(dialog.PasswordEdit->isVisibleTo(&dialog)) << "the login for sending has its password";
}

TEST(InboxWindows, CheckPageLeavesOutTheBlockedAndSaysWhy) {
    QTemporaryDir work;
    const QByteArray message =
        "From: x@example.org\r\nSubject: Herbst\r\nMIME-Version: 1.0\r\n"
        "Content-Type: text/plain\r\n\r\nHallo\r\n";
    SendNewsletterDialog dialog({message, "https://verein.example/ab"}, SenderProfile{});
    BlockList blocks;
    blocks.add({"bernd@example.com", "Abmeldung", QDateTime::currentDateTime(), "Re: Herbst", "Sommer"});
    dialog.setBlockList(blocks);
    dialog.ListEdit->setText(
        write(work, "liste.txt", "anna@example.net\nBERND@example.com\ncarla@example.com\n"));
    dialog.showCheckPage();
    EXPECT_EQ(dialog.recipients().recipients.size(), 2);
    EXPECT_TRUE(dialog.CountLabel->text().startsWith(u"2 Adressen erhalten den Newsletter."));
    EXPECT_TRUE(dialog.BlockedLabel->text().startsWith(u"1 Adresse der Liste steht auf der Sperrliste"));
    const QAbstractItemModel* rows = dialog.RejectedTable->model();
    ASSERT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(rows->index(0, 0).data().toString(), QStringLiteral("Sperrliste.csv"));
    EXPECT_EQ(rows->index(0, 1).data().toLongLong(), 2);
    EXPECT_EQ(rows->index(0, 3).data().toString(), QStringLiteral("steht auf der Sperrliste: Abmeldung"));
}

}  // namespace
}  // namespace zw::inbox

// The menu "Versand" in the window: the sender dialog with its provider table and its password, the
// sender in the renderings' From line, and the single mail asking the desktop for its mail program.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <map>

#include "AppFixture.h"
#include "dispatch/ui/PreviewPart.h"
#include "send/PasswordStore.h"
#include "send/ui/SendPart.h"
#include "send/ui/SenderDialog.h"
#include "support/MimeCheck.h"
#include "support/SmtpTestServer.h"

namespace zw::test {
namespace {

// A secret store that keeps its passwords in memory, or that is not there.
class MemoryStore : public send::PasswordStore {
public:
    MemoryStore(bool available, std::map<QString, QString>& entries)
        : available_(available), entries_(entries) {}
    bool available() override { return available_; }
    std::optional<QString> read(const QString& account) override {
        const auto it = entries_.find(account);
        return it == entries_.end() ? std::nullopt : std::optional(it->second);
    }
    void write(const QString& account, const QString& password) override { entries_[account] = password; }
    void remove(const QString& account) override { entries_.erase(account); }

private:
    bool available_;
    std::map<QString, QString>& entries_;
};

class SendWindowTest : public AppTest {
protected:
    // The desktop's programs are stood in for; the test server's (openssl, python3) are the machine's.
    SendWindowTest() : oldPath_(qgetenv("PATH")) {
        qputenv("PATH", QFile::encodeName(bin_) + ':' + oldPath_);
    }
    ~SendWindowTest() override { qputenv("PATH", oldPath_); }

    TMainForm& startWithStore(bool available) {
        TMainForm& f = start();
        f.sendPart().setPasswordStore(std::make_unique<MemoryStore>(available, secrets));
        f.show();
        QApplication::setActiveWindow(&f);
        return f;
    }
    send::SenderDialog& openDialog() {
        form->AbsenderundServer1->trigger();
        send::SenderDialog* dialog = form->sendPart().senderDialog();
        EXPECT_TRUE(dialog && dialog->isVisible());
        QApplication::setActiveWindow(dialog);
        return *dialog;
    }
    static void type(QLineEdit* edit, const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    // A stand-in for a desktop program: prints what it is told and records that it ran.
    void standIn(const QString& name, const QByteArray& output, int exitCode = 0) {
        const QString path = bin_ + name;
        writeAll(path, "#!/bin/sh\necho \"$@\" >> '" + QFile::encodeName(ran_) + "'\nprintf '%s' '" + output +
                           "'\nexit " + QByteArray::number(exitCode) + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    QString ran() const { return QString::fromUtf8(readAll(ran_)); }
    QByteArray preview1() const { return readAll(program(u"preview1.eml"_qs)); }

    std::map<QString, QString> secrets;
    TempFolder tools_;
    QString bin_ = tools_.subfolder(u"bin"_qs);
    QString ran_ = tools_.file(u"ran"_qs);
    QByteArray oldPath_;
};

TEST_F(SendWindowTest, MenuSitsBetweenFileAndHelpWithItsCommands) {
    TMainForm& f = startWithStore(true);
    QStringList menus;
    for (QAction* action : f.menuBar()->actions()) menus.append(action->text().remove(u'&'));
    EXPECT_EQ(menus, QStringList({u"Datei"_qs, u"Versand"_qs, u"Hilfe"_qs}));
    QStringList entries;
    for (QAction* action : f.VersandMenu->actions())
        if (!action->isSeparator())
            entries.append(action->text().remove(u'&') + (action->isEnabled() ? u""_qs : u" (aus)"_qs));
    EXPECT_EQ(entries, QStringList({u"Absender und Server…"_qs, u"Testmail an mich senden"_qs,
                                    u"Newsletter versenden…"_qs, u"Versandberichte…"_qs, u"Sperrliste…"_qs,
                                    u"Rückläufer und Abmeldungen prüfen…"_qs, u"Posteingang einrichten…"_qs}));
}

TEST_F(SendWindowTest, DialogFillsInTheProviderKeepsThePasswordOutOfTheFileAndTheSenderGoesIntoFrom) {
    TMainForm& f = startWithStore(true);
    // No sender yet: the single mail carries the placeholder.
    standIn(u"xdg-mime"_qs, "thunderbird.desktop");
    standIn(u"xdg-open"_qs, "");
    f.StartMailBitBtn->click();
    EXPECT_TRUE(
        preview1().startsWith("From: \"Ihr Name\" <ihre.adresse@example.com>\r\nSubject: Herbst\r\n"));

    send::SenderDialog& d = openDialog();
    EXPECT_TRUE(d.StoreLabel->text().contains(u"Schlüsselbund"_qs));
    EXPECT_FALSE(d.StoreLabel->text().contains(u"kein"_qs));
    d.NameEdit->setText(u"Förderverein Grünau"_qs);
    type(d.AddressEdit, u"verein@googlemail.com"_qs);
    EXPECT_EQ(d.ServerEdit->text(), u"smtp.gmail.com"_qs);
    EXPECT_EQ(d.PortSpinBox->value(), 587);
    EXPECT_EQ(d.SecurityComboBox->currentText(), u"STARTTLS"_qs);
    EXPECT_EQ(d.UserEdit->text(), u"verein@googlemail.com"_qs);  // followed the address as it was typed
    EXPECT_TRUE(d.ProviderLabel->isVisibleTo(&d));
    EXPECT_TRUE(d.ProviderLabel->text().contains(u"App-Passwort"_qs));
    EXPECT_EQ(d.DaySpinBox->value(), 500);  // what Gmail publishes
    // A Gmail address through another provider's server is warned of, as long as it is so.
    type(d.ServerEdit, u"mail.gmx.net"_qs);
    EXPECT_TRUE(d.ProviderLabel->text().contains(u"Achtung: Die Absenderadresse gehört zu Gmail"_qs));
    type(d.ServerEdit, u"smtp.gmail.com"_qs);
    EXPECT_FALSE(d.ProviderLabel->text().contains(u"Achtung"_qs));

    // Another provider: its settings replace the first one's, and its sentence the other sentence.
    type(d.AddressEdit, u"verein@gmx.de"_qs);
    EXPECT_EQ(d.ServerEdit->text(), u"mail.gmx.net"_qs);
    EXPECT_TRUE(d.ProviderLabel->text().contains(u"POP3 und IMAP"_qs));
    EXPECT_EQ(d.DaySpinBox->value(), 0);  // GMX publishes none
    // A change that typed nothing (pasted, undone) takes the hint along as well.
    d.AddressEdit->setText(u"verein@verein-gruenau.de"_qs);
    EXPECT_FALSE(d.ProviderLabel->isVisibleTo(&d));
    type(d.AddressEdit, u"verein@gmx.de"_qs);
    EXPECT_TRUE(d.ProviderLabel->text().startsWith(u"Anbieter erkannt: GMX."_qs));
    // What the user changes stays while the address keeps its provider.
    d.SecurityComboBox->setCurrentIndex(1);
    d.PortSpinBox->setValue(465);
    type(d.UserEdit, u"K12345"_qs);
    type(d.AddressEdit, u"vorstand@gmx.de"_qs);
    EXPECT_EQ(d.PortSpinBox->value(), 465);
    EXPECT_EQ(d.UserEdit->text(), u"K12345"_qs);
    // An address of no known provider takes nothing away and says nothing.
    type(d.AddressEdit, u"vorstand@verein-gruenau.de"_qs);
    EXPECT_EQ(d.ServerEdit->text(), u"mail.gmx.net"_qs);
    EXPECT_FALSE(d.ProviderLabel->isVisibleTo(&d));

    type(d.PasswordEdit, u"Sehr-Geheim-4711"_qs);
    d.Buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(f.sendPart().senderDialog()) << d.ResultLabel->text().toStdString();
    const QByteArray file = readAll(program(u"Absender.ini"_qs));
    EXPECT_TRUE(file.contains("Adresse=vorstand@verein-gruenau.de"));
    EXPECT_FALSE(file.contains("Sehr-Geheim")) << file.constData();
    EXPECT_EQ(QFile::permissions(program(u"Absender.ini"_qs)),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(secrets, (std::map<QString, QString>{{u"K12345@mail.gmx.net"_qs, u"Sehr-Geheim-4711"_qs}}));

    // Every rendering names the sender now; the name with umlauts as an encoded word.
    f.StartMailBitBtn->click();
    EXPECT_TRUE(
        preview1().startsWith("From: =?UTF-8?Q?F=C3=B6rderverein_Gr=C3=BCnau?= "
                              "<vorstand@verein-gruenau.de>\r\nSubject: Herbst\r\n"));

    // Opened again, the dialog shows the password from the store; a new user name moves it there.
    send::SenderDialog& again = openDialog();
    EXPECT_EQ(again.PasswordEdit->text(), u"Sehr-Geheim-4711"_qs);
    type(again.UserEdit, u"vorstand"_qs);
    again.Buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_EQ(secrets, (std::map<QString, QString>{{u"vorstand@mail.gmx.net"_qs, u"Sehr-Geheim-4711"_qs}}));
}

TEST_F(SendWindowTest, WithoutASecretStoreThePasswordIsKeptNowhereAndBadSettingsAreSaid) {
    startWithStore(false);
    send::SenderDialog& d = openDialog();
    EXPECT_TRUE(d.StoreLabel->text().contains(u"kein Schlüsselbund"_qs));
    type(d.AddressEdit, u"ich@example.org"_qs);
    type(d.ServerEdit, u"mail.example.org"_qs);
    type(d.PasswordEdit, u"Nur-Im-Kopf"_qs);
    d.SecurityComboBox->setCurrentIndex(2);
    d.SecurityComboBox->activated(2);
    EXPECT_EQ(d.PortSpinBox->value(), 25);  // the port follows while it is the usual one
    d.Buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_TRUE(d.ResultLabel->text().contains(u"nur an einen Mailserver auf diesem Rechner"_qs));
    EXPECT_FALSE(QFile::exists(program(u"Absender.ini"_qs)));

    type(d.ServerEdit, u"localhost"_qs);
    d.Buttons->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(form->sendPart().senderDialog());
    EXPECT_FALSE(readAll(program(u"Absender.ini"_qs)).contains("Nur-Im-Kopf"));
    EXPECT_TRUE(secrets.empty());
    EXPECT_EQ(form->sendPart().profile().server, u"localhost"_qs);
    // Kept in memory for the program's run: the test mail a moment later does not ask again.
    EXPECT_EQ(form->sendPart().passwordFor(form->sendPart().profile()),
              std::optional<QString>(u"Nur-Im-Kopf"_qs));
}

TEST_F(SendWindowTest, DialogIsNamedForScreenReadersAndWalkedByTheKeyboard) {
    startWithStore(true);
    send::SenderDialog& d = openDialog();
    type(d.AddressEdit, u"a@web.de"_qs);
    QStringList unnamed;
    for (QWidget* w : d.findChildren<QWidget*>()) {
        // A spin box is read as one control, its own line edit included.
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisible() || w->objectName() == u"qt_spinbox_lineedit")
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.append(QString::fromLatin1(w->metaObject()->className()) + u' ' + w->objectName());
    }
    EXPECT_EQ(unnamed, QStringList());
    QStringList walk;
    d.NameEdit->setFocus();
    for (int i = 0; i < 15; ++i) {
        walk.append(QApplication::focusWidget()->objectName());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(walk.mid(0, 14),
              QStringList({u"NameEdit"_qs, u"AddressEdit"_qs, u"ServerEdit"_qs, u"PortSpinBox"_qs,
                           u"SecurityComboBox"_qs, u"UserEdit"_qs, u"PasswordEdit"_qs, u"RateSpinBox"_qs,
                           u"HourSpinBox"_qs, u"DaySpinBox"_qs, u"CaFileEdit"_qs, u"CaFileButton"_qs,
                           u"OneClickCheckBox"_qs, u"VerifyButton"_qs}));
}

TEST_F(SendWindowTest, SingleMailAsksTheDesktopWhichProgramOpensMessagesFirst) {
    TMainForm& f = startWithStore(true);
    const struct {
        const char* mimeAnswer;
        int mimeExit;
        bool handedOn;
        const char* noticeWords;
    } rows[] = {
        {"thunderbird.desktop", 0, true, ""},
        {"org.gnome.Evolution.desktop", 0, false, "Evolution, das Programm Ihres Desktops"},
        {"evolution.desktop", 0, false, "Evolution"},
        {"org.kde.kmail2.desktop", 0, false, "KMail"},
        {"", 0, false, "kein Mailprogramm"},
        {"", 5, true, ""},  // the desktop cannot be asked: the hand-off tells
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.mimeAnswer);
        QFile::remove(ran_);
        prompts.testMailOffers.clear();
        standIn(u"xdg-mime"_qs, row.mimeAnswer, row.mimeExit);
        standIn(u"xdg-open"_qs, "");
        prompts.testMailAnswers = {false};
        f.StartMailBitBtn->click();
        EXPECT_TRUE(ran().startsWith(u"query default message/rfc822\n"_qs));
        if (row.handedOn)
            EXPECT_TRUE(QTest::qWaitFor([&] { return ran().contains(program(u"preview1.eml"_qs)); }, 5000));
        else
            EXPECT_FALSE(ran().contains(program(u"preview1.eml"_qs)));
        if (row.handedOn) {
            EXPECT_EQ(prompts.testMailOffers, QStringList());
            prompts.testMailAnswers.clear();
            continue;
        }
        ASSERT_EQ(prompts.testMailOffers.size(), 1);
        EXPECT_TRUE(prompts.testMailOffers[0].contains(QString::fromUtf8(row.noticeWords)));
        EXPECT_TRUE(prompts.testMailOffers[0].contains(program(u"preview1.eml"_qs)));
        EXPECT_TRUE(prompts.testMailOffers[0].contains(u"„Testmail an mich senden“"_qs));
        EXPECT_EQ(f.PageControl1->currentIndex(), kNewsPage);
    }
    // Taking the offer without a sender set up opens the sender dialog, which says what is missing.
    standIn(u"xdg-mime"_qs, "");
    prompts.testMailAnswers = {true};
    f.StartMailBitBtn->click();
    ASSERT_TRUE(f.sendPart().senderDialog());
    EXPECT_TRUE(f.sendPart().senderDialog()->ResultLabel->text().contains(u"fehlt noch der Absender"_qs));
    EXPECT_EQ(prompts.plainMessages, QStringList());
}

TEST_F(SendWindowTest, TestMailReachesTheServerWithTheSenderAndSaysWhatTheServerAnswered) {
    SmtpTestServer server;
    send::saveProfile(server.profile(), program(u"Absender.ini"_qs));
    TMainForm& f = startWithStore(true);
    secrets[send::passwordAccount(QString::fromLatin1(SmtpTestServer::kUser), u"localhost"_qs)] =
        QString::fromLatin1(SmtpTestServer::kPassword);
    f.HeadLineEdit->setText(u"Nur in der Testmail"_qs);  // not written back yet
    QSignalSpy answered(&f.sendPart(), &send::SendPart::testMailAnswered);
    f.Testmailanmichsenden1->trigger();
    ASSERT_TRUE(answered.wait(30000));
    EXPECT_EQ(prompts.errors, QStringList());
    ASSERT_EQ(prompts.informations.size(), 1);
    EXPECT_TRUE(
        prompts.informations[0].startsWith(u"Der Server localhost hat die Testmail an versand@example.org "
                                           "angenommen"_qs))
        << prompts.informations[0].toStdString();
    EXPECT_TRUE(prompts.informations[0].contains(u"Antwort des Servers: 250"_qs));

    const QList<ReceivedMessage> received = server.received();
    ASSERT_EQ(received.size(), 1);
    EXPECT_EQ(received[0].recipients, QList<QByteArray>{"versand@example.org"});
    EXPECT_TRUE(received[0].content.contains("\r\nList-Unsubscribe: <http://www.example.org/ab>\r\n"));
    const MimeNewsletter parsed = parseNewsletter(received[0].content);
    EXPECT_EQ(parsed.problems, QStringList());
    EXPECT_EQ(parsed.fromName, u"Turnverein Müggelsee"_qs);
    EXPECT_EQ(parsed.fromAddress, u"versand@example.org"_qs);
    EXPECT_EQ(parsed.subject, u"Herbst"_qs);
    EXPECT_TRUE(parsed.html.contains("Nur in der Testmail"));

    // Refused: the transport's German words and the server's own, as an error.
    server.setFaults({.refuseLogin = true});
    prompts.informations.clear();
    f.Testmailanmichsenden1->trigger();
    ASSERT_TRUE(answered.wait(30000));
    ASSERT_EQ(prompts.errors.size(), 1);
    EXPECT_TRUE(prompts.errors[0].startsWith(u"Die Testmail wurde nicht gesendet.\n"_qs));
    EXPECT_TRUE(prompts.errors[0].contains(u"535 5.7.8"_qs)) << prompts.errors[0].toStdString();
    EXPECT_EQ(prompts.errors[0].count(u"535 5.7.8"_qs), 1);  // said once, not again as the server's words
    EXPECT_EQ(server.received().size(), 1);
}

TEST_F(SendWindowTest, VerifyingLogsInWithoutSendingAndSaysWhatHappened) {
    SmtpTestServer server;
    send::saveProfile(server.profile(), program(u"Absender.ini"_qs));
    startWithStore(false);
    send::SenderDialog& d = openDialog();
    QSignalSpy verified(&d, &send::SenderDialog::verified);
    // What a screen reader reads: the result as the name, what it is as the description.
    QAccessibleInterface* result = QAccessible::queryAccessibleInterface(d.ResultLabel);
    const struct {
        const char* password;
        const char* said;
    } rows[] = {
        {SmtpTestServer::kPassword,
         "Verbindung in Ordnung: der Server localhost ist erreichbar, sein Zertifikat "
         "ist gültig und die Anmeldung als versand@example.org wurde angenommen."},
        {"falsch", "535"},
    };
    for (const auto& row : rows) {
        type(d.PasswordEdit, QString::fromLatin1(row.password));
        QTest::mouseClick(d.VerifyButton, Qt::LeftButton);
        EXPECT_FALSE(d.VerifyButton->isEnabled());
        ASSERT_TRUE(verified.wait(30000));
        EXPECT_TRUE(d.VerifyButton->isEnabled());
        EXPECT_TRUE(d.ResultLabel->text().contains(QString::fromUtf8(row.said)))
            << d.ResultLabel->text().toStdString();
        EXPECT_EQ(result->text(QAccessible::Name), d.ResultLabel->text());
        EXPECT_EQ(result->text(QAccessible::Description), u"Ergebnis"_qs);
    }
    EXPECT_EQ(server.received().size(), 0);
    EXPECT_EQ(server.logins(), 1);
    EXPECT_EQ(server.refusedLogins(), 1);
}

}  // namespace
}  // namespace zw::test

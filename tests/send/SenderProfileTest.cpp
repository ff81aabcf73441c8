// The sender profile's file and the table of the common providers.
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include "platform/Error.h"
#include "send/Providers.h"
#include "send/SenderProfile.h"
#include "support/Files.h"

namespace zw::test {
namespace {

using send::Security;

int fileMode(const QString& path) {
    struct stat info {};
    ::stat(QFile::encodeName(path).constData(), &info);
    return int(info.st_mode & 0777);
}

TEST(SenderProfileTest, RoundTripsPrivatelyAndToleratesHandEdits) {
    TempFolder folder;
    const QString path = send::profilePath(folder.path());
    EXPECT_TRUE(path.endsWith(u"/Absender.ini"_qs));
    EXPECT_EQ(send::loadProfile(path).address, QString());  // no file yet: an empty profile
    EXPECT_FALSE(send::loadProfile(path).isComplete());

    send::SenderProfile profile;
    profile.name = u"Förderverein Grünau e.V."_qs;
    profile.address = u"verein@gmx.de"_qs;
    profile.server = u"mail.gmx.net"_qs;
    profile.port = 465;
    profile.security = Security::ImplicitTls;
    profile.user = u"verein@gmx.de"_qs;
    profile.messagesPerMinute = 20;
    profile.caFile = u"/home/max/Hausnetz CA.pem"_qs;
    profile.oneClickUnsubscribe = true;
    writeAll(path, "alt");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    send::saveProfile(profile, path);
    EXPECT_EQ(fileMode(path), 0600);
    const send::SenderProfile back = send::loadProfile(path);
    EXPECT_EQ(back.name, profile.name);
    EXPECT_EQ(back.address, profile.address);
    EXPECT_EQ(back.server, profile.server);
    EXPECT_EQ(back.port, 465);
    EXPECT_EQ(back.security, Security::ImplicitTls);
    EXPECT_EQ(back.user, profile.user);
    EXPECT_EQ(back.messagesPerMinute, 20);
    EXPECT_EQ(back.caFile, profile.caFile);
    EXPECT_TRUE(back.oneClickUnsubscribe);
    EXPECT_TRUE(back.isComplete());

    // A line break in a value cannot start a line of its own.
    profile.name = u"Zeile\r\nServer=boese.example"_qs;
    profile.security = Security::None;
    send::saveProfile(profile, path);
    EXPECT_EQ(send::loadProfile(path).server, u"mail.gmx.net"_qs);
    EXPECT_EQ(send::loadProfile(path).security, Security::None);

    // By hand: numbers that are none keep their defaults, unknown keys and lines are passed over.
    writeAll(path,
             "[Absender]\nAdresse= a@b.de \nPort=zwei\nSicherheit=ssl/tls\nNachrichtenProMinute=-3\n"
             "Farbe=blau\nohne Gleichheitszeichen\n");
    const send::SenderProfile edited = send::loadProfile(path);
    EXPECT_EQ(edited.address, u"a@b.de"_qs);
    EXPECT_EQ(edited.port, 587);
    EXPECT_EQ(edited.security, Security::ImplicitTls);
    EXPECT_EQ(edited.messagesPerMinute, 0);
    EXPECT_FALSE(edited.isComplete());

    // A file that exists but cannot be read is said, not taken for an empty profile.
    QFile::remove(path);
    QDir().mkpath(path);
    EXPECT_THROW(send::loadProfile(path), Error);
}

TEST(ProvidersTest, AddressDomainsFindTheirServer) {
    struct Row {
        const char* address;
        const char* server;  // empty: no provider
        int port;
        Security security;
        const char* noteWords;  // empty: no note
    };
    const Row rows[] = {
        {"Max.Muster@GMX.DE", "mail.gmx.net", 587, Security::StartTls, "POP3 und IMAP"},
        {"a@gmx.ch", "mail.gmx.net", 587, Security::StartTls, "POP3 und IMAP"},
        {"a@web.de", "smtp.web.de", 587, Security::StartTls, "POP3 und IMAP"},
        {"a@t-online.de", "securesmtp.t-online.de", 587, Security::StartTls, "E-Mail-Passwort"},
        {"a@posteo.net", "posteo.de", 587, Security::StartTls, ""},
        {"a@mailbox.org", "smtp.mailbox.org", 465, Security::ImplicitTls, "Applikationspasswort"},
        {"a@googlemail.com", "smtp.gmail.com", 587, Security::StartTls, "App-Passwort"},
        {"a@hotmail.de", "smtp-mail.outlook.com", 587, Security::StartTls, "keine Passwörter"},
        {"a@msn.com", "smtp-mail.outlook.com", 587, Security::StartTls, "keine Passwörter"},
        {"a@me.com", "smtp.mail.me.com", 587, Security::StartTls, "app-spezifisches Passwort"},
        {"a@yahoo.de", "smtp.mail.yahoo.com", 465, Security::ImplicitTls, "App-Passwort"},
        {"a@ionos.de", "smtp.ionos.de", 587, Security::StartTls, ""},
        {"a@1und1.de", "smtp.1und1.de", 587, Security::StartTls, ""},
        {"a@example.org", "", 0, Security::StartTls, ""},
        {"a@mail.gmx.de", "", 0, Security::StartTls, ""},  // a subdomain is another domain
        {"gmx.de", "", 0, Security::StartTls, ""},
    };
    for (const Row& row : rows) {
        const auto provider = send::providerForAddress(QString::fromUtf8(row.address));
        SCOPED_TRACE(row.address);
        if (!*row.server) {
            EXPECT_FALSE(provider.has_value());
            continue;
        }
        ASSERT_TRUE(provider.has_value());
        EXPECT_EQ(provider->server, QString::fromUtf8(row.server));
        EXPECT_EQ(provider->port, row.port);
        EXPECT_EQ(provider->security, row.security);
        EXPECT_EQ(provider->note.isEmpty(), !*row.noteWords);
        EXPECT_TRUE(provider->note.contains(QString::fromUtf8(row.noteWords)));
    }

    // The table itself: each domain belongs to one provider, and each note is one sentence.
    QStringList seen;
    for (const send::Provider& provider : send::knownProviders()) {
        for (const QString& domain : provider.domains) {
            EXPECT_EQ(domain, domain.toLower());
            EXPECT_FALSE(seen.contains(domain)) << domain.toStdString();
            seen.append(domain);
        }
        if (!provider.note.isEmpty()) {
            EXPECT_TRUE(provider.note.endsWith(u'.')) << provider.name.toStdString();
            EXPECT_EQ(provider.note.count(u". "_qs), 0) << provider.name.toStdString();
        }
    }
}

}  // namespace
}  // namespace zw::test

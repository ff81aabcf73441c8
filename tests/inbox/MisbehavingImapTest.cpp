#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "inbox/ImapSession.h"
#include "inbox/InboxCheck.h"
#include "inbox/InboxTestSupport.h"
#include "platform/Error.h"
#include "send/BlockList.h"
#include "support/MisbehavingImapServer.h"
#include "support/QtPrinters.h"

namespace zw::inbox {
namespace {

using namespace std::chrono_literals;
using namespace zw::test;

constexpr quint32 kHighest = 4294967295u;

// The limits shortened, so that each case ends in seconds.
ImapLimits shortLimits() {
    ImapLimits limits;
    limits.deadline = 4s;
    limits.idle = 1s;
    limits.answerBytes = 1024 * 1024;
    limits.checkBytes = 8 * 1024 * 1024;
    return limits;
}

ImapAccount accountOf(const MisbehavingImapServer& server) {
    ImapAccount account;
    account.host = QStringLiteral("127.0.0.1");
    account.port = server.port();
    account.security = send::Security::None;
    account.user = QStringLiteral("versand");
    account.password = QStringLiteral("geheim");
    return account;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(keine Datei)");
}

class MisbehavingImap : public ::testing::Test {
protected:
    void SetUp() override {
        ids = sendCampaign(work.path(), QStringLiteral("Sommerfest"),
                           {"anna@example.net", "bernd@example.com", "carla@example.com"});
        for (const char* address : {"anna@example.net", "bernd@example.com", "carla@example.com"})
            bounces.append(returning(failedDsn(QString::fromLatin1(address), "5.1.1"), ids[address]));
    }
    QString state() const { return work.filePath(QLatin1String(kInboxStateFileName)); }

    // A check against the server; its error message, empty when it went through.
    QString check(const MisbehavingImapServer& server, const ImapLimits& limits = shortLimits()) {
        try {
            ImapSession session(accountOf(server), limits);
            try {
                last = checkInbox(work.path(), QStringLiteral("versand@127.0.0.1"), session,
                                  send::BlockList::load(send::blockListPath(work.path())));
            } catch (const Error&) {
                peakHeld = session.peakHeldBytes();
                throw;
            }
            peakHeld = session.peakHeldBytes();
            return {};
        } catch (const Error& e) {
            return e.message();
        }
    }

    QTemporaryDir work;
    QMap<QString, QByteArray> ids;
    QList<QByteArray> bounces;
    CheckResult last;
    qint64 peakHeld = 0;
};

// Each misbehaviour ends the check within the deadline with a German message; the session never held
// much more than one answer's worth; the state stays as it was and no block list is written.
TEST_F(MisbehavingImap, EachMisbehaviourEndsTheCheckInGerman) {
    struct Case {
        const char* mode;
        const char* says;
    };
    const Case cases[] = {
        {"never-greets", "hat sich in 1 Sekunde nicht gemeldet"},
        {"drip", "hat 1 Sekunde lang keine vollständige Antwort geschickt; die Verbindung wurde beim Öffnen"},
        {"slow-lines",
         "hat länger gedauert als die vorgesehenen 4 Sekunden und wurde beim Öffnen des "
         "Posteingangs abgebrochen"},
        {"huge-literals", "schickt eine Antwort, die kein Posteingang sein kann (zu groß)"},
        {"many-literals", "schickt auf einen Befehl mehr als 1 MB"},
        {"search-bad", "nennt eine ungültige Nummer (keine 32-Bit-Zahl): „* SEARCH 1 2 3 4294967296“"},
        {"fetch-bad", "nennt eine ungültige Nummer"},
        {"bye", "hat die Verbindung beim Öffnen des Posteingangs beendet: „going away“"},
    };
    const QMap<quint32, QByteArray> messages = {{1, bounces[0]}, {2, bounces[1]}, {3, bounces[2]}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        MisbehavingImapServer server(QString::fromLatin1(c.mode), messages);
        const QString message = check(server);
        EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << message.toStdString();
        EXPECT_LE(peakHeld, shortLimits().answerBytes + 64 * 1024);
        EXPECT_EQ(fileBytes(state()), QByteArray("(keine Datei)"));
        EXPECT_FALSE(QFile::exists(send::blockListPath(work.path())));
    }
}

// The per-check cap holds across answers that each stay below their own.
TEST_F(MisbehavingImap, TheCheckReadsNoMoreThanItsCap) {
    MisbehavingImapServer server(QStringLiteral("many-literals"), {{1, bounces[0]}});
    ImapLimits limits = shortLimits();
    limits.answerBytes = 16 * 1024 * 1024;
    limits.checkBytes = 2 * 1024 * 1024;
    const QString message = check(server, limits);
    EXPECT_TRUE(message.contains(u"hat in dieser Prüfung mehr als 2 MB geschickt")) << message.toStdString();
    EXPECT_LE(peakHeld, 256 * 1024);
}

// A BYE in the middle of the messages: what was read whole is kept, the last UID stops before the
// first message not read, and the message says how far the check came.
TEST_F(MisbehavingImap, AByeKeepsWhatWasReadAndSaysHowFar) {
    MisbehavingImapServer server(QStringLiteral("bye-at-3"),
                                 {{1, bounces[0]}, {2, bounces[1]}, {3, bounces[2]}});
    const QString message = check(server);
    EXPECT_TRUE(message.contains(u"Bis dahin wurden 2 von 3 neuen Nachrichten gelesen"))
        << message.toStdString();
    const InboxState saved = InboxState::load(state());
    EXPECT_EQ(saved.lastUid, 2u);
    QStringList open;
    for (const ReviewItem& i : saved.open) open << i.address;
    EXPECT_EQ(open, QStringList({"anna@example.net", "bernd@example.com"}));
    EXPECT_FALSE(QFile::exists(send::blockListPath(work.path())));
}

// UIDs up to the highest 32-bit number are read; nothing wraps, and the next check reads nothing again.
TEST_F(MisbehavingImap, TheHighestUidIsReadOnceAndNothingWraps) {
    MisbehavingImapServer server(QStringLiteral("normal"),
                                 {{kHighest - 5, bounces[0]}, {kHighest, bounces[1]}});
    ASSERT_EQ(check(server), QString());
    EXPECT_EQ(last.newMessages, 2);
    EXPECT_EQ(last.items.size(), 2);
    EXPECT_EQ(InboxState::load(state()).lastUid, kHighest);
    ASSERT_EQ(check(server), QString());
    EXPECT_EQ(last.newMessages, 0);
    EXPECT_EQ(last.items.size(), 2);
}

// A server that never answers LOGOUT: the session says goodbye briefly and the check stands.
TEST_F(MisbehavingImap, ALogoutWithoutAnswerLeavesTheCheckStanding) {
    MisbehavingImapServer server(QStringLiteral("logout-hangs"), {{7, bounces[2]}});
    ASSERT_EQ(check(server), QString());
    EXPECT_EQ(last.items.size(), 1);
    EXPECT_EQ(InboxState::load(state()).lastUid, 7u);
}

// zettelwerk-send --inbox --apply against a server that ends the session: exit status 3, the reason
// in German, nothing on the block list.
TEST_F(MisbehavingImap, TheCommandStopsAndBlocksNobody) {
    MisbehavingImapServer server(QStringLiteral("bye"));
    send::SenderProfile profile;
    profile.address = QStringLiteral("versand@example.org");
    profile.imapServer = QStringLiteral("127.0.0.1");
    profile.imapPort = server.port();
    profile.imapSecurity = send::Security::None;
    profile.imapUser = QStringLiteral("versand");
    send::saveProfile(profile, send::profilePath(work.path()));
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("ZETTELWERK_IMAP_PASSWORD"), QStringLiteral("geheim"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(ZW_PROGRAM_DIR "/zettelwerk-send"),
                  {QStringLiteral("--program-folder"), work.path(), QStringLiteral("--inbox"),
                   QStringLiteral("--apply")});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 3);
    EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(u"beendet: „going away“"));
    EXPECT_FALSE(QFile::exists(send::blockListPath(work.path())));
    EXPECT_FALSE(QFile::exists(state()));
}

}  // namespace
}  // namespace zw::inbox

// The desktop's secret store, tried in a session bus of its own: an unlocked GNOME Keyring, a bus with
// no store on it, and no bus at all. Each case runs this test again as a child inside its session.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include "platform/Error.h"
#include "send/PasswordStore.h"
#include "support/Files.h"

namespace zw::test {
namespace {

constexpr char kCaseVariable[] = "ZW_KEYRING_CASE";
const QString kAccount = u"max.muster@smtp.example.org"_qs;

QString lookUpWithSecretTool(const QString& account) {
    QProcess tool;
    tool.start(u"secret-tool"_qs, {u"lookup"_qs, u"user"_qs, account, u"server"_qs, u"Zettelwerk"_qs});
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// What the child checks, in the session the parent made for it.
void checkStore(const QString& kind) {
    send::KeychainPasswordStore store;
    if (kind == u"unlocked") {
        ASSERT_TRUE(store.available());
        EXPECT_EQ(store.read(kAccount), std::nullopt);
        store.write(kAccount, u"erstes"_qs);
        store.write(kAccount, u"Geheim Äß€ 1"_qs);
        EXPECT_EQ(store.read(kAccount), std::optional(u"Geheim Äß€ 1"_qs));
        // In the secret service itself, where other programs of the desktop see it too.
        EXPECT_EQ(lookUpWithSecretTool(kAccount), u"Geheim Äß€ 1"_qs);
        EXPECT_EQ(store.read(u"jemand@anders"_qs), std::nullopt);
        store.remove(kAccount);
        EXPECT_EQ(store.read(kAccount), std::nullopt);
        return;
    }
    EXPECT_FALSE(store.available());
    EXPECT_EQ(store.read(kAccount), std::nullopt);
    try {
        store.write(kAccount, u"geheim"_qs);
        ADD_FAILURE() << "stored without a store";
    } catch (const Error& e) {
        EXPECT_TRUE(e.message().contains(u"kein Schlüsselbund"_qs)) << e.message().toStdString();
    }
    store.remove(kAccount);
    // Nothing of the above started the store the bus knows how to start.
    EXPECT_FALSE(store.available());
}

TEST(PasswordStoreTest, KeepsThePasswordInTheSecretStoreOrSaysThereIsNone) {
    const QString childCase = qEnvironmentVariable(kCaseVariable);
    if (!childCase.isEmpty()) {
        checkStore(childCase);
        return;
    }
    const QString self = QCoreApplication::applicationFilePath();
    const QString filter =
        u"--gtest_filter=PasswordStoreTest.KeepsThePasswordInTheSecretStoreOrSaysThereIsNone"_qs;
    struct Case {
        QString kind;
        QString program;
        QStringList arguments;
    };
    const Case cases[] = {
        {u"unlocked"_qs,
         u"dbus-run-session"_qs,
         {u"--"_qs, u"sh"_qs, u"-c"_qs,
          // The daemon answers before it has taken its name on the bus: wait for the name.
          u"echo -n PW | gnome-keyring-daemon --unlock --components=secrets >/dev/null || exit 1; "
          u"for i in $(seq 100); do dbus-send --session --print-reply --dest=org.freedesktop.DBus / "
          u"org.freedesktop.DBus.NameHasOwner string:org.freedesktop.secrets | grep -q true && break; "
          u"sleep 0.05; done; exec \"$0\" \"$@\""_qs,
          self, filter}},
        {u"bus without store"_qs, u"dbus-run-session"_qs, {u"--"_qs, self, filter}},
        {u"no bus"_qs, self, {filter}},
    };
    for (const Case& c : cases) {
        // A home of its own: the keyring files land there, and the user's own keyring stays out of it.
        TempFolder home;
        QDir().mkpath(home.file(u"run"_qs));
        QFile::setPermissions(home.file(u"run"_qs), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QLatin1String(kCaseVariable), c.kind);
        env.insert(u"HOME"_qs, home.path());
        env.insert(u"XDG_DATA_HOME"_qs, home.file(u"data"_qs));
        env.insert(u"XDG_CONFIG_HOME"_qs, home.file(u"config"_qs));
        env.insert(u"XDG_RUNTIME_DIR"_qs, home.file(u"run"_qs));
        env.remove(u"DISPLAY"_qs);
        env.remove(u"WAYLAND_DISPLAY"_qs);
        if (c.kind == u"no bus")
            env.insert(u"DBUS_SESSION_BUS_ADDRESS"_qs, u"unix:path="_qs + home.file(u"kein-bus"_qs));
        QProcess child;
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(c.program, c.arguments);
        ASSERT_TRUE(child.waitForFinished(60000)) << c.kind.toStdString();
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << c.kind.toStdString();
        EXPECT_EQ(child.exitCode(), 0) << c.kind.toStdString() << "\n" << child.readAll().toStdString();
    }
}

}  // namespace
}  // namespace zw::test

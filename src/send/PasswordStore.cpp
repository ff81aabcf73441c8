#include "send/PasswordStore.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

#include "platform/Error.h"

namespace zw::send {

namespace {

// The name our entries carry in the secret store.
constexpr char kService[] = "Zettelwerk";
// The store may show an unlock question; the user gets time to answer it, but a store that never
// answers must not hold the program for ever.
constexpr int kAnswerTimeoutMs = 120000;

// The bus names of the stores QtKeychain talks to: the freedesktop secret service (GNOME Keyring,
// KeePassXC, KDE's own since Plasma 6) and KWallet.
constexpr const char* kStoreServices[] = {"org.freedesktop.secrets", "org.kde.kwalletd5",
                                          "org.kde.kwalletd6"};

struct Answer {
    bool finished = false;
    QKeychain::Error error = QKeychain::OtherError;
    QString errorText;
    QString text;
};

// Runs one job to its end in a local event loop. The job deletes itself once it has finished, also
// when the wait gave up on it before.
template <typename Job>
Answer run(Job* job) {
    Answer answer;
    QEventLoop loop;
    QObject::connect(job, &QKeychain::Job::finished, &loop, [&](QKeychain::Job* done) {
        answer.finished = true;
        answer.error = done->error();
        answer.errorText = done->errorString();
        if constexpr (std::is_same_v<Job, QKeychain::ReadPasswordJob>)
            answer.text = static_cast<QKeychain::ReadPasswordJob*>(done)->textData();
        loop.quit();
    });
    QTimer::singleShot(kAnswerTimeoutMs, &loop, &QEventLoop::quit);
    job->setAutoDelete(true);
    job->start();
    if (!answer.finished)
        loop.exec();
    if (!answer.finished)
        answer.errorText = QStringLiteral("Der Schlüsselbund hat nicht geantwortet.");
    return answer;
}

}  // namespace

QString passwordAccount(const QString& user, const QString& server) {
    return user + u'@' + server;
}

// Asked of the session bus, without starting anything: a store that is only installed would be
// started by the first question and may then wait for an unlock window nobody can see.
bool KeychainPasswordStore::available() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface())
        return false;
    for (const char* service : kStoreServices)
        if (bus.interface()->isServiceRegistered(QLatin1String(service)).value())
            return true;
    return false;
}

std::optional<QString> KeychainPasswordStore::read(const QString& account) {
    if (!available())
        return std::nullopt;
    auto* job = new QKeychain::ReadPasswordJob(QLatin1String(kService));
    job->setKey(account);
    const Answer answer = run(job);
    // A refused unlock or a missing entry alike: the password is asked for instead.
    if (!answer.finished || answer.error != QKeychain::NoError)
        return std::nullopt;
    return answer.text;
}

void KeychainPasswordStore::write(const QString& account, const QString& password) {
    if (!available())
        throw Error(
            QStringLiteral("Auf diesem Desktop ist kein Schlüsselbund verfügbar; das Passwort "
                           "kann nicht gespeichert werden."));
    auto* job = new QKeychain::WritePasswordJob(QLatin1String(kService));
    job->setKey(account);
    job->setTextData(password);
    const Answer answer = run(job);
    if (!answer.finished || answer.error != QKeychain::NoError)
        throw Error(
            QStringLiteral("Der Schlüsselbund hat das Passwort nicht gespeichert: %1").arg(answer.errorText));
}

void KeychainPasswordStore::remove(const QString& account) {
    if (!available())
        return;
    auto* job = new QKeychain::DeletePasswordJob(QLatin1String(kService));
    job->setKey(account);
    run(job);
}

}  // namespace zw::send

#pragma once

#include <optional>

#include <QString>

namespace zw::send {

// Where the SMTP password is kept. Never a file of ours: the desktop's secret store, or nothing.
class PasswordStore {
public:
    virtual ~PasswordStore() = default;
    // Whether a secret store answers on this desktop.
    virtual bool available() = 0;
    // The stored password for the account, or nothing.
    virtual std::optional<QString> read(const QString& account) = 0;
    // Stores (or replaces) the password; throws zw::Error (German) when the store refuses.
    virtual void write(const QString& account, const QString& password) = 0;
    virtual void remove(const QString& account) = 0;
};

// The account key of a profile's password: "user@server".
QString passwordAccount(const QString& user, const QString& server);

// The desktop's secret store through QtKeychain (libsecret). Waits for each answer in a local event
// loop, so it needs a QCoreApplication but no running loop.
class KeychainPasswordStore : public PasswordStore {
public:
    bool available() override;
    std::optional<QString> read(const QString& account) override;
    void write(const QString& account, const QString& password) override;
    void remove(const QString& account) override;
};

}  // namespace zw::send

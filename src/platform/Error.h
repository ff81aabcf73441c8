#pragma once

#include <QString>
#include <exception>

namespace zw {

// The one error type of the program. Its message is the German text the user sees.
class Error : public std::exception {
public:
    explicit Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

// The system's reason for a failed file operation, in German where we know it.
QString systemReason(int errnoValue);

// "Datei %s kann nicht geöffnet werden. %s"
Error fileOpenError(const QString& path, int errnoValue);
// Datei "%s" kann nicht erstellt werden. %s
Error fileCreateError(const QString& path, int errnoValue);
// Datei "%s" kann nicht erstellt werden. %s, with a reason already in words.
Error fileCreateError(const QString& path, const QString& reason);

}  // namespace zw

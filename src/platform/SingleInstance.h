#pragma once

#include <QString>

namespace zw {

// The user's runtime folder, for the lock and the socket of the running copy; the temporary folder
// when there is none.
QString runtimeFolder();

// The per-user lock that tells whether a copy of the program already runs. The system releases it
// when the process ends, however it ends, so a crashed copy never blocks the next start.
class SingleInstance {
public:
    // lockFolder empty: the user's runtime folder.
    explicit SingleInstance(const QString& name, const QString& lockFolder = QString());
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the lock; false when another copy holds it.
    bool acquire();
    // Lets the next copy start before this process has ended.
    void release();

private:
    QString path_;
    int fd_ = -1;
};

}  // namespace zw

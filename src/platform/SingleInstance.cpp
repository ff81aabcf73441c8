#include "platform/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace zw {

QString runtimeFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QDir::tempPath() : folder;
}

SingleInstance::SingleInstance(const QString& name, const QString& lockFolder)
    : path_(QDir(lockFolder.isEmpty() ? runtimeFolder() : lockFolder)
                .filePath(name + QStringLiteral(".lock"))) {}

SingleInstance::~SingleInstance() {
    release();
}

void SingleInstance::release() {
    if (fd_ >= 0)
        ::close(fd_);  // closing releases the lock; the file itself may stay
    fd_ = -1;
}

bool SingleInstance::acquire() {
    if (fd_ >= 0)
        return true;
    const QByteArray native = QFile::encodeName(path_);
    int fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return true;  // no place for a lock: better to run than to refuse
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

}  // namespace zw

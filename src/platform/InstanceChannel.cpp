#include "platform/InstanceChannel.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMetaMethod>

#include <utility>

#include "platform/SingleInstance.h"

namespace zw {

namespace {
// One path a line; the receipt is one byte.
constexpr char kReceipt = '1';
constexpr qsizetype kLongestPath = 64 * 1024;
}  // namespace

InstanceChannel::InstanceChannel(const QString& name, const QString& socketFolder, QObject* parent)
    : QObject(parent),
      socketPath_(QDir(socketFolder.isEmpty() ? runtimeFolder() : socketFolder)
                      .filePath(name + QStringLiteral(".socket"))) {}

bool InstanceChannel::listen() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file there belongs to a copy that has ended.
    QLocalServer::removeServer(socketPath_);
    connect(server_, &QLocalServer::newConnection, this, &InstanceChannel::takeConnection);
    return server_->listen(socketPath_);
}

void InstanceChannel::takeConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kLongestPath)
                    socket->abort();
                return;
            }
            const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
            socket->write(&kReceipt, 1);
            socket->flush();
            socket->disconnectFromServer();
            if (path.isEmpty())
                return;
            if (isSignalConnected(QMetaMethod::fromSignal(&InstanceChannel::pathReceived)))
                Q_EMIT pathReceived(path);
            else
                early_.append(path);
        });
    }
}

QStringList InstanceChannel::takeEarlyPaths() {
    return std::exchange(early_, {});
}

bool InstanceChannel::send(const QString& path, int timeoutMilliseconds) const {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMilliseconds))
        return false;
    socket.write(path.toUtf8() + '\n');
    if (!socket.waitForBytesWritten(timeoutMilliseconds))
        return false;
    char receipt = 0;
    while (socket.bytesAvailable() < 1) {
        if (!socket.waitForReadyRead(timeoutMilliseconds))
            return false;
    }
    return socket.read(&receipt, 1) == 1 && receipt == kReceipt;
}

}  // namespace zw

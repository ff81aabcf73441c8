#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QLocalServer;

namespace zw {

// The local socket over which a second copy of the program hands a template path to the copy that
// runs already. The socket lies beside the single-instance lock, in the user's runtime folder.
class InstanceChannel : public QObject {
    Q_OBJECT
public:
    // socketFolder empty: the user's runtime folder.
    explicit InstanceChannel(const QString& name, const QString& socketFolder = QString(),
                             QObject* parent = nullptr);

    // The running copy: listens, replacing a socket that a copy which has ended left behind. Only for
    // the holder of the single-instance lock.
    bool listen();
    // A second copy: hands path over and waits for the receipt. False when no copy took it.
    bool send(const QString& path, int timeoutMilliseconds = 10000) const;

    // Paths that arrived before anyone was connected to pathReceived (the window still starting, a
    // message box of its start-up open), oldest first. The second copy has its receipt already, so they
    // must not be lost.
    QStringList takeEarlyPaths();

Q_SIGNALS:
    void pathReceived(const QString& path);

private:
    void takeConnection();

    QString socketPath_;
    QLocalServer* server_ = nullptr;
    QStringList early_;
};

}  // namespace zw

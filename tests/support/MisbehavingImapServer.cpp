#include "support/MisbehavingImapServer.h"

#include <QFile>

#include <stdexcept>

#include "support/SmtpTestServer.h"

namespace zw::test {

MisbehavingImapServer::MisbehavingImapServer(const QString& mode, const QMap<quint32, QByteArray>& messages) {
    QStringList arguments = {QStringLiteral(ZW_SOURCE_DIR "/tests/support/imap/bad_imap.py"), mode};
    for (auto it = messages.cbegin(); it != messages.cend(); ++it) {
        const QString path = folder_.filePath(QString::number(it.key()) + QStringLiteral(".eml"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value()) != it.value().size())
            throw std::runtime_error("cannot write a message for the misbehaving IMAP server");
        arguments << QString::number(it.key()) + u'=' + path;
    }
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral("/usr/bin/python3"), arguments);
    // It prints its port once it listens.
    if (!process_.waitForReadyRead(15000) || (port_ = process_.readLine().trimmed().toUShort()) == 0) {
        stopServerProcess(process_);
        throw std::runtime_error("the misbehaving IMAP server did not start");
    }
}

MisbehavingImapServer::~MisbehavingImapServer() {
    stopServerProcess(process_);
}

}  // namespace zw::test

#include "support/Files.h"

#include <QDir>
#include <QFile>

#include <stdexcept>

namespace zw::test {

TempFolder::TempFolder() {
    if (!dir_.isValid()) throw std::runtime_error("no temporary folder");
    path_ = dir_.path() + u'/';
}

QString TempFolder::subfolder(const QString& name) const {
    QDir().mkpath(path_ + name);
    return path_ + name + u'/';
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw std::runtime_error("cannot write test file");
    file.write(bytes);
}

QByteArray crlf(const QList<QByteArray>& lines) {
    QByteArray out;
    for (const QByteArray& line : lines) out += line + "\r\n";
    return out;
}

QString shippedDataFolder() { return QStringLiteral(ZW_SOURCE_DIR "/data/"); }

}  // namespace zw::test

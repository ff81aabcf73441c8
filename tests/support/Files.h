#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include "support/QtPrinters.h"

namespace zw::test {

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    // The folder path with a trailing "/".
    QString path() const { return path_; }
    QString file(const QString& name) const { return path_ + name; }
    QString subfolder(const QString& name) const;

private:
    QTemporaryDir dir_;
    QString path_;
};

QByteArray readAll(const QString& path);
void writeAll(const QString& path, const QByteArray& bytes);
// Lines joined with CR LF after each, the way the program writes text files.
QByteArray crlf(const QList<QByteArray>& lines);
// The folder of the shipped files in the source tree (data/).
QString shippedDataFolder();

}  // namespace zw::test

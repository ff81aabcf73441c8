#pragma once

#include <QFile>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include "platform/Launcher.h"
#include "support/FakePrompts.h"
#include "support/Files.h"

namespace zw::test {

// Stand-ins for xdg-open and wine on PATH that record their arguments (one a line) and the Wine prefix
// they were given, then end as told.
class StandInTest : public ::testing::Test {
protected:
    StandInTest() : oldPath_(qgetenv("PATH")) { qputenv("PATH", QFile::encodeName(bin_)); }
    ~StandInTest() override { qputenv("PATH", oldPath_); }

    void standIn(const QString& name, const QByteArray& behaviour = "exit 0") {
        const QString path = bin_ + name;
        writeAll(path, "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + QFile::encodeName(record_) +
                           "'\nprintf '%s' \"$WINEPREFIX\" > '" + QFile::encodeName(prefixRecord_) + "'\n" +
                           behaviour + "\n");
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    }
    // What the stand-in was started with; empty when it was not started.
    QString recorded() const { return QString::fromUtf8(readAll(record_)); }
    QString recordedPrefix() const { return QString::fromUtf8(readAll(prefixRecord_)); }
    void forget() {
        QFile::remove(record_);
        QFile::remove(prefixRecord_);
    }
    // Waits for an outcome of the launch that the spy watches.
    static bool settled(QSignalSpy& spy) { return spy.count() > 0 || spy.wait(10000); }

    TempFolder folder_;
    QString bin_ = folder_.subfolder(u"bin"_qs);
    QString record_ = folder_.file(u"args"_qs);
    QString prefixRecord_ = folder_.file(u"prefix"_qs);
    QByteArray oldPath_;
    FakePrompts prompts_;
    Launcher launcher_;
};

}  // namespace zw::test

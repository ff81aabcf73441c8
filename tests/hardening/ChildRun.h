#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include "support/Files.h"

namespace zw::test {

// Every file of the program and documents folders with its bytes, keyed "prog/..." and "docs/...".
using Snapshot = QMap<QString, QByteArray>;

// A program folder with the shipped files and a documents folder holding the template "Verein.nld"
// (a shipped one) that "LastFile.ini" names, so that saving writes without asking.
class Workspace {
public:
    Workspace();

private:
    TempFolder root_;

public:
    QString prog, docs;

    Snapshot snapshot() const;
    // Makes the folders hold exactly the snapshot's files.
    void restore(const Snapshot& files) const;
};

// What the window in its own process reported (see child/main.cpp).
struct ChildResult {
    int exitCode = -1;
    QStringList errors;
    int items = -1;
    bool done = false;
};
ChildResult runChild(const QString& mode, const Workspace& ws, const QStringList& extra = {});

}  // namespace zw::test

#pragma once

#include <QString>

#include "platform/Platform.h"

namespace zw::test {

// Folders chosen by the test, and a count of beeps.
class FakePlatform : public Platform {
public:
    FakePlatform(QString programFolder, QString documentsFolder)
        : program(std::move(programFolder)), documents(std::move(documentsFolder)) {}

    QString documentsFolder() override { return documents; }
    QString programFolder() override { return program; }
    void beep() override { ++beeps; }

    QString program, documents;
    int beeps = 0;
};

}  // namespace zw::test

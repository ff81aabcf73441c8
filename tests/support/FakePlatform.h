#pragma once

#include <QString>

#include "platform/Platform.h"

namespace zw::test {

// Folders chosen by the test, and a count of beeps.
class FakePlatform : public Platform {
public:
    FakePlatform(QString program, QString documents) : program(std::move(program)), documents(std::move(documents)) {}

    QString documentsFolder() override { return documents; }
    QString programFolder() override { return program; }
    void beep() override { ++beeps; }

    QString program, documents;
    int beeps = 0;
};

}  // namespace zw::test

#pragma once

#include <QString>

#include "platform/Platform.h"

namespace zw::test {

// Folders chosen by the test, and a count of beeps.
class FakePlatform : public Platform {
public:
    FakePlatform(QString program, QString documents) : program_(std::move(program)), documents_(std::move(documents)) {}

    QString documentsFolder() override { return documents_; }
    QString programFolder() override { return program_; }
    void beep() override { ++beeps; }

    int beeps = 0;

private:
    QString program_;
    QString documents_;
};

}  // namespace zw::test

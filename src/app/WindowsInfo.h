#pragma once

#include <QString>

namespace zw {

class Platform;

// The system information the program needs, read once at start-up: the user's documents folder
// (empty when it cannot be determined).
class TWindowsInfo {
public:
    explicit TWindowsInfo(Platform& platform);
    const QString& documentsFolder() const { return documentsFolder_; }

private:
    QString documentsFolder_;
};

}  // namespace zw

#pragma once

#include "platform/Platform.h"

namespace zw {

// The Linux platform with the desktop's beep.
class QtPlatform : public LinuxPlatform {
public:
    using LinuxPlatform::LinuxPlatform;
    void beep() override;
};

}  // namespace zw

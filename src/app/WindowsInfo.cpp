#include "app/WindowsInfo.h"

#include "platform/Platform.h"

namespace zw {

TWindowsInfo::TWindowsInfo(Platform& platform) : documentsFolder_(platform.documentsFolder()) {}

}  // namespace zw

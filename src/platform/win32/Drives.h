#pragma once
// What a drive letter or share leads to, and which drives are fixed disks of this machine.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace platform::win32 {

// root: "C:" or "\\\\server\\share".
DriveKind KindOfDriveU(const std::string& root);
// "C:\\", "D:\\", ... of the fixed disks, in letter order.
std::vector<std::string> FixedDriveRootsU();

}  // namespace platform::win32

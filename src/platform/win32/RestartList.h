#pragma once
// The system's list of files to delete at the next restart.
#include <string>

namespace platform::win32 {

// Asks the system to delete path at the next restart; false when refused, and on 95, 98 and
// ME, which keep no such list. A path the list holds already is not added again.
bool DeleteAtRestartU(const std::string& path);

}  // namespace platform::win32

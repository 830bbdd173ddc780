#pragma once
// The values every cleaning run builds its paths from, derived afresh at each run.
#include <string>

#include "platform/Platform.h"

namespace olvex {

struct CleaningContext {
    std::string WindowsDir;   // without trailing backslash, e.g. C:\WINDOWS
    std::string SystemDrive;  // its first three characters, e.g. C:\ (fewer if shorter)
    std::string UserName;
};

CleaningContext DeriveCleaningContext(platform::System& system);

}  // namespace olvex

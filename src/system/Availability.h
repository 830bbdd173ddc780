#pragma once
// Which categories can be cleaned here: the windows enable their boxes and menu items by
// these rules, and the console program offers the same categories.
#include <string>

#include "system/Services.h"

namespace olvex {

// Prefetch cannot be cleaned on Windows 2000.
bool PrefetchCleanable(const std::string& osName);

// Only administrators may empty the other users' folders. When the test cannot be made the
// answer is yes, as the windows leave their box enabled then.
bool MayCleanOtherUsers(platform::System& system);

// Whether a browser is installed: "Program Files\<folder>" is a folder. An unknown Program
// Files folder answers no rather than look relative to the current folder.
bool BrowserInstalled(Services& services, const std::string& folder);

constexpr const char* kFirefoxFolder = "mozilla firefox";
constexpr const char* kOperaFolder = "Opera";

}  // namespace olvex

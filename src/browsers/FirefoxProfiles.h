#pragma once
// Where Firefox keeps the profiles of the user, as its profiles.ini lists them.
#include <array>
#include <string>
#include <vector>

#include "system/CleaningRules.h"

namespace olvex {

// The folder that holds profiles.ini and, as a rule, the profiles: the application-data
// folder + "Mozilla\Firefox\" on the NT family, the Windows folder + "\Application
// Data\Mozilla\Firefox\" on the Windows 98 family.
struct FirefoxFolder {
    BaseFolder base;
    std::string tail;
};
FirefoxFolder FirefoxFolderOf(Family family);
constexpr const char* kFirefoxTail = "Mozilla\\Firefox\\";

// The "path" values of the sections Profile0 to Profile9, in slot order; "" for a slot
// without a profile. Values are kept as written (relative to the Firefox folder, forward
// slashes included).
using ProfilePaths = std::array<std::string, 10>;

// Reads the ten slots, one lookup per slot in order, the file's path built afresh for
// each. When the Firefox folder is unknown the slot stays empty: a bare
// "Mozilla\Firefox\Profiles.ini" would make the lookup search the Windows folder instead.
ProfilePaths ReadFirefoxProfilePaths(RuleRun& run, Family family);

// The profiles a Firefox run visits, in slot order: the slots whose value is a relative path
// of literal names, kept as written, and those that profiles.ini marks IsRelative=0 whose
// value is an absolute folder, which stands for the whole profile folder.
std::vector<std::string> FirefoxProfilesNt(RuleRun& run);
std::vector<std::string> FirefoxProfiles98(RuleRun& run);

}  // namespace olvex

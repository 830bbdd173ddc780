#include "browsers/FirefoxProfiles.h"

#include "guard/DeletionGuard.h"
#include "system/IniFile.h"

namespace olvex {

FirefoxFolder FirefoxFolderOf(Family family) {
    if (family == Family::Windows98)
        return {BaseFolder::WindowsDir, std::string("\\Application Data\\") + kFirefoxTail};
    return {BaseFolder::AppData, kFirefoxTail};
}

namespace {
// The value of key in the section of slot n, from profiles.ini found afresh; "" when the
// Firefox folder is unknown.
std::string SlotSetting(RuleRun& run, Family family, size_t n, const char* key) {
    const FirefoxFolder firefox = FirefoxFolderOf(family);
    const std::string base = BaseFolderPath(run, firefox.base);
    if (base.empty()) return "";
    return INIGetSettingString(run.services, "Profile" + std::to_string(n), key,
                               base + firefox.tail + "Profiles.ini", "");
}
}  // namespace

ProfilePaths ReadFirefoxProfilePaths(RuleRun& run, Family family) {
    ProfilePaths slots;
    for (size_t n = 0; n < slots.size(); ++n) slots[n] = SlotSetting(run, family, n, "path");
    return slots;
}

namespace {
// A relative profile path, every name on it literal: "Profiles/x.default", never "../x".
bool IsLiteralPath(const std::string& path) {
    size_t at = 0;
    for (;;) {
        const size_t end = path.find_first_of("\\/", at);
        if (!IsLiteralName(path.substr(at, end - at))) return false;
        if (end == std::string::npos) return true;
        at = end + 1;
    }
}

// A profile Firefox keeps in a folder of the user's choice: its section says IsRelative=0 and
// its path is the whole folder. Such a path passes the deletion guard's own test of a folder
// a deletion may start from, so a root, a relative path or a ".." never names a profile.
bool IsWholeFolder(RuleRun& run, Family family, size_t n, const std::string& path) {
    return IsSweepableFolder(path) && SlotSetting(run, family, n, "IsRelative") == "0";
}

std::vector<std::string> Named(RuleRun& run, Family family) {
    const ProfilePaths slots = ReadFirefoxProfilePaths(run, family);
    std::vector<std::string> profiles;
    for (size_t n = 0; n < slots.size(); ++n) {
        const std::string& slot = slots[n];
        if (slot.empty()) continue;
        if (IsLiteralPath(slot)) {
            profiles.push_back(slot);
        } else if (IsWholeFolder(run, family, n, slot)) {
            // The rows add their names after a separator of their own.
            profiles.push_back(slot.substr(0, slot.find_last_not_of("\\/") + 1));
        }
    }
    return profiles;
}
}  // namespace

std::vector<std::string> FirefoxProfilesNt(RuleRun& run) {
    return Named(run, Family::NT);
}

std::vector<std::string> FirefoxProfiles98(RuleRun& run) {
    return Named(run, Family::Windows98);
}

}  // namespace olvex

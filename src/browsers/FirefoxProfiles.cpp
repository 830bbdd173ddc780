#include "browsers/FirefoxProfiles.h"

#include "system/DeletionGuard.h"
#include "system/IniFile.h"

namespace olvex {

FirefoxFolder FirefoxFolderOf(Family family) {
    if (family == Family::Windows98)
        return {BaseFolder::WindowsDir, std::string("\\Application Data\\") + kFirefoxTail};
    return {BaseFolder::AppData, kFirefoxTail};
}

ProfilePaths ReadFirefoxProfilePaths(RuleRun& run, Family family) {
    const FirefoxFolder firefox = FirefoxFolderOf(family);
    ProfilePaths slots;
    for (size_t n = 0; n < slots.size(); ++n) {
        const std::string base = BaseFolderPath(run, firefox.base);
        if (base.empty()) continue;
        slots[n] = INIGetSettingString(run.services, "Profile" + std::to_string(n), "path",
                                       base + firefox.tail + "Profiles.ini", "");
    }
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

std::vector<std::string> Named(const ProfilePaths& slots) {
    std::vector<std::string> profiles;
    for (const std::string& slot : slots)
        if (!slot.empty() && IsLiteralPath(slot)) profiles.push_back(slot);
    return profiles;
}
}  // namespace

std::vector<std::string> FirefoxProfilesNt(RuleRun& run) {
    return Named(ReadFirefoxProfilePaths(run, Family::NT));
}

std::vector<std::string> FirefoxProfiles98(RuleRun& run) {
    return Named(ReadFirefoxProfilePaths(run, Family::Windows98));
}

}  // namespace olvex

#include "browsers/FirefoxProfiles.h"

#include "system/IniFile.h"

namespace olvex {

Root FirefoxFolder(Family family) {
    if (family == Family::Windows98)
        return {Folder::WindowsDir, "\\Application Data\\Mozilla\\Firefox\\"};
    return {Folder::AppData, "Mozilla\\Firefox\\"};
}

Root LocalFirefoxFolder() {
    return {Folder::LocalAppData, "Mozilla\\Firefox\\"};
}

ProfilePaths ReadFirefoxProfilePaths(Services& services, Family family,
                                     const CleaningContext& context) {
    ProfilePaths slots;
    for (size_t n = 0; n < slots.size(); ++n) {
        const std::string folder = RootPath(services, context, FirefoxFolder(family));
        if (folder.empty()) continue;
        slots[n] = INIGetSettingString(services, "Profile" + std::to_string(n), "path",
                                       folder + "Profiles.ini", "");
    }
    return slots;
}

}  // namespace olvex

#include "system/Availability.h"

#include "platform/Errors.h"
#include "system/FileUtilities.h"
#include "system/SpecialFolders.h"

namespace olvex {

bool PrefetchCleanable(const std::string& osName) {
    return osName != "Windows 2000";
}

bool MayCleanOtherUsers(platform::System& system) {
    bool may = true;
    platform::SkipOnFailure([&] { may = system.IsNTAdmin() != 0; });
    return may;
}

bool BrowserInstalled(Services& services, const std::string& folder) {
    bool installed = false;
    platform::SkipOnFailure([&] {
        const std::string programFiles = folders::GetProgramFilesFolder(services);
        installed = !programFiles.empty() && DirExists(services, programFiles + folder);
    });
    return installed;
}

}  // namespace olvex

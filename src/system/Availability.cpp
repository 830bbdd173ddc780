#include "system/Availability.h"

#include "platform/Errors.h"
#include "system/CleaningContext.h"
#include "system/FileUtilities.h"
#include "guard/PathRules.h"
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

namespace {
// Whether base's folder + folder is a folder; no when base is unknown.
bool FolderIn(Services& services, std::string (*base)(Services&), const std::string& folder) {
    bool there = false;
    platform::SkipOnFailure([&] {
        const std::string known = base(services);
        there = !known.empty() && DirExists(services, known + folder);
    });
    return there;
}
}  // namespace

bool BrowserInstalled(Services& services, const std::string& folder) {
    return FolderIn(services, folders::GetProgramFilesFolder, folder);
}

bool BrowserInstalledForUser(Services& services, const std::string& folder) {
    return FolderIn(services, folders::GetLocalAppDataFolder, folder);
}

bool RunsAsSystemAccount(Services& services) {
    bool system = false;
    platform::SkipOnFailure([&] {
        const std::string profile = folders::GetProfileFolder(services);
        const std::string windows = DeriveCleaningContext(services.system).WindowsDir;
        system = !profile.empty() && !windows.empty() &&
                 LiesInside(profile, windows + "\\system32\\config");
    });
    return system;
}

const std::string& Machine::osName() {
    if (!osName_) {
        std::string name;
        platform::SkipOnFailure([&] { name = WindowsVersion(services_.system).os_name; });
        osName_ = name;
    }
    return *osName_;
}

bool Machine::administrator() {
    ++administratorAsked_;
    if (!askAdministrator_) return true;
    if (!administrator_) administrator_ = MayCleanOtherUsers(services_.system);
    return *administrator_;
}

bool Machine::systemAccount() {
    if (!systemAccount_) systemAccount_ = RunsAsSystemAccount(services_);
    return *systemAccount_;
}

namespace {
template <class Ask>
bool Remembered(std::vector<std::pair<std::string, bool>>& answers, const std::string& folder,
                Ask&& ask) {
    for (const auto& [known, answer] : answers)
        if (known == folder) return answer;
    answers.emplace_back(folder, ask());
    return answers.back().second;
}
}  // namespace

bool Machine::installed(const std::string& folder) {
    return Remembered(installed_, folder, [&] { return BrowserInstalled(services_, folder); });
}

bool Machine::installedForUser(const std::string& folder) {
    return Remembered(installedForUser_, folder,
                      [&] { return BrowserInstalledForUser(services_, folder); });
}

bool ChromeInstalled(Machine& machine) {
    return machine.installed("Google\\Chrome") ||
           machine.installedForUser("Google\\Chrome\\Application");
}

}  // namespace olvex

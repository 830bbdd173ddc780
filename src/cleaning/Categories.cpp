#include "cleaning/Categories.h"

#include "system/SpecialFolders.h"

namespace olvex {

std::string RunPaths::ProfilesRoot() const {
    return folders::GetProfilesRoot(services_.shell);
}
std::string RunPaths::AppData() const {
    return folders::GetAppDataFolder(services_.shell);
}

std::string Join(std::initializer_list<std::string> parts, const char* tail) {
    std::string path;
    for (const std::string& part : parts) {
        if (part.empty()) return "";
        path += part;
    }
    return path + tail;
}

const std::vector<Category>& NtCategories() {
    static const std::vector<Category> table = {
        {"Check1", "Windows Temp", Operation::Sweep,
         [](const RunPaths& p) { return Join({p.WindowsDir()}, "\\temp"); }},
        {"Check2", "Current User Temp", Operation::Sweep,
         [](const RunPaths& p) {
             return Join({p.ProfilesRoot(), p.UserName()}, "\\Local Settings\\temp");
         }},
        {"Check3", "Cookies", Operation::PurgeCookiesThenSweep,
         [](const RunPaths& p) {
             return Join({p.ProfilesRoot(), p.UserName()}, "\\Cookies");
         }},
        {"Check4", "Temporary Internet Files", Operation::PurgeUrls, nullptr},
        {"Check5", "History", Operation::ClearHistory, nullptr},
        {"Check6", "Prefetch", Operation::SweepKeepingLayout,
         [](const RunPaths& p) { return Join({p.SystemDrive()}, "windows\\prefetch"); }},
        {"Check8", "Recycle Bin", Operation::EmptyRecycleBin, nullptr},
        {"Check9", "All Users Temp", Operation::SweepAllProfiles, nullptr},
        {"Check10", "Java Cache", Operation::Sweep,
         [](const RunPaths& p) {
             return Join({p.AppData()}, "Sun\\Java\\Deployment\\cache\\javapi");
         }},
    };
    return table;
}

const std::vector<Category>& Windows98Categories() {
    static const std::vector<Category> table = {
        {"Check1", "Windows Temp", Operation::Sweep,
         [](const RunPaths& p) { return Join({p.WindowsDir()}, "\\temp"); }},
        {"Check2", "Cookies", Operation::PurgeCookiesThenSweep,
         [](const RunPaths& p) { return Join({p.SystemDrive()}, "\\Windows\\Cookies"); }},
        {"Check3", "Temp", Operation::Sweep,
         [](const RunPaths& p) { return Join({p.SystemDrive()}, "Temp"); }},
        {"Check4", "Temporary Internet FIles", Operation::PurgeUrls, nullptr},
        {"Check5", "History", Operation::ClearHistory, nullptr},
        {"Check6", "Recycle Bin", Operation::EmptyRecycleBin, nullptr},
        {"Check8", "Java Cache", Operation::Sweep,
         [](const RunPaths& p) {
             return Join({p.WindowsDir()},
                         "\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi");
         }},
    };
    return table;
}

}  // namespace olvex

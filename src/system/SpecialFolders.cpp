#include "system/SpecialFolders.h"

#include <vector>

namespace olvex::folders {

namespace {

constexpr const char* kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
constexpr const char* kProfileListKey =
    "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

// A drive letter and its root ("C:\..."), or a share ("\\server\..."): what the environment
// or the registry holds may be anything, and a relative folder would be looked for in the
// program's current folder.
bool IsAbsolute(const std::string& path) {
    const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive || path.compare(0, 2, "\\\\") == 0;
}

// The answer of one source, without the backslashes a setting may end with (a drive root
// keeps its own); nullopt for no answer or one that is not absolute.
std::optional<std::string> Usable(std::optional<std::string> path) {
    if (!path) return std::nullopt;
    while (path->size() > 3 && path->back() == '\\') path->pop_back();
    if (!IsAbsolute(*path)) return std::nullopt;
    return path;
}

}  // namespace

std::string GetSpecialFolder(Services& services, int csidl) {
    std::optional<std::string> path = Usable(services.shell.SpecialFolderPath(csidl));
    if (!path) path = Usable(services.shell.LibraryFolderPath(csidl));
    if (!path && csidl == kCsidlProfile)
        path = Usable(services.system.EnvironmentVariable("USERPROFILE"));
    if (!path && csidl == kCsidlProgramFiles)
        path = Usable(services.system.MachineSetting(kCurrentVersionKey, "ProgramFilesDir"));
    if (!path) return "";
    return *path + "\\";
}

std::string GetAppDataFolder(Services& services) {
    return GetSpecialFolder(services, kCsidlAppData);
}
std::string GetLocalAppDataFolder(Services& services) {
    return GetSpecialFolder(services, kCsidlLocalAppData);
}
std::string GetInternetCacheFolder(Services& services) {
    return GetSpecialFolder(services, kCsidlInternetCache);
}
std::string GetCookiesFolder(Services& services) {
    return GetSpecialFolder(services, kCsidlCookies);
}
std::string GetHistoryFolder(Services& services) {
    return GetSpecialFolder(services, kCsidlHistory);
}
std::string GetProgramFilesFolder(Services& services) {
    return GetSpecialFolder(services, kCsidlProgramFiles);
}
std::string GetProfileFolder(Services& services) {
    const std::string folder = GetSpecialFolder(services, kCsidlProfile);
    return PathParts(folder, 1, 1) == "\\" ? "" : folder;
}

std::string PathParts(const std::string& path, int first, int last) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t slash = path.find('\\', start);
        parts.push_back(
            path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    if (path.empty() || static_cast<int>(parts.size()) <= last) return "";
    std::string result;
    for (int i = first; i <= last; ++i) result += parts[static_cast<size_t>(i)] + "\\";
    return result;
}

namespace {
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

std::string GetCacheFolderInProfile(Services& services) {
    const std::string cache = GetInternetCacheFolder(services);
    const std::string profile = GetProfileFolder(services);
    if (cache.empty() || profile.empty() || cache.size() <= profile.size() ||
        Lower(cache.substr(0, profile.size())) != Lower(profile))
        return "";
    // On the classic layout this is exactly parts 3 and 4 of the cache folder's path.
    return cache.substr(profile.size());
}

std::string GetLocalSettingsName(Services& services) {
    const std::string cache = GetCacheFolderInProfile(services);
    const size_t slash = cache.find('\\');
    return slash + 1 < cache.size() ? cache.substr(0, slash + 1) : "";
}

namespace {
bool IsNt4(platform::System& system) {
    platform::VersionRecord version;
    version.size = platform::kBasicVersionRecordSize;
    return system.QueryVersion(version) && version.platformId == 2 && version.major == 4;
}
}  // namespace

std::string GetProfilesRoot(Services& services) {
    platform::System& system = services.system;
    // Where the system keeps every profile: its profile library says (2000 on), then the
    // registry's own setting. NT 4.0 has neither, and keeps them in the Windows folder. Only
    // last the parent of one's own profile, which is no profile folder at all for the system
    // account (system32\config\systemprofile).
    std::optional<std::string> root = Usable(system.ProfilesDirectory());
    if (!root) root = Usable(system.MachineSetting(kProfileListKey, "ProfilesDirectory"));
    if (!root && IsNt4(system)) {
        const std::optional<std::string> windows = Usable(system.EnvironmentVariable("SystemRoot"));
        if (windows) root = *windows + "\\Profiles";
    }
    if (!root) {
        const std::string profile = GetProfileFolder(services);
        if (profile.empty()) return "";
        root = profile.substr(0, profile.rfind('\\', profile.size() - 2));
    }
    // A drive root would pass every one of its folders off as a profile.
    if (PathParts(*root + "\\", 1, 1) == "\\") return "";
    return *root + "\\";
}

}  // namespace olvex::folders

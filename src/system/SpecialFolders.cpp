#include "system/SpecialFolders.h"

#include <vector>

namespace olvex::folders {

std::string GetSpecialFolder(platform::Shell& shell, int csidl) {
    std::optional<std::string> path = shell.SpecialFolderPath(csidl);
    if (!path) return "";
    return *path + "\\";
}

std::string GetAppDataFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlAppData);
}
std::string GetLocalAppDataFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlLocalAppData);
}
std::string GetInternetCacheFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlInternetCache);
}
std::string GetCookiesFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlCookies);
}
std::string GetHistoryFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlHistory);
}
std::string GetProgramFilesFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlProgramFiles);
}
std::string GetProfileFolder(platform::Shell& shell) {
    return GetSpecialFolder(shell, kCsidlProfile);
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

std::string GetLocalSettingsName(platform::Shell& shell) {
    return PathParts(GetInternetCacheFolder(shell), 3, 3);
}

std::string GetInternetCacheSubPath(platform::Shell& shell) {
    return PathParts(GetInternetCacheFolder(shell), 3, 4);
}

namespace {
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}
}  // namespace

std::string GetCacheFolderInProfile(platform::Shell& shell) {
    const std::string cache = GetInternetCacheFolder(shell);
    const std::string profile = GetProfileFolder(shell);
    if (cache.empty() || profile.empty() || cache.size() <= profile.size() ||
        Lower(cache.substr(0, profile.size())) != Lower(profile))
        return "";
    // On the classic layout this is exactly the positional sub-path (parts 3 and 4).
    return cache.substr(profile.size());
}

std::string GetProfilesRoot(platform::Shell& shell) {
    return PathParts(GetProfileFolder(shell), 0, 1);
}

}  // namespace olvex::folders

#pragma once
// Shell special folders and the names of some of their path parts. Every folder path
// returned ends with one backslash; "" means the folder is unknown.
#include <string>

#include "platform/Platform.h"

namespace olvex::folders {

enum Csidl : int {
    kCsidlAppData = 0x1A,
    kCsidlLocalAppData = 0x1C,
    kCsidlInternetCache = 0x20,
    kCsidlCookies = 0x21,
    kCsidlHistory = 0x22,
    kCsidlProgramFiles = 0x26,
    kCsidlProfile = 0x28,
};

std::string GetSpecialFolder(platform::Shell& shell, int csidl);
std::string GetAppDataFolder(platform::Shell& shell);
std::string GetLocalAppDataFolder(platform::Shell& shell);
std::string GetInternetCacheFolder(platform::Shell& shell);
std::string GetCookiesFolder(platform::Shell& shell);
std::string GetHistoryFolder(platform::Shell& shell);
std::string GetProgramFilesFolder(platform::Shell& shell);
std::string GetProfileFolder(platform::Shell& shell);

// Relative to a profile folder, e.g. "Local Settings\".
std::string GetLocalSettingsName(platform::Shell& shell);
// Relative to a profile folder, e.g. "Local Settings\Temporary Internet Files\".
std::string GetInternetCacheSubPath(platform::Shell& shell);
// The Internet cache folder relative to the profile folder, for building the same folder
// under other profiles; "" when the cache does not lie in the profile. Unlike the
// positional sub-path it is never a parent of the cache folder on deeper layouts.
std::string GetCacheFolderInProfile(platform::Shell& shell);
// The folder that holds the profiles, e.g. "C:\Documents and Settings\".
std::string GetProfilesRoot(platform::Shell& shell);

// Parts first..last (split on "\", counted from 0) of path, each followed by "\";
// "" when the path has fewer parts.
std::string PathParts(const std::string& path, int first, int last);

}  // namespace olvex::folders

#pragma once
// Shell special folders and the names of some of their path parts. Every folder path
// returned ends with one backslash; "" means the folder is unknown.
//
// A folder is asked of the shell first. Where the shell does not know it (NT 4.0's shell
// knows neither local application data, Program Files nor the profile folder, nor do those
// of 95 and 98), the folder library answers if it is installed; then, for the profile
// folder, the environment's USERPROFILE (set on every NT, never on 95, 98 or ME), and for
// Program Files the system's own setting in the registry. Only an absolute path counts.
#include <string>

#include "platform/Platform.h"
#include "system/Services.h"

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

std::string GetSpecialFolder(Services& services, int csidl);
std::string GetAppDataFolder(Services& services);
std::string GetLocalAppDataFolder(Services& services);
std::string GetInternetCacheFolder(Services& services);
std::string GetCookiesFolder(Services& services);
std::string GetHistoryFolder(Services& services);
std::string GetProgramFilesFolder(Services& services);
// The user's own profile folder, whatever it is called (a domain user's is often
// name.DOMAIN or name.000); "" for a drive root or a share (\\server\...), which no
// setting of a profile names.
std::string GetProfileFolder(Services& services);

// The first folder on the Internet cache's path within the profile, e.g. "Local Settings\";
// "" when the cache lies directly in the profile (NT 4.0) or outside it. Taken by position
// from the drive, it would be the user's own folder name where profiles lie deeper (in the
// Windows folder on NT 4.0 and on systems upgraded from it).
std::string GetLocalSettingsName(Services& services);
// The Internet cache folder relative to the profile folder, for building the same folder
// under other profiles; "" when the cache does not lie in the profile. Unlike the
// positional sub-path it is never a parent of the cache folder on deeper layouts.
std::string GetCacheFolderInProfile(Services& services);
// The folder that holds every user's profile, e.g. "C:\Documents and Settings\", as the
// system tells it: its profile library, the registry's ProfileList, %SystemRoot%\Profiles on
// NT 4.0, and only last the parent of the user's own profile, however deep it lies; "" when
// that would be a drive root, whose every folder would pass for a profile.
std::string GetProfilesRoot(Services& services);

// Parts first..last (split on "\", counted from 0) of path, each followed by "\";
// "" when the path has fewer parts.
std::string PathParts(const std::string& path, int first, int last);

}  // namespace olvex::folders

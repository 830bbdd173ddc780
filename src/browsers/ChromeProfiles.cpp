#include "browsers/ChromeProfiles.h"

#include "browsers/DatabaseRows.h"
#include "guard/PathRules.h"
#include "system/FileUtilities.h"
#include "system/SpecialFolders.h"

namespace olvex {

namespace {

// Local State is a few kilobytes; a file far larger is not Chrome's, and is not read whole.
constexpr size_t kLargestLocalState = 16u << 20;

}  // namespace

std::vector<std::string> ChromeProfiles(RuleRun& run) {
    const std::string local = folders::GetLocalAppDataFolder(run.services);
    if (local.empty()) return {};
    const std::optional<std::string> state =
        ReadSmallFile(run.services.files, local + kChromeUserData + "Local State",
                      kLargestLocalState);
    if (!state) return {};
    if (!run.services.databases) throw platform::RuntimeError(reason::kNoSqlite, {});
    const std::unique_ptr<platform::Database> json = run.services.databases->OpenInMemory();
    const std::vector<std::string> keys = json->Column(
        "SELECT key FROM json_each(?1, '$.profile.info_cache') UNION ALL "
        "SELECT 'Default' WHERE json_type(?1, '$.profile.info_cache') IS NULL",
        {*state});
    std::vector<std::string> profiles;
    for (const std::string& key : keys)
        if (IsLiteralName(key)) profiles.push_back(key);
    return profiles;
}

}  // namespace olvex

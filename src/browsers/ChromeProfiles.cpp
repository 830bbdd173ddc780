#include "browsers/ChromeProfiles.h"

#include "browsers/DatabaseRows.h"
#include "guard/PathRules.h"
#include "system/SpecialFolders.h"

namespace olvex {

namespace {

// Local State is a few kilobytes; a file far larger is not Chrome's, and is not read whole.
constexpr size_t kLargestLocalState = 16u << 20;

// The file's bytes; nothing when it is not there.
std::optional<std::string> ReadWhole(platform::FileSystem& files, const std::string& path) {
    std::unique_ptr<platform::ReadFile> file = files.OpenForReading(path);
    if (!file) return std::nullopt;
    std::string text;
    char buffer[4096];
    while (const size_t read = file->Read(buffer, sizeof buffer)) {
        text.append(buffer, read);
        if (text.size() > kLargestLocalState)
            throw platform::RuntimeError(path + " is too large to be Chrome's Local State", {});
    }
    return text;
}

}  // namespace

std::vector<std::string> ChromeProfiles(RuleRun& run) {
    const std::string local = folders::GetLocalAppDataFolder(run.services);
    if (local.empty()) return {};
    const std::optional<std::string> state =
        ReadWhole(run.services.files, local + kChromeUserData + "Local State");
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

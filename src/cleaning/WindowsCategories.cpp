#include "cleaning/WindowsCategories.h"

#include "cleaning/CachePurge.h"
#include "cleaning/FolderSweep.h"
#include "platform/Errors.h"
#include "system/FileUtilities.h"
#include "system/FreedSpace.h"
#include "system/SpecialFolders.h"

namespace olvex {

namespace {

SweepKind KindOf(const RuleRun& run) {
    return run.recipe.family == Family::NT ? SweepKind::NT : SweepKind::Windows98;
}

// The folder tree at the path.
void Sweep(RuleRun& run, const std::string& path) {
    std::string folder = path;
    FindFilesAPI(run.services.files, folder, "*.*", KindOf(run));
}

// The prefetch folder: its layout.ini stays where it is while everything else goes.
void SweepKeepingLayout(RuleRun& run, const std::string& path) {
    std::string folder = path;
    FindFilesAPI(run.services.files, folder, "*.*", KindOf(run), "layout.ini");
}

// The cookie entries of the cache index.
void PurgeCookies(RuleRun& run, const std::string&) {
    ClearCookieCache(run.services, run.form.Ctl("List1"));
}

// The other entries of the cache index.
void PurgeUrls(RuleRun& run, const std::string&) {
    ClearUrlCache(run.services, run.form.Ctl("List1"));
}

void ClearHistory(RuleRun& run, const std::string&) {
    run.services.shell.ClearUrlHistory();
}

// Every drive's Recycle Bin, the dialogs owned by the run's window.
void EmptyRecycleBin(RuleRun& run, const std::string&) {
    if (run.services.shell.EmptyRecycleBin(run.owner) != 0)
        run.services.shell.UpdateRecycleBinIcon();
}

// Every profile folder, hidden and system ones included: its temporary folder, its
// Internet cache (the index folder first) and its cookies.
void SweepAllProfiles(RuleRun& run, const std::string&) {
    platform::Shell& shell = run.services.shell;
    std::string root = folders::GetProfilesRoot(shell);
    if (root.empty()) return;
    std::vector<std::string> names;
    SubDirsToArray(run.services, root, names, true, true, true);

    const std::string localSettings = folders::GetLocalSettingsName(shell);
    const std::string cache = folders::GetCacheFolderInProfile(shell);
    for (const std::string& name : names) {
        const std::string profile = root + name + "\\";
        // A part that is unknown ("") leaves its folder out.
        const std::string paths[] = {
            localSettings.empty() ? "" : profile + localSettings + "temp",
            cache.empty() ? "" : profile + cache + "content.ie5\\",
            cache.empty() ? "" : profile + cache,
            profile + "cookies",
        };
        for (const std::string& path : paths)
            if (!path.empty()) platform::SkipOnFailure([&] { Sweep(run, path); });
    }
}

}  // namespace

// clang-format off
const CleaningRecipe& NtCategories() {
    static const CleaningRecipe recipe{
        {
            // box      action              base folder              tail
            {"Check1",  Sweep,              BaseFolder::WindowsDir,  "\\temp"},
            {"Check2",  Sweep,              BaseFolder::UserProfile, "\\Local Settings\\temp"},
            {"Check3",  PurgeCookies,       BaseFolder::None,        ""},
            {"Check3",  Sweep,              BaseFolder::UserProfile, "\\Cookies"},
            {"Check4",  PurgeUrls,          BaseFolder::None,        ""},
            {"Check5",  ClearHistory,       BaseFolder::None,        ""},
            {"Check6",  SweepKeepingLayout, BaseFolder::SystemDrive, "windows\\prefetch"},
            {"Check8",  EmptyRecycleBin,    BaseFolder::None,        ""},
            {"Check9",  SweepAllProfiles,   BaseFolder::None,        ""},
            {"Check10", Sweep,              BaseFolder::AppData,     "Sun\\Java\\Deployment\\cache\\javapi"},
        },
        Family::NT,
        nullptr,  // reports the bytes freed
    };
    return recipe;
}

const CleaningRecipe& Windows98Categories() {
    static const CleaningRecipe recipe{
        {
            // box     action           base folder              tail
            {"Check1", Sweep,           BaseFolder::WindowsDir,  "\\temp"},
            {"Check2", PurgeCookies,    BaseFolder::None,        ""},
            {"Check2", Sweep,           BaseFolder::SystemDrive, "\\Windows\\Cookies"},
            {"Check3", Sweep,           BaseFolder::SystemDrive, "Temp"},
            {"Check4", PurgeUrls,       BaseFolder::None,        ""},
            {"Check5", ClearHistory,    BaseFolder::None,        ""},
            {"Check6", EmptyRecycleBin, BaseFolder::None,        ""},
            {"Check8", Sweep,           BaseFolder::WindowsDir,  "\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi"},
        },
        Family::Windows98,
        kDonePlain,
    };
    return recipe;
}
// clang-format on

}  // namespace olvex

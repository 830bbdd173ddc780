#include "cleaning/WindowsCategories.h"

#include "cleaning/CachePurge.h"
#include "cleaning/FolderSweep.h"
#include "platform/Errors.h"
#include "system/FileUtilities.h"
#include "system/FreedSpace.h"
#include "system/SpecialFolders.h"

namespace olvex {

namespace {

// Where files that stay may be registered for deletion at restart: only the NT family keeps
// such a list, and only folders nobody else can change before the restart qualify.
AtRestart Registration(const RuleRun& run, AtRestart wanted) {
    return run.recipe.family == Family::NT ? wanted : AtRestart::Never;
}

// A folder tree of the user's own.
void Sweep(RuleRun& run, const std::string& path) {
    std::string folder = path;
    FindFilesAPI(run.services.files, folder, "*.*", Registration(run, AtRestart::AnyDepth), "",
                 run.sink);
}

// A folder tree of the machine, in which any user may create subfolders: files that stay are
// registered only directly in it.
void SweepMachineFolder(RuleRun& run, const std::string& path) {
    std::string folder = path;
    FindFilesAPI(run.services.files, folder, "*.*", Registration(run, AtRestart::TopLevel), "",
                 run.sink);
}

// The prefetch folder: its layout.ini stays where it is while everything else goes.
void SweepKeepingLayout(RuleRun& run, const std::string& path) {
    std::string folder = path;
    FindFilesAPI(run.services.files, folder, "*.*", Registration(run, AtRestart::TopLevel),
                 "layout.ini", run.sink);
}

// The cookie entries of the cache index.
void PurgeCookies(RuleRun& run, const std::string&) {
    ClearCookieCache(run.services, run.purgeList, run.sink);
}

// The other entries of the cache index.
void PurgeUrls(RuleRun& run, const std::string&) {
    ClearUrlCache(run.services, run.purgeList, run.sink);
}

// The history object empties itself and tells nothing of what it held.
void ClearHistory(RuleRun& run, const std::string&) {
    run.sink.Uncounted();
    run.services.shell.ClearUrlHistory();
}

// Every drive's Recycle Bin, the dialogs owned by the run's window: what it holds, as the
// shell counts it, then the emptying.
void EmptyRecycleBin(RuleRun& run, const std::string&) {
    uint64_t items = 0, bytes = 0;
    if (run.services.shell.QueryRecycleBin(items, bytes))
        run.sink.Counted(items, bytes);
    else
        run.sink.Uncounted();
    if (run.services.shell.EmptyRecycleBin(run.owner) != 0)
        run.services.shell.UpdateRecycleBinIcon();
}

// Every profile folder, hidden and system ones included: its temporary folder, its
// Internet cache (the index folder first) and its cookies.
void SweepAllProfiles(RuleRun& run, const std::string&) {
    Services& services = run.services;
    std::string root = folders::GetProfilesRoot(services);
    if (root.empty()) return;
    std::vector<std::string> names;
    SubDirsToArray(run.services, root, names, true, true, true);

    const std::string localSettings = folders::GetLocalSettingsName(services);
    const std::string cache = folders::GetCacheFolderInProfile(services);
    for (const std::string& name : names) {
        // A folder name the path parser would read as another path (a\..\..\x) is no
        // profile of this machine.
        if (!IsLiteralName(name)) continue;
        const std::string profile = root + name + "\\";
        // A part that is unknown ("") leaves its folder out.
        const std::string paths[] = {
            localSettings.empty() ? "" : profile + localSettings + "temp",
            cache.empty() ? "" : profile + cache + "content.ie5\\",
            cache.empty() ? "" : profile + cache,
            profile + "cookies",
        };
        // Another user's folders are his to change before a restart: nothing of his is
        // registered.
        const AtRestart atRestart = Registration(
            run, IsSamePath(profile, BaseFolderPath(run, BaseFolder::UserProfile) + "\\")
                     ? AtRestart::AnyDepth
                     : AtRestart::Never);
        for (std::string path : paths)
            if (!path.empty())
                platform::SkipOnFailure([&] {
                    FindFilesAPI(run.services.files, path, "*.*", atRestart, "", run.sink);
                });
    }
}

}  // namespace

// clang-format off
const CleaningRecipe& NtCategories() {
    static const CleaningRecipe recipe{
        {
            // box      id                 action              base folder              tail
            {"Check1", "windows-temp",     SweepMachineFolder, BaseFolder::WindowsDir,  "\\temp"},
            {"Check2", "user-temp",        Sweep,              BaseFolder::UserProfile, "\\Local Settings\\temp"},
            {"Check3", "cookies",          PurgeCookies,       BaseFolder::None,        ""},
            {"Check3", "cookies",          Sweep,              BaseFolder::UserProfile, "\\Cookies"},
            {"Check4", "ie-cache",         PurgeUrls,          BaseFolder::None,        ""},
            {"Check5", "ie-history",       ClearHistory,       BaseFolder::None,        ""},
            {"Check6", "prefetch",         SweepKeepingLayout, BaseFolder::WindowsDir,  "\\Prefetch"},
            {"Check8", "recycle-bin",      EmptyRecycleBin,    BaseFolder::None,        ""},
            {"Check9", "all-users-temp",   SweepAllProfiles,   BaseFolder::None,        ""},
            {"Check10","java-cache",       Sweep,              BaseFolder::AppData,     "Sun\\Java\\Deployment\\cache\\javapi"},
        },
        Family::NT,
        nullptr,  // reports the bytes freed
    };
    return recipe;
}

const CleaningRecipe& Windows98Categories() {
    static const CleaningRecipe recipe{
        {
            // box      id                 action           base folder              tail
            {"Check1", "windows-temp",     SweepMachineFolder, BaseFolder::WindowsDir, "\\temp"},
            {"Check2", "cookies",          PurgeCookies,    BaseFolder::None,        ""},
            {"Check2", "cookies",          Sweep,           BaseFolder::SystemDrive, "\\Windows\\Cookies"},
            {"Check3", "temp",             Sweep,           BaseFolder::SystemDrive, "Temp"},
            {"Check4", "ie-cache",         PurgeUrls,       BaseFolder::None,        ""},
            {"Check5", "ie-history",       ClearHistory,    BaseFolder::None,        ""},
            {"Check6", "recycle-bin",      EmptyRecycleBin, BaseFolder::None,        ""},
            {"Check8", "java-cache",       Sweep,           BaseFolder::WindowsDir,  "\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi"},
        },
        Family::Windows98,
        kDonePlain,
    };
    return recipe;
}
// clang-format on

}  // namespace olvex

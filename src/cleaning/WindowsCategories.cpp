#include "cleaning/WindowsCategories.h"

#include <optional>

#include "cleaning/CachePurge.h"
#include "cleaning/FolderSweep.h"
#include "guard/ResolvedPath.h"
#include "platform/Errors.h"
#include "system/FileUtilities.h"
#include "system/FreedSpace.h"
#include "system/SpecialFolders.h"

namespace olvex {

namespace {

// Where files that stay may be registered for deletion at restart: only the NT family keeps
// such a list, and only folders nobody else can change before the restart qualify.
AtRestart Registration(const RuleRun& run, AtRestart wanted) {
    return run.family == Family::NT ? wanted : AtRestart::Never;
}

// Everything in the folder at path; what stays is registered for restart as atRestart allows,
// and keptFile, if named, stays at the top.
void SweepAll(RuleRun& run, const std::string& path, AtRestart atRestart,
              const std::string& keptFile = "") {
    SweepFolder(run.services.files, path,
                {&run.changes, "*.*", keptFile, Registration(run, atRestart), &run.sink, false,
                 run.filter, run.counted});
}

}  // namespace

void SweepUserTree(RuleRun& run, const std::string& path) {
    SweepAll(run, path, AtRestart::AnyDepth);
}

namespace {

constexpr RuleAction Sweep = SweepUserTree;

// The user's own temporary folder: Local Settings\temp in the profile. A profile without
// Local Settings (NT 4.0's) keeps it where TEMP says, and that is swept when it lies inside
// the profile; anywhere else it may be a folder every user shares.
void SweepUserTemp(RuleRun& run, const std::string& path) {
    const std::string profile = BaseFolderPath(run, BaseFolder::UserProfile);
    platform::FileSystem& files = run.services.files;
    if (files.GetAttributes(profile + "\\Local Settings") != platform::kInvalidAttributes) {
        Sweep(run, path);
        return;
    }
    std::optional<std::string> temp = run.services.system.EnvironmentVariable("TEMP");
    if (!temp) temp = run.services.system.EnvironmentVariable("TMP");
    if (!temp || !LiesInside(*temp, profile)) {
        run.sink.Problem({StepOutcome::NotThere,
                          TidyPath(path),
                          "the profile has no Local Settings, and TEMP lies outside it",
                          {}});
        return;
    }
    Sweep(run, *temp);
}

// A folder tree of the machine, in which any user may create subfolders: files that stay are
// registered only directly in it.
void SweepMachineFolder(RuleRun& run, const std::string& path) {
    SweepAll(run, path, AtRestart::TopLevel);
}

// The prefetch folder: its layout.ini stays where it is while everything else goes.
void SweepKeepingLayout(RuleRun& run, const std::string& path) {
    SweepAll(run, path, AtRestart::TopLevel, "layout.ini");
}

// The cookie entries of the cache index, which the library lists only when asked for them.
void PurgeCookies(RuleRun& run, const std::string&) {
    if (run.sink.LooksOnly()) return;
    ClearCookieCache(run.services, run.changes, run.purgeList, run.sink, run.filter, run.counted,
                     run.keepCookies);
}

// The Cookies folder. While cookies are kept, the files of the kept cookies' entries stay in
// it, known by what they are, as excluded files are.
void SweepCookies(RuleRun& run, const std::string& path) {
    if (!run.keepCookies || run.keepCookies->Empty()) return Sweep(run, path);
    RunFilter keeping = run.filter ? *run.filter : RunFilter();
    for (const std::string& file : KeptCookieFiles(run.services, *run.keepCookies))
        if (const ResolvedPath kept = ResolvePath(run.services.files, file))
            keeping.KeepCookieFile(kept);
    RuleRun keepingRun = run;
    keepingRun.filter = &keeping;
    Sweep(keepingRun, path);
}

// The other entries of the cache index.
void PurgeUrls(RuleRun& run, const std::string&) {
    if (run.sink.LooksOnly()) return;
    ClearUrlCache(run.services, run.changes, run.purgeList, run.sink, run.filter, run.counted);
}

// The history object empties itself and tells nothing of what it held.
void ClearHistory(RuleRun& run, const std::string&) {
    if (run.sink.LooksOnly()) return;
    run.sink.Uncounted();
    run.changes.ClearUrlHistory();
}

// What the Recycle Bins of every drive hold, as the shell counts them: all at once, or,
// where the shell refuses that (Windows 2000 takes no root for all drives), fixed drive by
// fixed drive. false when the shell cannot tell.
bool CountRecycleBin(Services& services, uint64_t& items, uint64_t& bytes) {
    if (services.shell.QueryRecycleBin("", items, bytes)) return true;
    const std::vector<std::string> drives = services.files.FixedDriveRoots();
    if (drives.empty()) return false;
    items = bytes = 0;
    for (const std::string& drive : drives) {
        uint64_t driveItems = 0, driveBytes = 0;
        if (!services.shell.QueryRecycleBin(drive, driveItems, driveBytes)) return false;
        items += driveItems;
        bytes += driveBytes;
    }
    return true;
}

// Every drive's Recycle Bin, the dialogs owned by the run's window: what it holds, as the
// shell counts it, then the emptying.
void EmptyRecycleBin(RuleRun& run, const std::string&) {
    if (run.sink.LooksOnly()) return;
    uint64_t items = 0, bytes = 0;
    const bool counted = CountRecycleBin(run.services, items, bytes);
    if (counted)
        run.sink.Counted(items, bytes);
    else
        run.sink.Uncounted();
    const long result = run.changes.EmptyRecycleBin(run.owner);
    if (result != 0) run.changes.UpdateRecycleBinIcon();
    // Some shells answer an empty Recycle Bin with a failure: nothing was left then.
    if (result < 0 && !(counted && items == 0))
        run.sink.Problem({StepOutcome::Failed,
                          "",
                          "the shell did not empty the Recycle Bin",
                          {platform::SystemCode::Kind::HResult, static_cast<uint32_t>(result)}});
}

// Every profile folder, hidden and system ones included: its temporary folder, its
// Internet cache (the index folder first) and its cookies.
void SweepAllProfiles(RuleRun& run, const std::string&) {
    Services& services = run.services;
    std::string root = folders::GetProfilesRoot(services);
    if (root.empty()) {
        run.sink.Problem(
            {StepOutcome::NotThere, "the profiles folder", reason::kUnknownFolder, {}});
        return;
    }
    std::vector<std::string> names;
    SubDirsToArray(run.services, root, names, true, true, true, run.sink);

    const std::string localSettings = folders::GetLocalSettingsName(services);
    const std::string cache = folders::GetCacheFolderInProfile(services);
    const std::string own = BaseFolderPath(run, BaseFolder::UserProfile) + "\\";
    for (const std::string& name : names) {
        // A folder name the path parser would read as another path (a\..\..\x) is no
        // profile of this machine.
        if (!IsLiteralName(name)) {
            run.sink.Problem({StepOutcome::Refused, root + name, reason::kOddName, {}});
            continue;
        }
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
        const AtRestart atRestart =
            IsSamePath(profile, own) ? AtRestart::AnyDepth : AtRestart::Never;
        for (const std::string& path : paths) {
            if (path.empty()) continue;
            try {
                SweepAll(run, path, atRestart);
            } catch (const platform::RuntimeError& error) {
                run.sink.Problem(ProblemOf(error, TidyPath(path)));
            }
        }
    }
}

// One row of a Windows category.
struct WindowsRow {
    const char* id;
    RuleAction action;
    BaseFolder base;
    const char* tail;
};

// clang-format off
const std::vector<WindowsRow>& NtRows() {
    static const std::vector<WindowsRow> rows{
        // id                 action              base folder              tail
        {"windows-temp",     SweepMachineFolder, BaseFolder::WindowsDir,  "\\temp"},
        {"user-temp",        SweepUserTemp,      BaseFolder::UserProfile, "\\Local Settings\\temp"},
        {"cookies",          PurgeCookies,       BaseFolder::None,        ""},
        {"cookies",          SweepCookies,       BaseFolder::UserProfile, "\\Cookies"},
        {"ie-cache",         PurgeUrls,          BaseFolder::None,        ""},
        {"ie-history",       ClearHistory,       BaseFolder::None,        ""},
        {"prefetch",         SweepKeepingLayout, BaseFolder::WindowsDir,  "\\Prefetch"},
        {"recycle-bin",      EmptyRecycleBin,    BaseFolder::None,        ""},
        {"all-users-temp",   SweepAllProfiles,   BaseFolder::None,        ""},
        {"java-cache",       Sweep,              BaseFolder::AppData,     "Sun\\Java\\Deployment\\cache\\javapi"},
    };
    return rows;
}

const std::vector<WindowsRow>& Windows98Rows() {
    static const std::vector<WindowsRow> rows{
        // id                 action              base folder              tail
        {"windows-temp",     SweepMachineFolder, BaseFolder::WindowsDir,  "\\temp"},
        {"cookies",          PurgeCookies,       BaseFolder::None,        ""},
        {"cookies",          SweepCookies,       BaseFolder::SystemDrive, "\\Windows\\Cookies"},
        {"temp",             Sweep,              BaseFolder::SystemDrive, "Temp"},
        {"ie-cache",         PurgeUrls,          BaseFolder::None,        ""},
        {"ie-history",       ClearHistory,       BaseFolder::None,        ""},
        {"recycle-bin",      EmptyRecycleBin,    BaseFolder::None,        ""},
        {"java-cache",       Sweep,              BaseFolder::WindowsDir,  "\\Application Data\\Sun\\Java\\Deployment\\cache\\javapi"},
    };
    return rows;
}
// clang-format on

}  // namespace

CategoryRows WindowsRows(const std::string& id, Family family) {
    CategoryRows rows;
    if (family == Family::Unsupported) return rows;
    for (const WindowsRow& row : family == Family::NT ? NtRows() : Windows98Rows())
        if (id == row.id) rows.rows.push_back({row.action, row.base, row.tail});
    return rows;
}

}  // namespace olvex

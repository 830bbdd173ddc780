#include "cleaning/CleaningRun.h"

#include "cleaning/CachePurge.h"
#include "cleaning/FreedSpace.h"
#include "platform/Errors.h"
#include "shell/CleaningContext.h"
#include "system/SpecialFolders.h"
#include "system/FileUtilities.h"

namespace olvex {

using platform::SkipOnFailure;

namespace {

void Sweep(Services& services, const CleaningWindow& window, std::string path,
           const std::string& keptFile = "") {
    FindFilesAPI(services.files, path, "*.*", window.sweep, keptFile);
}

// Every profile folder, hidden and system ones included: its temporary folder, its
// Internet cache (the index folder first) and its cookies.
void SweepAllProfiles(Services& services, CleaningWindow& window) {
    window.profilesRoot = folders::GetProfilesRoot(services.shell);
    window.profileNames.clear();
    if (window.profilesRoot.empty()) return;
    SubDirsToArray(services, window.profilesRoot, window.profileNames, true, true, true);

    const std::string localSettings = folders::GetLocalSettingsName(services.shell);
    const std::string cache = folders::GetCacheFolderInProfile(services.shell);
    for (const std::string& name : window.profileNames) {
        const std::string profile = window.profilesRoot + name + "\\";
        for (const std::string& path :
             {Join({profile, localSettings}, "temp"), Join({profile, cache}, "content.ie5\\"),
              Join({profile, cache}, ""), Join({window.profilesRoot, name}, "\\cookies")}) {
            SkipOnFailure([&] { Sweep(services, window, path); });
        }
    }
}

}  // namespace

void PerformCategory(Services& services, CleaningWindow& window, const Category& category,
                     const RunPaths& paths) {
    ui::Control& list = window.form.Ctl("List1");
    switch (category.operation) {
        case Operation::Sweep:
            SkipOnFailure([&] { Sweep(services, window, category.path(paths)); });
            break;
        case Operation::SweepKeepingLayout:
            // layout.ini stays where it is while everything else goes.
            SkipOnFailure([&] { Sweep(services, window, category.path(paths), "layout.ini"); });
            break;
        case Operation::PurgeCookiesThenSweep:
            SkipOnFailure([&] { ClearCookieCache(services, list); });
            SkipOnFailure([&] { Sweep(services, window, category.path(paths)); });
            break;
        case Operation::PurgeUrls:
            SkipOnFailure([&] { ClearUrlCache(services, list); });
            break;
        case Operation::ClearHistory:
            SkipOnFailure([&] { services.shell.ClearUrlHistory(); });
            break;
        case Operation::EmptyRecycleBin:
            SkipOnFailure([&] {
                if (services.shell.EmptyRecycleBin(window.recycleOwner) != 0)
                    services.shell.UpdateRecycleBinIcon();
            });
            break;
        case Operation::SweepAllProfiles:
            SkipOnFailure([&] { SweepAllProfiles(services, window); });
            break;
    }
}

void RunCleaning(Services& services, CleaningWindow& window) {
    CleaningContext context;
    SkipOnFailure([&] { context = DeriveCleaningContext(services.system); });
    services.toolkit.SetMousePointer(ui::kPointerHourglass);
    FreedSpaceReport report(services.system, context.SystemDrive);
    if (window.reportsFreedSpace) SkipOnFailure([&] { report.MeasureBefore(); });

    const RunPaths paths(services, context);
    for (const Category& category : window.categories) {
        SkipOnFailure([&] {
            if (window.form.Ctl(category.box).Value() != 0)
                PerformCategory(services, window, category, paths);
        });
    }

    services.toolkit.SetMousePointer(ui::kPointerDefault);
    if (window.reportsFreedSpace) {
        SkipOnFailure([&] { report.MeasureAfter(); });
        report.Show(services.toolkit);
    } else {
        services.toolkit.MsgBox(kDonePlain, ui::kOkOnly, kDoneTitle);
    }
}

}  // namespace olvex

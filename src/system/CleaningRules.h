#pragma once
// What the program cleans, as categories keyed by id, each with the rows it runs on each
// family, and the engine that walks them: for "Empty Selected" in a window, and for the console
// program. The one table of categories is categories/CategoryTable; this is its form.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "guard/CleaningSink.h"
#include "guard/CountedFolders.h"
#include "guard/RunFilter.h"
#include "platform/Platform.h"
#include "system/Availability.h"
#include "system/CleaningContext.h"
#include "system/CookieKeepList.h"
#include "system/PurgeList.h"
#include "system/Services.h"
#include "system/WindowsVersion.h"

namespace olvex {

// The folder a row's path starts from. The shell's special folders end with "\", the
// Windows folder does not, so the tails that follow them differ in their first character.
enum class BaseFolder {
    None,          // the row takes no path
    WindowsDir,    // e.g. C:\WINDOWS
    SystemDrive,   // e.g. C:\ (the Windows folder's first three characters)
    UserProfile,   // the user's own profile folder, e.g. C:\Documents and Settings\Ann
    AppData,       // the user's application data
    LocalAppData,  // the user's local application data
    ProgramFiles,
};

// In a tail, stands for each profile the category's profile list names, in turn. It cannot
// be part of a real name. A profile is a path relative to what comes before the marker, or
// a whole folder (C:\x, \\server\share\x) that takes the place of all of it.
constexpr const char* kEachProfile = "<profile>";

struct RuleRun;
// What a row does with its path: base folder + tail ("" for BaseFolder::None).
using RuleAction = void (*)(RuleRun& run, const std::string& path);

// One row: its action runs on base + tail. The rows of a category run in turn, for each
// profile in turn when their tails name one; a failure ends only the path it happens on.
struct CleaningRule {
    RuleAction action;
    BaseFolder base;
    std::string tail;
};

// What kEachProfile stands for in a run, read once before the first category.
using ProfileList = std::vector<std::string> (*)(RuleRun& run);

// Why the files of a profile must stay as they are now (its browser is running and holds
// them); nullptr when they may be cleaned.
using ProfileInUse = const char* (*)(RuleRun& run, const std::string& profile);

// A category's rows on one family; none where the family does not have the category.
struct CategoryRows {
    std::vector<CleaningRule> rows;
    ProfileList profiles = nullptr;
    // Asked for each profile before its rows; a profile in use has each of its rows refused,
    // with the reason, and nothing of it is touched.
    ProfileInUse inUse = nullptr;
};

// Why a category cannot be cleaned on a machine ("not on Windows 2000"); "" when it can.
using Availability = std::string (*)(Machine& machine);

// One category: the box of a window and the id of the console program.
struct Category {
    const char* id;
    const char* ntCaption;     // its box's caption in the NT family's window; "" for none
    const char* nineXCaption;  // and in the Windows 98 family's
    // What its box reads while it is disabled; nullptr: its caption.
    const char* disabledCaption;
    Availability unavailable;  // nullptr: wherever the family has it
    bool asksBeforeTicking;    // the saved passwords: ticked only after a question
    bool emptiedWhole;         // the system empties it whole: nothing can be kept back
    bool deletesCookies;       // it keeps the cookies of the hosts the keep-list names
    CategoryRows ntRows;
    CategoryRows nineXRows;

    const char* CaptionOn(Family family) const;
    const CategoryRows& RowsOn(Family family) const;
    // Whether the family has it: it has a caption and rows there.
    bool IsOn(Family family) const;
    // Why it cannot be cleaned on machine, its family included; "" when it can.
    std::string WhyUnavailable(Machine& machine) const;
};

// One run of categories.
struct RuleRun {
    Services& services;
    platform::Changes& changes;  // what the rows change the system through
    Family family;               // on NT, files that stay are registered for restart
    uintptr_t owner;             // the window that owns the system's own dialogs; 0 for none
    PurgeList& purgeList;
    CleaningSink& sink;
    CleaningContext context;  // see DeriveCleaningContext
    // The profiles each profile list names, read before the first category.
    std::vector<std::pair<ProfileList, std::vector<std::string>>> profiles;
    const RunFilter* filter = nullptr;  // what the user keeps besides the guard's rules
    CountedFolders* counted = nullptr;  // a preview's folders counted so far; nullptr in a clean
    const CookieKeepList* keepCookies = nullptr;  // the hosts whose cookies stay; nullptr: none
};

// The folder, or "" when it is unknown: then the rows under it are skipped rather than
// run on a path relative to the current folder.
std::string BaseFolderPath(RuleRun& run, BaseFolder base);

// The path base + tail names for profile, as a row's path is made; "" when the folder is
// unknown.
std::string PathInProfile(RuleRun& run, BaseFolder base, const std::string& tail,
                          const std::string& profile);

// Asked once for each category, before its rows; false skips them.
using CategoryCheck = std::function<bool(const Category& category)>;

// Reads the profile lists the categories' rows name, then runs the rows of every category
// selected, in the order given. The sink hears of each category as it starts and ends, and of
// every step that did nothing or ended early.
void RunSelected(RuleRun& run, const std::vector<const Category*>& categories,
                 const CategoryCheck& selected);

}  // namespace olvex

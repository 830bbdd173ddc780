#pragma once
// What a cleaning window deletes, as rows of one table, and the engine that walks them: when
// "Empty Selected" is clicked, or for the console program. Every main window and every
// browser window is one table; the windows differ only in their rows and in the few settings
// of their recipe.
#include <functional>
#include <string>
#include <vector>

#include "system/CleaningContext.h"
#include "system/CleaningSink.h"
#include "system/PurgeList.h"
#include "system/Services.h"
#include "system/WindowsVersion.h"
#include "ui/Form.h"

namespace olvex {

// The folder a rule's path starts from. The shell's special folders end with "\", the
// Windows folder does not, so the tails that follow them differ in their first character.
enum class BaseFolder {
    None,          // the rule takes no path
    WindowsDir,    // e.g. C:\WINDOWS
    SystemDrive,   // e.g. C:\ (the Windows folder's first three characters)
    UserProfile,   // the user's own profile folder, e.g. C:\Documents and Settings\Ann
    AppData,       // the user's application data
    LocalAppData,  // the user's local application data
    ProgramFiles,
};

// In a tail, stands for each profile the recipe's profile list names, in turn. It cannot
// be part of a real name. A profile is a path relative to what comes before the marker, or
// a whole folder (C:\x, \\server\share\x) that takes the place of all of it.
constexpr const char* kEachProfile = "<profile>";

struct RuleRun;
// What a rule does with its path: base folder + tail ("" for BaseFolder::None).
using RuleAction = void (*)(RuleRun& run, const std::string& path);

// One row: when box is ticked, action runs on base + tail. Rows of one box follow each
// other and run in turn, for each profile in turn when their tails name one; a failure ends
// only the path it happens on. The rows of a box share its category's id, the name the
// console program knows it by.
struct CleaningRule {
    const char* box;
    const char* id;
    RuleAction action;
    BaseFolder base;
    std::string tail;
};

// What kEachProfile stands for in a run, read once before the rows.
using ProfileList = std::vector<std::string> (*)(RuleRun& run);

struct CleaningRecipe {
    std::vector<CleaningRule> rules;  // in the order a run visits them
    Family family;                    // on NT, files that stay are registered for deletion
                                      // at the next restart
    const char* doneMessage;          // nullptr: the bytes freed are measured and reported
    ProfileList profiles = nullptr;
};

// The boxes of a table, each once, in the order of their first row.
std::vector<std::string> BoxesOf(const CleaningRecipe& recipe);

// One run of a recipe.
struct RuleRun {
    Services& services;
    const CleaningRecipe& recipe;
    uintptr_t owner;  // the window that owns the system's own dialogs; 0 for none
    PurgeList& purgeList;
    CleaningSink& sink;
    CleaningContext context;  // see DeriveCleaningContext
    std::vector<std::string> profiles;
};

// The folder, or "" when it is unknown: then the rows under it are skipped rather than
// run on a path relative to the current folder.
std::string BaseFolderPath(RuleRun& run, BaseFolder base);

// Asked once for each box, before its rows; false skips them.
using RowCheck = std::function<bool(const CleaningRule& rule)>;

// The rows of every box selected, in table order, after the recipe's profiles are read. The
// sink hears of each box as it starts and ends, and of every failure that ends a row early.
void RunSelected(RuleRun& run, const RowCheck& selected);

// "Empty Selected": the hourglass, the rows of every ticked box in table order, then the completion
// message, with the bytes freed on the system drive when the recipe reports them.
void RunRecipe(Services& services, ui::Form& form, const CleaningRecipe& recipe, uintptr_t owner,
               const RowCheck& mayRun = nullptr);

}  // namespace olvex

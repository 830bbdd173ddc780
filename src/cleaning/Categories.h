#pragma once
// What each main window cleans: one row per category box, in the order a run tests them.
#include <string>
#include <vector>

#include "shell/CleaningContext.h"
#include "system/Services.h"

namespace olvex {

// The folders a run builds its paths from: the cleaning context, and the shell's special
// folders, asked for when a category needs them. "" means unknown.
class RunPaths {
  public:
    RunPaths(Services& services, const CleaningContext& context)
        : services_(services), context_(context) {}
    const std::string& WindowsDir() const { return context_.WindowsDir; }
    const std::string& SystemDrive() const { return context_.SystemDrive; }
    const std::string& UserName() const { return context_.UserName; }
    std::string ProfilesRoot() const;
    std::string AppData() const;

  private:
    Services& services_;
    const CleaningContext& context_;
};

enum class Operation {
    Sweep,                  // the folder tree at the path
    SweepKeepingLayout,     // the prefetch folder, its layout.ini kept
    PurgeCookiesThenSweep,  // cookie entries of the cache index, then the folder
    PurgeUrls,              // the other entries of the cache index
    ClearHistory,           // the browser's URL history
    EmptyRecycleBin,        // every drive's Recycle Bin
    SweepAllProfiles,       // temporary folders, cache and cookies of every profile
};

// A path built from known parts, or "" when one of them is unknown.
using PathRecipe = std::string (*)(const RunPaths&);

struct Category {
    const char* box;
    const char* caption;
    Operation operation;
    PathRecipe path;  // for the operations that take a folder
};

const std::vector<Category>& NtCategories();
const std::vector<Category>& Windows98Categories();

// parts joined, then tail; "" when a part is unknown.
std::string Join(std::initializer_list<std::string> parts, const char* tail);

}  // namespace olvex

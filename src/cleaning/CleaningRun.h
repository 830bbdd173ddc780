#pragma once
// "Empty Selected" in a main window: every ticked category, in table order, then the
// completion message.
#include <string>
#include <vector>

#include "cleaning/Categories.h"
#include "cleaning/FolderSweep.h"
#include "ui/Form.h"

namespace olvex {

struct CleaningWindow {
    ui::Form& form;  // its boxes say what to clean; its List1 is the purge's working list
    const std::vector<Category>& categories;
    SweepKind sweep;
    bool reportsFreedSpace;                  // the NT window measures and reports the bytes freed
    uintptr_t recycleOwner;                  // the window that owns the Recycle Bin call
    std::vector<std::string>& profileNames;  // the last All Users Temp step's profiles
    std::string& profilesRoot;
};

void RunCleaning(Services& services, CleaningWindow& window);

// One category's work; a failure ends only the part it happens in.
void PerformCategory(Services& services, CleaningWindow& window, const Category& category,
                     const RunPaths& paths);

}  // namespace olvex

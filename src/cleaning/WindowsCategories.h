#pragma once
// What the two main windows clean: the Windows categories, one table per window family. The
// captions of the boxes are in the layouts (ui/layouts/MainWindowLayouts.cpp).
#include "system/CleaningRules.h"

namespace olvex {

const CleaningRecipe& NtCategories();         // the NT family's main window
const CleaningRecipe& Windows98Categories();  // the Windows 98 family's main window

}  // namespace olvex

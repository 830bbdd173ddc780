#pragma once
// What the Firefox and Opera windows delete, one table per browser and window family. Each
// row deletes the files a pattern names, through KillFile.
#include "system/CleaningRules.h"

namespace olvex {

const CleaningRecipe& FirefoxNtItems();
const CleaningRecipe& Firefox98Items();
const CleaningRecipe& OperaNtItems();
const CleaningRecipe& Opera98Items();

// The box of the saved passwords, which asks before it is ticked.
constexpr const char* kPasswordsBox = "Check3";

}  // namespace olvex

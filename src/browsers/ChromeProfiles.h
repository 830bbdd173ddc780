#pragma once
// Where Chrome keeps the profiles of the user: the folders of "User Data", in the user's local
// application data, that its "Local State" lists.
#include <string>
#include <vector>

#include "system/CleaningRules.h"

namespace olvex {

// After the local application data folder.
constexpr const char* kChromeUserData = "Google\\Chrome\\User Data\\";

// The profiles Local State lists, in its order: the keys of profile.info_cache (16 on), or
// "Default" where Local State has no such list (1 to 15 keep that one profile only); none
// without a Local State. Only a literal folder name of User Data is a profile: a key that
// names another place is left out. Local State is read by SQLite's JSON functions; throws
// RuntimeError when it cannot be read or is not JSON.
std::vector<std::string> ChromeProfiles(RuleRun& run);

}  // namespace olvex

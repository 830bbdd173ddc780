#pragma once
// What the deletion guard's two files share: the removal of a listed subfolder with everything
// in it, and the judgements it makes as the sweep does. For the guard's own use.
#include <string>

#include "guard/DeletionGuard.h"

namespace olvex {

// Removes a listed subfolder with everything in it, hidden and system files included; see
// SweepEntry. Any depth costs the same per entry: a folder far below the top is first moved
// up into the subfolder being removed, and moved back if it cannot be emptied. Each file
// deleted, each folder removed and the entry that stopped it go to the sink, named below
// parentPath (which ends with a separator). What rules.filter keeps stays, and so do the
// folders above it; false when the subfolder stays for that.
bool RemoveTree(const SweepRules& rules, platform::OpenedFolder& parent,
                const platform::FindEntry& entry, const std::string& parentPath);

// Ends a removal at the entry that stays; its path and why were told to the sink already.
[[noreturn]] void Undeletable(const platform::FindEntry& entry, const char* why);

// Why an entry that is left alone stays.
const char* LeftAloneReason(const platform::FindEntry& entry);

// Why the filter keeps the listed entry of folder (of identity where) itself; one that cannot
// be told apart stays too where it bears the name of what is kept.
const char* KeptItself(const RunFilter& filter, const platform::FileIdentity& where,
                       platform::OpenedFolder& folder, const platform::FindEntry& entry);

}  // namespace olvex

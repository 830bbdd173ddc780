#pragma once
// The one place the program deletes through. Every start folder is checked from the root
// of its drive or share down, every entry is reached through its opened folder by the
// listed name, and a name the system's path parsing would turn into another name, a link
// or junction, or an entry that is not what its listing showed is never deleted, removed,
// entered or registered for deletion at restart.
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace olvex {

// Whether a name names exactly one entry whatever call it is given to: no separator or
// wildcard, no trailing dot or blank, no device name (CON, AUX, COM1, NUL.txt, ...).
bool IsLiteralName(const std::string& name);

// Only an absolute folder below a drive root (C:\x) or below a network share
// (\\server\share\x) is ever opened for deleting: never a root, never a relative path.
bool IsSweepableFolder(const std::string& path);

// The start folder of a deletion, opened once every folder on its path, itself included,
// is checked to be a plain folder and not a link or junction. nullptr when the path is
// not sweepable, a folder on it is missing or is a link, or the opened folder is not
// where its path says.
std::unique_ptr<platform::OpenedFolder> OpenStartFolder(platform::FileSystem& files,
                                                        const std::string& path);

// An entry that stays whatever it is: a link or junction, or a name that is not literal.
bool IsLeftAlone(const platform::FindEntry& entry);

// Deletes a listed file unless it is left alone (then NotThere).
platform::Deletion DeleteEntry(platform::OpenedFolder& folder, const platform::FindEntry& entry);

// Removes a listed subfolder with everything in it, hidden and system files included.
// Stops with run-time error 70 at the first entry it cannot remove (a read-only or locked
// file, a link or junction, a name that is left alone, a swapped entry); what it removed
// before stays removed and the tree is otherwise as it was. A subfolder that is gone
// or no longer the one listed stops it the same way. Any depth costs the same per entry: a folder
// far below the top is first moved up into the subfolder being removed, and moved back if it cannot
// be emptied.
void RemoveTree(platform::OpenedFolder& parent, const platform::FindEntry& entry);

// A name against a pattern with * and ?, without regard to ASCII case; "*.*" matches all.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace olvex

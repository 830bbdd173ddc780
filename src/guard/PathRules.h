#pragma once
// Names and paths as the deletion layer reads them: which names name exactly one entry, which
// folders a deletion may start from, and which folder a path lies in. Nothing here looks at
// the disk.
#include <string>
#include <vector>

namespace olvex {

// Whether a name names exactly one entry whatever call it is given to: no separator or
// wildcard, no trailing dot or blank, no device name (CON, AUX, COM1, NUL.txt, ...).
bool IsLiteralName(const std::string& name);

// A path split into its root ("C:" or "\\server\share") and the names below it, "." left out;
// false when it has no such form, names nothing below its root, or a name on it is not
// literal ("..").
bool SplitSweepablePath(const std::string& path, std::string& root,
                        std::vector<std::string>& names);
// The same, but a root alone (no names below it) is a path too.
bool SplitRootedPath(const std::string& path, std::string& root, std::vector<std::string>& names);

// Only an absolute folder below a drive root (C:\x) or below a network share
// (\\server\share\x) is ever opened for deleting: never a root, never a relative path.
bool IsSweepableFolder(const std::string& path);

// A sweepable path as reports name it: one backslash between names, none at the end, "."
// left out; any other path as it is.
std::string TidyPath(const std::string& path);

// Whether path names an entry below folder, both sweepable paths compared name by name
// without regard to ASCII case; a ".." or any other name that is not literal on either
// path makes it false.
bool LiesInside(const std::string& path, const std::string& folder);
// Whether two sweepable paths name the same folder, compared the same way.
bool IsSamePath(const std::string& a, const std::string& b);

// The folder part of a path or pattern, up to and including its last separator.
std::string FolderOf(const std::string& path);

// A name against a pattern with * and ?, without regard to ASCII case; "*.*" matches all.
bool MatchesPattern(const std::string& name, const std::string& pattern);

}  // namespace olvex

#include "system/DeletionGuard.h"

#include <vector>

#include "platform/Errors.h"

namespace olvex {

using platform::Deletion;
using platform::FindEntry;
using platform::OpenedFolder;
using platform::RuntimeError;

namespace {

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsDeviceName(const std::string& name) {
    // The device names hold whatever extension follows them, and blanks before it.
    std::string base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = Upper(c);
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
        if (base == device) return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '1' && base[3] <= '9';
}

// A path split into its root ("C:" or "\\server\share") and the folders below it, with
// "." and ".." worked out; false when it has no such form or climbs above its root.
bool SplitPath(const std::string& path, std::string& root, std::vector<std::string>& parts) {
    std::string tidy = path;
    for (char& c : tidy)
        if (c == '/') c = '\\';
    size_t at = 0;
    if (tidy.compare(0, 2, "\\\\") == 0) {
        const size_t server = tidy.find('\\', 2);
        if (server == std::string::npos) return false;
        const size_t share = tidy.find('\\', server + 1);
        const std::string serverName = tidy.substr(2, server - 2);
        const std::string shareName = tidy.substr(server + 1, share - server - 1);
        // \\?\ and \\.\ are not servers, and a root of either kind is never a name.
        if (!IsLiteralName(serverName) || !IsLiteralName(shareName)) return false;
        root = "\\\\" + serverName + "\\" + shareName;
        at = share == std::string::npos ? tidy.size() : share;
    } else {
        if (tidy.size() < 3 || !((Upper(tidy[0]) >= 'A' && Upper(tidy[0]) <= 'Z')) ||
            tidy[1] != ':' || tidy[2] != '\\')
            return false;
        root = tidy.substr(0, 2);
        at = 2;
    }
    parts.clear();
    while (at < tidy.size()) {
        const size_t end = std::min(tidy.find('\\', at + 1), tidy.size());
        const std::string part = tidy.substr(at + 1, end - at - 1);
        at = end;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (parts.empty()) return false;
            parts.pop_back();
            continue;
        }
        if (!IsLiteralName(part)) return false;
        parts.push_back(part);
    }
    return !parts.empty();
}

// Levels a folder may lie below the top of a tree being removed, and bytes of names
// between them, before it is moved up: every open below costs in proportion to them.
constexpr size_t kMoveUpDepth = 32;
constexpr size_t kMoveUpBytes = 1024;
constexpr int kMoveUpAttempts = 4;

// One folder of a tree being removed: its entries, listed once before anything in it is
// deleted, and where it came from if it was moved up.
struct Level {
    std::unique_ptr<OpenedFolder> folder;
    std::vector<FindEntry> entries;
    size_t next = 0;
    size_t depth = 0;
    size_t bytes = 0;
    OpenedFolder* home = nullptr;
    std::string homeName;
};

[[noreturn]] void Undeletable() {
    throw RuntimeError(platform::kErrPermissionDenied);
}

void MoveUp(OpenedFolder& top, Level& level, OpenedFolder& parent, const std::string& name,
            int& moves) {
    for (int attempt = 0; attempt < kMoveUpAttempts; ++attempt) {
        const std::string newName = "~olvex-deep-" + std::to_string(++moves);
        if (level.folder->MoveInto(top, newName)) {
            level.home = &parent;
            level.homeName = name;
            level.depth = 1;
            level.bytes = newName.size() + 1;
            return;
        }
    }
}

}  // namespace

bool IsLiteralName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
            return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return !IsDeviceName(name);
}

bool IsSweepableFolder(const std::string& path) {
    std::string root;
    std::vector<std::string> parts;
    return SplitPath(path, root, parts);
}

std::unique_ptr<OpenedFolder> OpenStartFolder(platform::FileSystem& files,
                                              const std::string& path) {
    std::string folder;
    std::vector<std::string> parts;
    if (!SplitPath(path, folder, parts)) return nullptr;
    for (const std::string& part : parts) {
        folder += "\\" + part;
        const uint32_t attributes = files.GetAttributes(folder);
        if (attributes == platform::kInvalidAttributes ||
            !(attributes & platform::kAttrDirectory) || (attributes & platform::kAttrReparsePoint))
            return nullptr;
    }
    return files.OpenFolder(folder);
}

bool IsLeftAlone(const FindEntry& entry) {
    return (entry.attributes & platform::kAttrReparsePoint) || !IsLiteralName(entry.name);
}

Deletion DeleteEntry(OpenedFolder& folder, const FindEntry& entry) {
    if (IsLeftAlone(entry) || (entry.attributes & platform::kAttrDirectory))
        return Deletion::NotThere;
    return folder.DeleteListedFile(entry);
}

void RemoveTree(OpenedFolder& parent, const FindEntry& entry) {
    if (IsLeftAlone(entry)) Undeletable();
    std::vector<Level> stack;
    {
        Level top;
        top.folder = parent.OpenListedFolder(entry);
        if (!top.folder) Undeletable();
        top.entries = top.folder->List();
        stack.push_back(std::move(top));
    }
    int moves = 0;
    try {
        while (!stack.empty()) {
            Level& level = stack.back();
            if (level.next == level.entries.size()) {
                if (!level.folder->RemoveEmpty()) Undeletable();
                stack.pop_back();
                continue;
            }
            const FindEntry item = level.entries[level.next++];
            if (IsLeftAlone(item)) Undeletable();
            if (!(item.attributes & platform::kAttrDirectory)) {
                if ((item.attributes & platform::kAttrReadOnly) ||
                    level.folder->DeleteListedFile(item) != Deletion::Deleted)
                    Undeletable();
                continue;
            }
            Level below;
            below.folder = level.folder->OpenListedFolder(item);
            if (!below.folder) Undeletable();
            below.depth = level.depth + 1;
            below.bytes = level.bytes + item.name.size() + 1;
            if (below.depth >= kMoveUpDepth || below.bytes >= kMoveUpBytes)
                MoveUp(*stack.front().folder, below, *level.folder, item.name, moves);
            // On the stack before it is listed, so that a failing listing moves it back too.
            stack.push_back(std::move(below));
            stack.back().entries = stack.back().folder->List();
        }
    } catch (...) {
        // Whatever was moved up goes back where it was, the deepest first, each folder
        // closed before the one holding it moves (a folder with open entries may not).
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            if (it->home) it->folder->MoveInto(*it->home, it->homeName);
            it->folder.reset();
        }
        throw;
    }
}

bool MatchesPattern(const std::string& name, const std::string& pattern) {
    if (pattern == "*" || pattern == "*.*") return true;
    // Two pointers, going back to the last * on a mismatch.
    size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < name.size()) {
        if (j < pattern.size() && (pattern[j] == '?' || Upper(pattern[j]) == Upper(name[i]))) {
            ++i;
            ++j;
        } else if (j < pattern.size() && pattern[j] == '*') {
            star = j++;
            mark = i;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < pattern.size() && pattern[j] == '*') ++j;
    return j == pattern.size();
}

}  // namespace olvex

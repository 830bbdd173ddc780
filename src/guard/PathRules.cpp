#include "guard/PathRules.h"

#include <algorithm>

namespace olvex {

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

// Names compare without regard to ASCII case, as the file systems compare them.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

}  // namespace

bool SplitSweepablePath(const std::string& path, std::string& root,
                        std::vector<std::string>& parts) {
    return SplitRootedPath(path, root, parts) && !parts.empty();
}

bool SplitRootedPath(const std::string& path, std::string& root, std::vector<std::string>& parts) {
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
        // ".." is refused, not worked out: every folder the program builds a path from is
        // named by the system or the tables, and a ".." in it came from a name on disk.
        if (!IsLiteralName(part)) return false;
        parts.push_back(part);
    }
    return true;
}

bool IsLiteralName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (unsigned char c : name)
        if (c < 0x20 || std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
            return false;
    if (name.back() == '.' || name.back() == ' ') return false;
    return !IsDeviceName(name);
}

std::string TidyPath(const std::string& path) {
    std::string root;
    std::vector<std::string> parts;
    if (!SplitSweepablePath(path, root, parts)) return path;
    for (const std::string& part : parts) root += "\\" + part;
    return root;
}

bool IsSweepableFolder(const std::string& path) {
    std::string root;
    std::vector<std::string> parts;
    return SplitSweepablePath(path, root, parts);
}

namespace {
// How many names path has below folder: -1 when it does not lie there (or either is not a
// sweepable path), 0 when both are the same folder.
int NamesBelow(const std::string& path, const std::string& folder) {
    std::string pathRoot, folderRoot;
    std::vector<std::string> pathParts, folderParts;
    if (!SplitSweepablePath(path, pathRoot, pathParts) ||
        !SplitSweepablePath(folder, folderRoot, folderParts) ||
        pathParts.size() < folderParts.size() || !SameName(pathRoot, folderRoot))
        return -1;
    for (size_t i = 0; i < folderParts.size(); ++i)
        if (!SameName(pathParts[i], folderParts[i])) return -1;
    return static_cast<int>(pathParts.size() - folderParts.size());
}
}  // namespace

bool LiesInside(const std::string& path, const std::string& folder) {
    return NamesBelow(path, folder) > 0;
}

bool IsSamePath(const std::string& a, const std::string& b) {
    return NamesBelow(a, b) == 0;
}

std::string FolderOf(const std::string& path) {
    size_t cut = path.find_last_of("\\/");
    if (cut == std::string::npos) {
        // "C:name" is relative to drive C's current folder.
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : "";
    }
    return path.substr(0, cut + 1);
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

#include "system/DeletionGuard.h"

#include <cstring>
#include <unordered_set>
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

// A path split into its root ("C:" or "\\server\share") and the names below it, "." left
// out; false when it has no such form or a name on it is not literal ("..").
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
        // ".." is refused, not worked out: every folder the program builds a path from is
        // named by the system or the tables, and a ".." in it came from a name on disk.
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
constexpr const char* kMovedPrefix = "~olvex-deep-";

// One folder of a tree being removed: its listing, read as the removal goes, and where it
// came from if it was moved up.
struct Level {
    std::unique_ptr<OpenedFolder> folder;
    std::unique_ptr<platform::Finder> listing;
    std::string name;  // its name where it was listed
    size_t depth = 0;
    size_t bytes = 0;
    OpenedFolder* home = nullptr;
    std::string homeName;
};

// Names compare without regard to ASCII case, as the file systems compare them.
bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Upper(a[i]) != Upper(b[i])) return false;
    return true;
}

// Ends a removal at the entry that stays; its path and why were told to the sink already.
[[noreturn]] void Undeletable(const FindEntry& entry, const char* why) {
    throw platform::Refusal("the removal stopped at " + entry.name + " (" + why +
                            "), and what follows it was left");
}

// Why a listed subfolder that did not open stays.
const char* UnopenedReason(const platform::Opening& opening) {
    switch (opening.refusal) {
        case platform::OpenRefusal::Link:
            return reason::kLink;
        case platform::OpenRefusal::Failed:
            return reason::kNotOpened;
        default:
            return reason::kChanged;
    }
}

// The folders moved up into the top of one tree, and whether moving still may work there.
struct MovesUp {
    int count = 0;
    bool refused = false;  // the system refused one: it would refuse the next ones too
    std::unordered_set<std::string> names;
};

// Moves a deep folder up into the top; where the move does not happen it stays where it is
// and is emptied there, at the cost of longer opens.
void MoveUp(OpenedFolder& top, Level& level, OpenedFolder& parent, const std::string& name,
            MovesUp& moves) {
    for (int attempt = 0; attempt < kMoveUpAttempts && !moves.refused; ++attempt) {
        const std::string newName = kMovedPrefix + std::to_string(++moves.count);
        switch (level.folder->MoveInto(top, newName)) {
            case platform::Move::Moved:
                level.home = &parent;
                level.homeName = name;
                level.depth = 1;
                level.bytes = newName.size() + 1;
                moves.names.insert(newName);
                return;
            case platform::Move::NameTaken:
                continue;
            case platform::Move::Refused:
                moves.refused = true;
                return;
        }
    }
}

bool WasMovedUp(const MovesUp& moves, const std::string& name) {
    return name.compare(0, std::strlen(kMovedPrefix), kMovedPrefix) == 0 && moves.names.count(name);
}

// Why an entry that is left alone stays.
const char* LeftAloneReason(const FindEntry& entry) {
    return entry.attributes & platform::kAttrReparsePoint ? reason::kLink : reason::kOddName;
}

// Tells the sink of one entry of a tree being removed; the path is composed only when the
// sink wants it, from the names of the folders on the stack.
void Tell(CleaningSink& sink, const std::string& parentPath, const std::vector<Level>& stack,
          size_t levels, const FindEntry& entry, ItemAction action, const char* why = "") {
    CleanedItem item{action, "", entry.size, why,
                     (entry.attributes & platform::kAttrDirectory) != 0};
    if (sink.WantsPaths()) {
        item.path = parentPath;
        for (size_t i = 0; i < levels; ++i) item.path += stack[i].name + "\\";
        item.path += entry.name;
    }
    if (item.folder) item.bytes = 0;
    sink.Item(item);
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

std::string TidyPath(const std::string& path) {
    std::string root;
    std::vector<std::string> parts;
    if (!SplitPath(path, root, parts)) return path;
    for (const std::string& part : parts) root += "\\" + part;
    return root;
}

bool IsSweepableFolder(const std::string& path) {
    std::string root;
    std::vector<std::string> parts;
    return SplitPath(path, root, parts);
}

namespace {
// The problem of a folder on a start path that did not open, path being that folder.
StepProblem OpeningProblem(const platform::Opening& opening, const std::string& path) {
    switch (opening.refusal) {
        case platform::OpenRefusal::None:
        case platform::OpenRefusal::NotThere:
            return {StepOutcome::NotThere, path, "", {}};
        case platform::OpenRefusal::Link:
            return {StepOutcome::Refused, path, reason::kLinkOnPath, {}};
        case platform::OpenRefusal::Changed:
            return {StepOutcome::Refused, path, reason::kChanged, {}};
        case platform::OpenRefusal::Failed:
            break;
    }
    return {StepOutcome::Failed, path, "the folder could not be opened", opening.code};
}
}  // namespace

StartFolder OpenStartFolder(platform::FileSystem& files, const std::string& path) {
    std::string root;
    std::vector<std::string> parts;
    if (!SplitPath(path, root, parts))
        return {nullptr, {StepOutcome::Refused, path, reason::kNotSweepable, {}}};
    // Folder by folder from the root, each opened through the one above it and checked on its
    // handle to be the plain folder of that name there: a link anywhere stops the walk, and
    // no whole path is ever compared with a name the system reports from below a volume.
    platform::Opening opening = files.OpenRoot(root);
    std::string walked = root;
    for (const std::string& part : parts) {
        if (!opening) break;
        walked += "\\" + part;
        opening = opening.folder->OpenListedFolder(FindEntry{part, platform::kAttrDirectory, 0, 0});
    }
    // A folder that is not there is named as the category knows it; one that will not open,
    // where it stopped.
    if (!opening)
        return {nullptr, OpeningProblem(opening, opening.refusal == platform::OpenRefusal::NotThere
                                                     ? TidyPath(path)
                                                     : walked)};
    return {std::move(opening.folder), {}};
}

namespace {
// How many names path has below folder: -1 when it does not lie there (or either is not a
// sweepable path), 0 when both are the same folder.
int NamesBelow(const std::string& path, const std::string& folder) {
    std::string pathRoot, folderRoot;
    std::vector<std::string> pathParts, folderParts;
    if (!SplitPath(path, pathRoot, pathParts) || !SplitPath(folder, folderRoot, folderParts) ||
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

bool MayHandOnForDeletion(platform::FileSystem& files, const std::string& path,
                          const std::string& folder) {
    std::string root, folderRoot;
    std::vector<std::string> parts, folderParts;
    if (!LiesInside(path, folder) || !SplitPath(path, root, parts) ||
        !SplitPath(folder, folderRoot, folderParts))
        return false;
    // From the folder down, name by name, each opened through the one above it. The attributes
    // say what a name is (a folder, a flagged link); the folders check on handles that it is so.
    std::unique_ptr<OpenedFolder> current = OpenStartFolder(files, folder).folder;
    std::string walked = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        walked += "\\" + parts[i];
        if (i < folderParts.size()) continue;
        if (!current) return false;
        const FindEntry entry{parts[i], files.GetAttributes(walked), 0, 0};
        // Nothing there now (a cache folder swept meanwhile): nothing for the other to delete.
        if (entry.attributes == platform::kInvalidAttributes) return true;
        if (IsLeftAlone(entry)) return false;
        const bool last = i + 1 == parts.size();
        if (((entry.attributes & platform::kAttrDirectory) != 0) == last) return false;
        if (last) return current->IsListedFile(entry);
        current = current->OpenListedFolder(entry).folder;
    }
    return false;
}

bool IsLeftAlone(const FindEntry& entry) {
    return (entry.attributes & platform::kAttrReparsePoint) || !IsLiteralName(entry.name);
}

Deletion DeleteEntry(OpenedFolder& folder, const FindEntry& entry) {
    if (IsLeftAlone(entry) || (entry.attributes & platform::kAttrDirectory))
        return Deletion::NotThere;
    if (entry.attributes &
        (platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrSystem))
        return Deletion::Refused;
    return folder.DeleteListedFile(entry);
}

void RemoveTree(OpenedFolder& parent, const FindEntry& entry, CleaningSink& sink,
                const std::string& parentPath) {
    std::vector<Level> stack;
    // The entry that stops the removal stays, and says why.
    auto stopAt = [&](const FindEntry& item, const char* why) {
        Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Stayed, why);
        Undeletable(item, why);
    };
    if (IsLeftAlone(entry)) stopAt(entry, LeftAloneReason(entry));
    {
        Level top;
        platform::Opening opening = parent.OpenListedFolder(entry);
        if (!opening) stopAt(entry, UnopenedReason(opening));
        top.folder = std::move(opening.folder);
        top.name = entry.name;
        top.listing = top.folder->Entries();
        stack.push_back(std::move(top));
    }
    MovesUp moves;
    try {
        while (!stack.empty()) {
            Level& level = stack.back();
            FindEntry item;
            if (!level.listing->Next(item)) {
                level.listing.reset();
                const FindEntry self{level.name, platform::kAttrDirectory, 0, 0};
                const size_t above = stack.size() - 1;
                if (!level.folder->RemoveEmpty()) {
                    Tell(sink, parentPath, stack, above, self, ItemAction::Stayed,
                         reason::kNotRemovable);
                    Undeletable(self, reason::kNotRemovable);
                }
                Tell(sink, parentPath, stack, above, self, ItemAction::Removed);
                stack.pop_back();
                continue;
            }
            // A folder moved up may show up in the top's listing, which is still being read.
            if (stack.size() == 1 && WasMovedUp(moves, item.name)) continue;
            if (IsLeftAlone(item)) stopAt(item, LeftAloneReason(item));
            if (!(item.attributes & platform::kAttrDirectory)) {
                if (item.attributes & platform::kAttrReadOnly) stopAt(item, reason::kReadOnly);
                const Deletion deletion = level.folder->DeleteListedFile(item);
                if (deletion != Deletion::Deleted)
                    stopAt(item, deletion == Deletion::Refused ? reason::kInUse : reason::kChanged);
                Tell(sink, parentPath, stack, stack.size(), item, ItemAction::Deleted);
                continue;
            }
            Level below;
            below.name = item.name;
            below.depth = level.depth + 1;
            below.bytes = level.bytes + item.name.size() + 1;
            const bool deep = below.depth >= kMoveUpDepth || below.bytes >= kMoveUpBytes;
            platform::Opening opening = level.folder->OpenListedFolder(
                item, deep && !moves.refused ? platform::Hold::Moving : platform::Hold::Listing);
            if (!opening) stopAt(item, UnopenedReason(opening));
            below.folder = std::move(opening.folder);
            if (deep) MoveUp(*stack.front().folder, below, *level.folder, item.name, moves);
            // On the stack before it is listed, so that a failing listing moves it back too.
            stack.push_back(std::move(below));
            stack.back().listing = stack.back().folder->Entries();
        }
    } catch (...) {
        // Whatever was moved up goes back where it was, the deepest first, each folder
        // closed before the one holding it moves (a folder with open entries may not).
        for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
            it->listing.reset();
            if (it->home) it->folder->MoveInto(*it->home, it->homeName);
            it->folder.reset();
        }
        throw;
    }
}

std::shared_ptr<SweptFolder> OpenSweep(platform::FileSystem& files, const std::string& path,
                                       CleaningSink& sink) {
    StartFolder start = OpenStartFolder(files, path);
    if (!start.folder) {
        sink.Problem(start.problem);
        return nullptr;
    }
    std::string named = TidyPath(path);
    if (named.empty() || named.back() != '\\') named += '\\';
    auto swept = std::make_shared<SweptFolder>();
    swept->folder = std::move(start.folder);
    swept->path = std::move(named);
    swept->files = &files;
    std::vector<std::string> parts;
    SplitPath(path, swept->root, parts);
    return swept;
}

std::shared_ptr<SweptFolder> EnterListed(const std::shared_ptr<SweptFolder>& folder,
                                         const FindEntry& entry) {
    if (IsLeftAlone(entry) || !(entry.attributes & platform::kAttrDirectory)) return nullptr;
    std::shared_ptr<OpenedFolder> below = folder->folder->OpenListedFolder(entry).folder;
    if (!below) return nullptr;
    auto swept = std::make_shared<SweptFolder>();
    swept->folder = std::move(below);
    swept->path = folder->path + entry.name + "\\";
    swept->parent = folder;
    swept->depth = folder->depth + 1;
    return swept;
}

namespace {

// Whether the folder and every folder above it up to the start folder have owners that
// alone can change them; asked once for each folder, and only when a file is to be registered.
bool HeldByTrustedOwners(SweptFolder& folder) {
    if (folder.trusted < 0) {
        const bool own = folder.folder->Owner() != platform::FolderOwner::Other;
        folder.trusted = own && (!folder.parent || HeldByTrustedOwners(*folder.parent)) ? 1 : 0;
    }
    return folder.trusted == 1;
}

// Whether the restart reaches the drive the sweep started on; asked once a sweep.
bool BootReaches(SweptFolder& folder) {
    SweptFolder* start = &folder;
    while (start->parent) start = start->parent.get();
    if (start->bootReaches < 0)
        start->bootReaches = start->files && RestartReaches(*start->files, start->root) ? 1 : 0;
    return start->bootReaches == 1;
}

bool MayRegister(SweptFolder& folder, AtRestart atRestart) {
    switch (atRestart) {
        case AtRestart::Never:
            return false;
        case AtRestart::TopLevel:
            return folder.depth == 0 && HeldByTrustedOwners(folder);
        case AtRestart::AnyDepth:
            return HeldByTrustedOwners(folder);
    }
    return false;
}

}  // namespace

Disposal SweepEntry(SweptFolder& folder, const FindEntry& entry, const SweepRules& rules) {
    if (!MatchesPattern(entry.name, rules.pattern)) return Disposal::Left;
    CleaningSink& sink = *rules.sink;
    auto tell = [&](ItemAction action, const char* why) {
        const bool isFolder = (entry.attributes & platform::kAttrDirectory) != 0;
        sink.Item({action, sink.WantsPaths() ? folder.path + entry.name : std::string(),
                   isFolder ? 0 : entry.size, why, isFolder});
    };
    if (IsLeftAlone(entry)) {
        tell(ItemAction::Stayed, LeftAloneReason(entry));
        return Disposal::Left;
    }
    if (entry.attributes & platform::kAttrDirectory) {
        RemoveTree(*folder.folder, entry, sink, folder.path);  // a failure ends the whole sweep
        return Disposal::Removed;
    }
    // Ordinary files only: hidden and system files are not touched.
    if (entry.attributes & (platform::kAttrHidden | platform::kAttrSystem)) {
        tell(ItemAction::Stayed,
             entry.attributes & platform::kAttrHidden ? reason::kHidden : reason::kSystem);
        return Disposal::Left;
    }
    if (folder.depth == 0 && !rules.keptFile.empty() &&
        MatchesPattern(entry.name, rules.keptFile)) {
        tell(ItemAction::Stayed, reason::kKept);
        return Disposal::Left;
    }
    const char* why = reason::kReadOnly;
    if (!(entry.attributes & platform::kAttrReadOnly)) {
        const Deletion deletion = folder.folder->DeleteListedFile(entry);
        if (deletion == Deletion::Deleted) {
            tell(ItemAction::Deleted, "");
            return Disposal::Deleted;
        }
        if (deletion == Deletion::NotThere) return Disposal::Gone;
        why = reason::kInUse;
    }
    if (MayRegister(folder, rules.atRestart)) {
        if (!BootReaches(folder)) {
            why = reason::kBootCannotReach;
        } else if (folder.folder->DeleteAtRestart(entry)) {
            tell(ItemAction::Registered, why);
            return Disposal::Registered;
        }
    }
    tell(ItemAction::Stayed, why);
    return Disposal::Stayed;
}

bool RestartReaches(platform::FileSystem& files, const std::string& root) {
    return root.compare(0, 2, "\\\\") != 0 &&
           files.KindOfDrive(root) == platform::DriveKind::LocalFixed;
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

#include "system/FileSystemObject.h"

#include <vector>

#include "platform/Errors.h"

namespace olvex {

using platform::kAttrDirectory;
using platform::kAttrReadOnly;
using platform::kAttrReparsePoint;
using platform::RuntimeError;

namespace {

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 3 && (path.back() == '\\' || path.back() == '/')) path.pop_back();
    return path;
}

// One folder being emptied: its entries, listed once before anything in it is deleted.
struct Level {
    std::string path;
    std::vector<platform::FindEntry> entries;
    size_t next = 0;
};

Level List(platform::FileSystem& files, const std::string& path) {
    Level level{path, {}, 0};
    if (auto finder = files.Find(path + "\\*")) {
        platform::FindEntry entry;
        while (finder->Next(entry)) {
            if (entry.name != "." && entry.name != "..") level.entries.push_back(entry);
        }
    }
    return level;
}

}  // namespace

bool FileSystemObject::FolderExists(const std::string& path) {
    const uint32_t attributes = files_.GetAttributes(path);
    return attributes != platform::kInvalidAttributes && (attributes & kAttrDirectory);
}

void FileSystemObject::DeleteFolder(const std::string& path) {
    const std::string root = WithoutTrailingSeparators(path);
    const uint32_t attributes = files_.GetAttributes(root);
    if (attributes == platform::kInvalidAttributes || !(attributes & kAttrDirectory))
        throw RuntimeError(platform::kErrPathNotFound);
    if (attributes & kAttrReparsePoint) throw RuntimeError(platform::kErrPermissionDenied);

    std::vector<Level> stack;
    stack.push_back(List(files_, root));
    while (!stack.empty()) {
        Level& level = stack.back();
        if (level.next == level.entries.size()) {
            if (!files_.RemoveFolder(level.path))
                throw RuntimeError(platform::kErrPermissionDenied);
            stack.pop_back();
            continue;
        }
        const platform::FindEntry entry = level.entries[level.next++];
        const std::string full = level.path + "\\" + entry.name;
        if (entry.attributes & kAttrReparsePoint)
            throw RuntimeError(platform::kErrPermissionDenied);
        if (entry.attributes & kAttrDirectory) {
            stack.push_back(List(files_, full));
        } else if ((entry.attributes & kAttrReadOnly) || !files_.Delete(full, entry.attributes)) {
            throw RuntimeError(platform::kErrPermissionDenied);
        }
    }
}

}  // namespace olvex

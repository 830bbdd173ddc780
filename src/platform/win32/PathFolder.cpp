#include "platform/win32/OpenedFolders.h"
#include <windows.h>

#include "platform/Errors.h"
#include "platform/win32/Owned.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

bool IsPlainFolder(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool IsPlainFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
}

class PathFolder : public OpenedFolder {
  public:
    explicit PathFolder(std::string path) : path_(std::move(path)) {}

    std::vector<FindEntry> List() override {
        std::vector<FindEntry> entries;
        FoundFile found;
        const FindHandle find(FindFirstFileU(path_ + "\\*", found));
        if (!find) {
            const DWORD code = ::GetLastError();
            if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
                code == ERROR_NO_MORE_FILES)
                return entries;
            throw ErrorFromWin32(code);
        }
        do {
            if (found.name != "." && found.name != "..")
                entries.push_back({found.name, found.attributes, found.size, 0});
        } while (FindNextFileU(find.get(), found));
        return entries;
    }

    Deletion DeleteListedFile(const FindEntry& entry) override {
        const std::string path = Child(entry);
        if (!IsPlainFile(GetFileAttributesU(path))) return Deletion::NotThere;
        return DeleteFileU(path) ? Deletion::Deleted : Deletion::Refused;
    }

    bool IsListedFile(const FindEntry& entry) override {
        return IsPlainFile(GetFileAttributesU(Child(entry)));
    }

    // These systems keep no owners.
    FolderOwner Owner() override { return FolderOwner::Unknown; }

    bool DeleteAtRestart(const FindEntry& entry) override {
        const std::string path = Child(entry);
        return IsPlainFile(GetFileAttributesU(path)) && DeleteAtRestartU(path);
    }

    std::unique_ptr<OpenedFolder> OpenListedFolder(const FindEntry& entry) override {
        return OpenPathFolder(Child(entry));
    }

    bool RemoveEmpty() override {
        // Removing a link to a folder would remove its empty target.
        return IsPlainFolder(GetFileAttributesU(path_)) && RemoveDirectoryU(path_);
    }

    // Paths on these systems are short: nothing is ever deep enough to need moving.
    bool MoveInto(OpenedFolder&, const std::string&) override { return false; }

  private:
    std::string Child(const FindEntry& entry) const { return path_ + "\\" + entry.name; }
    std::string path_;
};

}  // namespace

std::unique_ptr<OpenedFolder> OpenPathFolder(const std::string& path) {
    if (!IsPlainFolder(GetFileAttributesU(path))) return nullptr;
    return std::make_unique<PathFolder>(path);
}

}  // namespace platform::win32

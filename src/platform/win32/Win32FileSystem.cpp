#include "platform/win32/Win32FileSystem.h"
#include <windows.h>

#include "platform/win32/Drives.h"
#include "platform/win32/OpenedFolders.h"
#include "platform/win32/OwnFiles.h"
#include "platform/win32/Owned.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

// Owns a find handle; the first entry comes from the first call, the rest from the next.
class Win32Finder : public Finder {
  public:
    Win32Finder(FindHandle handle, const FoundFile& first)
        : handle_(std::move(handle)), found_(first) {}

    bool Next(FindEntry& entry) override {
        if (!pending_ && !FindNextFileU(handle_.get(), found_)) return false;
        pending_ = false;
        entry.name = found_.name;
        entry.attributes = found_.attributes;
        entry.size = found_.size;
        entry.writeTime = found_.writeTime;
        return true;
    }

  private:
    FindHandle handle_;
    FoundFile found_;
    bool pending_ = true;
};

// Errors that only mean "nothing there".
bool MeansNothingFound(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
           code == ERROR_NO_MORE_FILES || code == ERROR_DIRECTORY || code == ERROR_ACCESS_DENIED;
}

}  // namespace

std::unique_ptr<Finder> Win32FileSystem::Find(const std::string& pattern) {
    FoundFile first;
    FindHandle handle(FindFirstFileU(pattern, first));
    if (!handle) {
        const DWORD code = ::GetLastError();
        if (MeansNothingFound(code)) return nullptr;
        throw ErrorFromWin32(code);
    }
    return std::make_unique<Win32Finder>(std::move(handle), first);
}

uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
    return GetFileAttributesU(path);
}

std::string Win32FileSystem::FullPath(const std::string& path) {
    return FullPathU(path);
}

std::unique_ptr<ReadFile> Win32FileSystem::OpenForReading(const std::string& path) {
    return FileToRead(path);
}

FileHold Win32FileSystem::HoldOf(const std::string& path, HoldProbe probe) {
    // Sharing everything: only a holder that shares nothing refuses a read (a running
    // Firefox holds its parent.lock so), and one that shares only reading refuses a write (a
    // running Chrome its lockfile). The 98 family refuses FILE_SHARE_DELETE.
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | (IsNtFamily() ? FILE_SHARE_DELETE : 0);
    const DWORD access = probe == HoldProbe::Write ? GENERIC_WRITE : GENERIC_READ;
    FileHandle file(CreateFileU(path, access, share, OPEN_EXISTING));
    if (file) return FileHold::Free;
    switch (::GetLastError()) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
            return FileHold::Absent;
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION:
            return FileHold::Held;
        default:
            return FileHold::Unknown;
    }
}

Opening Win32FileSystem::OpenRoot(const std::string& root) {
    return IsNtFamily() ? OpenHandleRoot(root) : OpenPathRoot(root);
}

DriveKind Win32FileSystem::KindOfDrive(const std::string& root) {
    return KindOfDriveU(root);
}

std::vector<std::string> Win32FileSystem::FixedDriveRoots() {
    return FixedDriveRootsU();
}

}  // namespace platform::win32

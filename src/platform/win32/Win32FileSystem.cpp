#include "platform/win32/Win32FileSystem.h"
#include <windows.h>

#include "platform/win32/OpenedFolders.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

// Owns a find handle; the first entry comes from the first call, the rest from the next.
class Win32Finder : public Finder {
  public:
    Win32Finder(HANDLE handle, const FoundFile& first) : handle_(handle), found_(first) {}
    ~Win32Finder() override { ::FindClose(handle_); }
    Win32Finder(const Win32Finder&) = delete;
    Win32Finder& operator=(const Win32Finder&) = delete;

    bool Next(FindEntry& entry) override {
        if (!pending_ && !FindNextFileU(handle_, found_)) return false;
        pending_ = false;
        entry.name = found_.name;
        entry.attributes = found_.attributes;
        entry.size = found_.size;
        return true;
    }

  private:
    HANDLE handle_;
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
    HANDLE handle = FindFirstFileU(pattern, first);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (MeansNothingFound(code)) return nullptr;
        throw ErrorFromWin32(code);
    }
    return std::make_unique<Win32Finder>(handle, first);
}

uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
    return GetFileAttributesU(path);
}

std::unique_ptr<OpenedFolder> Win32FileSystem::OpenFolder(const std::string& path) {
    return IsNtFamily() ? OpenHandleFolder(path) : OpenPathFolder(path);
}

}  // namespace platform::win32

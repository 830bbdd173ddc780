#include "platform/win32/Win32FileSystem.h"
#include <windows.h>

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

bool IsReparsePoint(const std::string& path) {
    const DWORD attributes = GetFileAttributesU(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
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

bool Win32FileSystem::Delete(const std::string& path, uint32_t knownAttributes) {
    if (knownAttributes == kInvalidAttributes ? IsReparsePoint(path)
                                              : (knownAttributes & kAttrReparsePoint) != 0)
        return false;
    return DeleteFileU(path);
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    if (IsReparsePoint(path)) return false;
    return RemoveDirectoryU(path);
}

bool Win32FileSystem::DeleteAtRestart(const std::string& path) {
    if (IsReparsePoint(path)) return false;
    return DeleteAtRestartU(path);
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
    return CopyFileU(from, to);
}

std::string Win32FileSystem::CreateTempFile() {
    return CreateTempFileU();
}

}  // namespace platform::win32

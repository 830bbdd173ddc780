#include "platform/win32/Win32FileSystem.h"
#include <windows.h>

#include "platform/win32/Text.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

// Owns a find handle; the first entry comes from FindFirstFile, the rest from FindNextFile.
class Win32Finder : public Finder {
  public:
    Win32Finder(HANDLE handle, const WIN32_FIND_DATAW& first) : handle_(handle), data_(first) {}
    ~Win32Finder() override { ::FindClose(handle_); }
    Win32Finder(const Win32Finder&) = delete;
    Win32Finder& operator=(const Win32Finder&) = delete;

    bool Next(FindEntry& entry) override {
        if (!pending_ && !::FindNextFileW(handle_, &data_)) return false;
        pending_ = false;
        entry.name = Utf8(data_.cFileName);
        entry.attributes = data_.dwFileAttributes;
        entry.size = (static_cast<uint64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
        return true;
    }

  private:
    HANDLE handle_;
    WIN32_FIND_DATAW data_;
    bool pending_ = true;
};

// Errors that only mean "nothing there".
bool MeansNothingFound(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
           code == ERROR_NO_MORE_FILES || code == ERROR_DIRECTORY || code == ERROR_ACCESS_DENIED;
}

bool IsReparsePoint(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

}  // namespace

std::unique_ptr<Finder> Win32FileSystem::Find(const std::string& pattern) {
    WIN32_FIND_DATAW data;
    HANDLE handle = ::FindFirstFileW(FilePath(pattern).c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (MeansNothingFound(code)) return nullptr;
        throw ErrorFromWin32(code);
    }
    return std::make_unique<Win32Finder>(handle, data);
}

uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
    return ::GetFileAttributesW(FilePath(path).c_str());
}

bool Win32FileSystem::Delete(const std::string& path, uint32_t knownAttributes) {
    const std::wstring wide = FilePath(path);
    if (knownAttributes == kInvalidAttributes ? IsReparsePoint(wide)
                                              : (knownAttributes & kAttrReparsePoint) != 0)
        return false;
    return ::DeleteFileW(wide.c_str()) != 0;
}

bool Win32FileSystem::RemoveFolder(const std::string& path) {
    const std::wstring wide = FilePath(path);
    if (IsReparsePoint(wide)) return false;
    return ::RemoveDirectoryW(wide.c_str()) != 0;
}

bool Win32FileSystem::DeleteAtRestart(const std::string& path) {
    const std::wstring wide = FilePath(path);
    if (IsReparsePoint(wide)) return false;
    return ::MoveFileExW(wide.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

bool Win32FileSystem::Copy(const std::string& from, const std::string& to) {
    return ::CopyFileW(FilePath(from).c_str(), FilePath(to).c_str(), FALSE) != 0;
}

std::string Win32FileSystem::CreateTempFile() {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t name[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH, folder);
    if (n == 0 || n > MAX_PATH) return "";
    if (::GetTempFileNameW(folder, L"olv", 0, name) == 0) return "";
    return Utf8(name);
}

}  // namespace platform::win32

#include "platform/win32/Win32FileSystem.h"

#include <windows.h>

#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

// Owns a find handle; the first entry comes from FindFirstFile, the rest from FindNextFile.
class Win32Finder : public Finder {
public:
    Win32Finder(HANDLE handle, const WIN32_FIND_DATAA& first) : handle_(handle), data_(first) {}
    ~Win32Finder() override { ::FindClose(handle_); }
    Win32Finder(const Win32Finder&) = delete;
    Win32Finder& operator=(const Win32Finder&) = delete;

    bool Next(FindEntry& entry) override {
        if (!pending_ && !::FindNextFileA(handle_, &data_)) return false;
        pending_ = false;
        entry.name = data_.cFileName;
        entry.attributes = data_.dwFileAttributes;
        entry.size = (static_cast<uint64_t>(data_.nFileSizeHigh) << 32) | data_.nFileSizeLow;
        return true;
    }

private:
    HANDLE handle_;
    WIN32_FIND_DATAA data_;
    bool pending_ = true;
};

// Errors that only mean "nothing there".
bool MeansNothingFound(DWORD code) {
    return code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
           code == ERROR_NO_MORE_FILES || code == ERROR_DIRECTORY || code == ERROR_ACCESS_DENIED;
}

}  // namespace

std::unique_ptr<Finder> Win32FileSystem::Find(const std::string& pattern) {
    WIN32_FIND_DATAA data;
    HANDLE handle = ::FindFirstFileA(pattern.c_str(), &data);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        if (MeansNothingFound(code)) return nullptr;
        throw ErrorFromWin32(code);
    }
    return std::make_unique<Win32Finder>(handle, data);
}

uint32_t Win32FileSystem::GetAttributes(const std::string& path) {
    return ::GetFileAttributesA(path.c_str());
}

bool Win32FileSystem::Delete(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != 0;
}

}  // namespace platform::win32

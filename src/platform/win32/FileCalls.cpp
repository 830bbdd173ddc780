#include "platform/win32/SystemCalls.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

#include "platform/win32/Owned.h"

namespace platform::win32 {

namespace {

// What both forms of the find data hold alike; the name is the family's own.
template <class FindData>
void Take(const FindData& data, std::string name, FoundFile& found) {
    found.name = std::move(name);
    found.attributes = data.dwFileAttributes;
    found.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    found.writeTime = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                      data.ftLastWriteTime.dwLowDateTime;
}

void Take(const WIN32_FIND_DATAW& data, FoundFile& found) {
    Take(data, Utf8(data.cFileName), found);
}

void Take(const WIN32_FIND_DATAA& data, FoundFile& found) {
    Take(data, Utf8FromAnsi(data.cFileName), found);
}

}  // namespace

// --- files -----------------------------------------------------------------------------

HANDLE FindFirstFileU(const std::string& pattern, FoundFile& found) {
    if (IsNtFamily()) {
        WIN32_FIND_DATAW data;
        HANDLE find = ::FindFirstFileW(WidePath(pattern).c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) Take(data, found);
        return find;
    }
    const auto ansi = AnsiArgument(pattern);
    if (!ansi) return INVALID_HANDLE_VALUE;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(ansi->c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) Take(data, found);
    return find;
}

bool FindNextFileU(HANDLE find, FoundFile& found) {
    if (IsNtFamily()) {
        WIN32_FIND_DATAW data;
        if (!::FindNextFileW(find, &data)) return false;
        Take(data, found);
        return true;
    }
    WIN32_FIND_DATAA data;
    if (!::FindNextFileA(find, &data)) return false;
    Take(data, found);
    return true;
}

DWORD GetFileAttributesU(const std::string& path) {
    if (IsNtFamily()) return ::GetFileAttributesW(WidePath(path).c_str());
    const auto ansi = AnsiArgument(path);
    return ansi ? ::GetFileAttributesA(ansi->c_str()) : INVALID_FILE_ATTRIBUTES;
}

bool DeleteFileU(const std::string& path) {
    if (IsNtFamily()) return ::DeleteFileW(WidePath(path).c_str()) != 0;
    const auto ansi = AnsiArgument(path);
    return ansi && ::DeleteFileA(ansi->c_str()) != 0;
}

bool RemoveDirectoryU(const std::string& path) {
    if (IsNtFamily()) return ::RemoveDirectoryW(WidePath(path).c_str()) != 0;
    const auto ansi = AnsiArgument(path);
    return ansi && ::RemoveDirectoryA(ansi->c_str()) != 0;
}

HANDLE CreateFileU(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
    if (IsNtFamily()) {
        // Bound by name, as every wide call this program alone needs: 95 is not known to
        // export even a stub of each, and the loader refuses a program for one missing import.
        using Fn =
            HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
        static const auto fn = Bound<Fn>("kernel32.dll", "CreateFileW");
        return fn(WidePath(path).c_str(), access, share, nullptr, disposition,
                  FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    const auto ansi = AnsiArgument(path);
    if (!ansi) return INVALID_HANDLE_VALUE;
    return ::CreateFileA(ansi->c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
}

std::string FullPathU(const std::string& path) {
    if (IsNtFamily()) {
        using Fn = DWORD(WINAPI*)(LPCWSTR, DWORD, LPWSTR, LPWSTR*);
        static const auto fn = Bound<Fn>("kernel32.dll", "GetFullPathNameW");
        const std::wstring wide = Wide(path);
        std::vector<wchar_t> full(MAX_PATH, L'\0');
        for (int attempt = 0; attempt < 2; ++attempt) {
            const DWORD n = fn(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
            if (n == 0) return "";
            if (n < full.size()) return Utf8(full.data(), static_cast<int>(n));
            full.assign(n + 1, L'\0');
        }
        return "";
    }
    const auto ansi = AnsiArgument(path);
    if (!ansi) return "";
    char full[MAX_PATH];
    const DWORD n = ::GetFullPathNameA(ansi->c_str(), MAX_PATH, full, nullptr);
    return n == 0 || n >= MAX_PATH ? "" : Utf8FromAnsi(std::string(full, n));
}

std::string UpperCaseAnsi(const std::string& text) {
    using Fn = DWORD(WINAPI*)(LPSTR, DWORD);
    static const auto upper = BoundOrNull<Fn>("user32.dll", "CharUpperBuffA");
    auto ansi = AnsiFromUtf8(text);
    if (!ansi || !upper || ansi->empty()) return text;
    upper(&(*ansi)[0], static_cast<DWORD>(ansi->size()));
    return Utf8FromAnsi(*ansi);
}

bool SharesVolumeU(const std::string& root) {
    // Asked once a letter: the serial of each fixed or network letter's volume.
    static std::map<char, DWORD> serials;
    auto serialOf = [](char letter, DWORD& serial) {
        auto found = serials.find(letter);
        if (found != serials.end()) return (serial = found->second), found->second != 0;
        const char rootPath[] = {letter, ':', '\\', '\0'};
        const UINT type = ::GetDriveTypeA(rootPath);
        DWORD read = 0;
        if ((type != DRIVE_FIXED && type != DRIVE_REMOTE && type != DRIVE_RAMDISK) ||
            !::GetVolumeInformationA(rootPath, nullptr, 0, &read, nullptr, nullptr, nullptr, 0))
            read = 0;
        serials[letter] = read;
        serial = read;
        return read != 0;
    };
    // Wine makes up each letter's serial from the letter where the folder keeps none, so there
    // it tells nothing either way (and asking reads the host's devices).
    if (root.size() < 2 || root[1] != ':' || IsWine()) return false;
    const char letter =
        root[0] >= 'a' && root[0] <= 'z' ? static_cast<char>(root[0] - 'a' + 'A') : root[0];
    DWORD own = 0;
    if (!serialOf(letter, own)) return true;  // a volume that tells no serial tells nothing
    const DWORD drives = ::GetLogicalDrives();
    for (char other = 'C'; other <= 'Z'; ++other) {
        DWORD serial = 0;
        if (other != letter && (drives & (1u << (other - 'A'))) && serialOf(other, serial) &&
            serial == own)
            return true;
    }
    return false;
}

std::string LongPathU(const std::string& path) {
    using Fn = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
    static const auto longPath = BoundOrNull<Fn>("kernel32.dll", "GetLongPathNameA");
    const auto ansi = AnsiArgument(path);
    if (!ansi || !longPath) return path;
    char full[MAX_PATH];
    const DWORD n = longPath(ansi->c_str(), full, MAX_PATH);
    return n == 0 || n >= MAX_PATH ? path : Utf8FromAnsi(std::string(full, n));
}

std::string PrivateProfileBytesU(const std::string& section, const std::string& key,
                                 const std::string& def, const std::string& file, DWORD size) {
    if (size == 0) return std::string();
    if (IsNtFamily()) {
        // The wide lookup reads a file without a byte-order mark in the ANSI code page;
        // turning its answer back with the same code page gives the bytes as written. The
        // lookup has cut it at its own characters: the bytes are not cut again.
        std::vector<wchar_t> value(size, L'\0');
        const DWORD n =
            ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), Wide(def).c_str(),
                                       value.data(), size, WidePath(file).c_str());
        const int length = static_cast<int>(n < size ? n : size - 1);
        const int bytes =
            ::WideCharToMultiByte(CP_ACP, 0, value.data(), length, nullptr, 0, nullptr, nullptr);
        std::string raw(static_cast<size_t>(bytes), '\0');
        if (bytes > 0)
            ::WideCharToMultiByte(CP_ACP, 0, value.data(), length, &raw[0], bytes, nullptr,
                                  nullptr);
        return raw;
    }
    const auto path = AnsiArgument(file);
    if (!path) return AnsiText(def);
    std::vector<char> value(size, '\0');
    const DWORD n =
        ::GetPrivateProfileStringA(AnsiText(section).c_str(), AnsiText(key).c_str(),
                                   AnsiText(def).c_str(), value.data(), size, path->c_str());
    return std::string(value.data(), n < size ? n : size - 1);
}

}  // namespace platform::win32

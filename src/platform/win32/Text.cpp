#include "platform/win32/Text.h"

namespace platform::win32 {

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
    return wide;
}

std::string Utf8(const wchar_t* text, int length) {
    if (length < 0) length = static_cast<int>(::lstrlenW(text));
    if (length == 0) return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], n, nullptr, nullptr);
    return utf8;
}

std::wstring FilePath(const std::string& path) {
    std::wstring wide = Wide(path);
    for (wchar_t& c : wide)
        if (c == L'/') c = L'\\';
    const bool absolute = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    if (!absolute || wide.size() < MAX_PATH - 12) return wide;
    std::wstring tidy;
    for (wchar_t c : wide) {
        if (c == L'\\' && !tidy.empty() && tidy.back() == L'\\') continue;
        tidy += c;
    }
    return L"\\\\?\\" + tidy;
}

}  // namespace platform::win32

#pragma once
// The logic's strings are UTF-8; the system's wide calls take UTF-16.
#include <windows.h>

#include <string>

namespace platform::win32 {

std::wstring Wide(const std::string& text);
std::string Utf8(const wchar_t* text, int length = -1);

// A path as the wide file calls take it: separators unified, and, for an absolute path
// too long for the classic limit, the extended-length form (which is taken literally, so
// doubled separators are collapsed first).
std::wstring FilePath(const std::string& path);

}  // namespace platform::win32

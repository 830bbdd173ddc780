#pragma once
// The program's own files: its log and its pages, written, and the logs it reads back.
#include <windows.h>

#include <memory>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/Owned.h"

namespace platform::win32 {

// Writes every byte, a piece at a time; false when the system stops short.
bool WriteAll(HANDLE file, const std::string& bytes);

// A file opened to read and write, by the native calls or by path, its position set to its end;
// nullptr when it cannot be set.
std::unique_ptr<AppendFile> WrittenFile(NtHandle file);
std::unique_ptr<AppendFile> WrittenFile(FileHandle file);

// A file opened by path for reading, shared with writers; nullptr when it cannot be opened.
std::unique_ptr<ReadFile> FileToRead(const std::string& path);

}  // namespace platform::win32

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

// A file opened for writing by the native calls, relative to a folder's handle; written at its
// end whatever else writes there.
std::unique_ptr<AppendFile> WrittenFile(NtHandle file);
// The same by the path calls, its position set to its end first.
std::unique_ptr<AppendFile> WrittenFile(FileHandle file);

// A file opened by path for reading, shared with writers; nullptr when it cannot be opened.
std::unique_ptr<ReadFile> FileToRead(const std::string& path);

}  // namespace platform::win32

#include "platform/win32/Win32Console.h"
#include <windows.h>

#include <algorithm>

#include "platform/win32/OwnFiles.h"
#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

namespace {

// The stream's handle as the process was given it; nullptr when it has none (a program
// started detached). Owned by the process: never closed here.
HANDLE StreamHandle(Stream stream) {
    HANDLE handle = ::GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

// Only a console window has a console mode; a file, a pipe or the null device has none.
bool IsConsoleHandle(HANDLE handle) {
    DWORD mode = 0;
    return handle && ::GetConsoleMode(handle, &mode);
}

void TwoDigits(std::string& text, WORD value) {
    text += static_cast<char>('0' + value / 10 % 10);
    text += static_cast<char>('0' + value % 10);
}

}  // namespace

void Win32Console::Write(Stream stream, const std::string& text) {
    HANDLE handle = StreamHandle(stream);
    if (!handle || text.empty()) return;
    // Nothing is left to tell a failure to: the stream is the program's only voice.
    if (IsConsoleHandle(handle)) {
        WriteConsoleU(handle, text);
    } else {
        WriteAll(handle, text);
    }
}

bool Win32Console::IsConsole(Stream stream) {
    return IsConsoleHandle(StreamHandle(stream));
}

bool Win32Console::IsFile(Stream stream) {
    HANDLE handle = StreamHandle(stream);
    return handle && ::GetFileType(handle) == FILE_TYPE_DISK;
}

uint64_t Win32Console::Ticks() {
    const DWORD now = ::GetTickCount();
    if (now < lastTicks_) wrapped_ += uint64_t{1} << 32;
    lastTicks_ = now;
    return wrapped_ + now;
}

std::string Win32Console::LocalTime() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    std::string text;
    TwoDigits(text, now.wYear / 100);
    TwoDigits(text, now.wYear % 100);
    text += '-';
    TwoDigits(text, now.wMonth);
    text += '-';
    TwoDigits(text, now.wDay);
    text += ' ';
    TwoDigits(text, now.wHour);
    text += ':';
    TwoDigits(text, now.wMinute);
    text += ':';
    TwoDigits(text, now.wSecond);
    return text;
}

void Win32Console::Pause(uint32_t ms) {
    ::Sleep(ms);
}

}  // namespace platform::win32

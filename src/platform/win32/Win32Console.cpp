#include "platform/win32/Win32Console.h"
#include <windows.h>

#include <algorithm>

#include "platform/win32/Owned.h"
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

bool WriteAll(HANDLE file, const std::string& bytes) {
    for (size_t at = 0; at < bytes.size();) {
        DWORD written = 0;
        const auto length = static_cast<DWORD>(std::min<size_t>(bytes.size() - at, 1u << 20));
        if (!::WriteFile(file, bytes.data() + at, length, &written, nullptr) || written == 0 ||
            written > length)
            return false;
        at += written;
    }
    return true;
}

void TwoDigits(std::string& text, WORD value) {
    text += static_cast<char>('0' + value / 10 % 10);
    text += static_cast<char>('0' + value % 10);
}

// A file opened for appending, its position at its end. Nobody else may write to it while
// it is held, so every write lands after the last.
class Win32AppendFile : public AppendFile {
  public:
    Win32AppendFile(FileHandle file, bool empty) : file_(std::move(file)), empty_(empty) {}

    bool IsEmpty() override { return empty_; }

    bool Append(const std::string& bytes) override {
        if (bytes.empty()) return true;
        empty_ = false;
        return WriteAll(file_.get(), bytes);
    }

  private:
    FileHandle file_;
    bool empty_;
};

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

std::unique_ptr<AppendFile> Win32Console::OpenForAppending(const std::string& path) {
    FileHandle file(CreateFileU(path, GENERIC_WRITE, FILE_SHARE_READ, OPEN_ALWAYS));
    if (!file) return nullptr;
    // Both halves: a log past 4 GB is still not empty, and is still appended to at its end.
    DWORD sizeHigh = 0;
    ::SetLastError(NO_ERROR);
    const DWORD sizeLow = ::GetFileSize(file.get(), &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return nullptr;
    LONG endHigh = 0;
    ::SetLastError(NO_ERROR);
    if (::SetFilePointer(file.get(), 0, &endHigh, FILE_END) == INVALID_SET_FILE_POINTER &&
        ::GetLastError() != NO_ERROR)
        return nullptr;
    return std::make_unique<Win32AppendFile>(std::move(file), sizeLow == 0 && sizeHigh == 0);
}

}  // namespace platform::win32

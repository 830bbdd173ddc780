#include "platform/win32/OwnFiles.h"

#include <algorithm>
#include <optional>

#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

// How many bytes the file holds; nothing when the system cannot tell.
std::optional<uint64_t> SizeOf(HANDLE file) {
    DWORD high = 0;
    ::SetLastError(NO_ERROR);
    const DWORD low = ::GetFileSize(file, &high);
    if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) return std::nullopt;
    return (static_cast<uint64_t>(high) << 32) | low;
}

template <class Handle>
class Written : public AppendFile {
  public:
    explicit Written(Handle file)
        : file_(std::move(file)), empty_(SizeOf(file_.get()).value_or(1) == 0) {}

    bool IsEmpty() override { return empty_; }

    std::string Head(size_t size) override {
        std::string head(size, '\0');
        DWORD got = 0;
        if (::SetFilePointer(file_.get(), 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
            !::ReadFile(file_.get(), &head[0], static_cast<DWORD>(size), &got, nullptr))
            got = 0;
        head.resize(got);
        ToEnd();
        return head;
    }

    bool Append(const std::string& bytes) override {
        if (bytes.empty()) return true;
        empty_ = false;
        return WriteAll(file_.get(), bytes);
    }

    bool Clear() override { return CutTo(0); }

    std::optional<uint64_t> Size() override { return SizeOf(file_.get()); }

    std::string Tail(size_t size) override {
        const uint64_t length = SizeOf(file_.get()).value_or(0);
        const uint64_t from = length > size ? length - size : 0;
        std::string tail(static_cast<size_t>(length - from), '\0');
        DWORD got = 0;
        if (tail.empty() || !MoveTo(from) ||
            !::ReadFile(file_.get(), &tail[0], static_cast<DWORD>(tail.size()), &got, nullptr))
            got = 0;
        tail.resize(got);
        ToEnd();
        return tail;
    }

    // FlushFileBuffers is in kernel32 on every Windows from 95 on; on a share it returns
    // only once the server has the bytes. Both families open the file with the right to
    // write its data, which it needs.
    bool Flush() override { return ::FlushFileBuffers(file_.get()) != FALSE; }

    bool CutTo(uint64_t size) override {
        if (!MoveTo(size) || !::SetEndOfFile(file_.get())) return false;
        empty_ = size == 0;
        return true;
    }

    // Writing goes on at the end: nobody else writes meanwhile.
    bool ToEnd() {
        LONG high = 0;
        ::SetLastError(NO_ERROR);
        return ::SetFilePointer(file_.get(), 0, &high, FILE_END) != INVALID_SET_FILE_POINTER ||
               ::GetLastError() == NO_ERROR;
    }

  private:
    bool MoveTo(uint64_t offset) {
        LONG high = static_cast<LONG>(offset >> 32);
        ::SetLastError(NO_ERROR);
        return ::SetFilePointer(file_.get(), static_cast<LONG>(offset & 0xFFFFFFFFu), &high,
                                FILE_BEGIN) != INVALID_SET_FILE_POINTER ||
               ::GetLastError() == NO_ERROR;
    }

    Handle file_;
    bool empty_;
};

class OpenedForReading : public ReadFile {
  public:
    explicit OpenedForReading(FileHandle file) : file_(std::move(file)) {}

    size_t Read(char* buffer, size_t size) override {
        DWORD got = 0;
        const auto asked = static_cast<DWORD>(std::min<size_t>(size, 1u << 20));
        if (!::ReadFile(file_.get(), buffer, asked, &got, nullptr))
            throw ErrorFromWin32(::GetLastError());
        return got;
    }

  private:
    FileHandle file_;
};

}  // namespace

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

template <class Handle>
std::unique_ptr<AppendFile> Writes(Handle file) {
    auto written = std::make_unique<Written<Handle>>(std::move(file));
    if (!written->ToEnd()) return nullptr;
    return written;
}

std::unique_ptr<AppendFile> WrittenFile(NtHandle file) {
    return Writes(std::move(file));
}

std::unique_ptr<AppendFile> WrittenFile(FileHandle file) {
    return Writes(std::move(file));
}

std::unique_ptr<ReadFile> FileToRead(const std::string& path) {
    FileHandle file(
        CreateFileU(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING));
    if (!file) return nullptr;
    return std::make_unique<OpenedForReading>(std::move(file));
}

}  // namespace platform::win32

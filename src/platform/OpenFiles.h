#pragma once
// Files held open to read from their start or to write at their end.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/Errors.h"

namespace platform {

// A file held open for writing at its end; closed when destroyed.
class AppendFile {
  public:
    virtual ~AppendFile() = default;
    // Whether the file holds nothing yet.
    virtual bool IsEmpty() = 0;
    // Its first size bytes, fewer in a shorter file; what is written still goes to the end.
    virtual std::string Head(size_t size) = 0;
    // Writes the bytes at the end of the file; false when they could not all be written (on a
    // full disk the system writes what fits and fails, so part of them may be there).
    virtual bool Append(const std::string& bytes) = 0;
    // Cuts the file to nothing; false when it could not be cut.
    virtual bool Clear() = 0;
    // How many bytes it holds (nothing when the system cannot tell), and the last size of
    // them (fewer in a shorter file).
    virtual std::optional<uint64_t> Size() = 0;
    virtual std::string Tail(size_t size) = 0;
    // Hands what was written to the disk, or to the server that holds the file: until then a
    // cache or a redirector may still lose it. False when the system says it could not.
    virtual bool Flush() = 0;
    // Cuts the file back to its first size bytes; false when it could not be cut.
    virtual bool CutTo(uint64_t size) = 0;
};

// A file held open for reading from its start; closed when destroyed.
class ReadFile {
  public:
    virtual ~ReadFile() = default;
    // Up to size bytes into buffer; 0 at the end. Throws RuntimeError when reading fails.
    virtual size_t Read(char* buffer, size_t size) = 0;
};

// Why a file was not opened for writing.
enum class WriteRefusal {
    None,
    Busy,    // another program holds it open for writing: asking again later may do
    Link,    // a link, a folder or anything but the plain file of that name here
    Failed,  // the system refused the open: code says why
};

// A file asked to be opened for writing: the file, or why not.
struct WriteOpening {
    WriteOpening(std::unique_ptr<AppendFile> opened) : file(std::move(opened)) {}
    WriteOpening(WriteRefusal why, SystemCode systemCode = {}) : refusal(why), code(systemCode) {}
    std::unique_ptr<AppendFile> file;
    WriteRefusal refusal = WriteRefusal::None;
    SystemCode code;
    explicit operator bool() const { return file != nullptr; }
};

}  // namespace platform

#pragma once
// What the console program needs of the system beyond what the windows use: its standard
// streams, a clock and a file to append its log to. Strings are UTF-8.
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

enum class Stream { Out, Err };

// A file held open for appending; closed when destroyed.
class AppendFile {
  public:
    virtual ~AppendFile() = default;
    // Whether the file holds nothing yet.
    virtual bool IsEmpty() = 0;
    // Writes the bytes at the end of the file; false when they could not all be written.
    virtual bool Append(const std::string& bytes) = 0;
};

class Console {
  public:
    virtual ~Console() = default;
    // Writes text to a stream. A console window gets it in characters it shows: wide text on
    // the NT family, the OEM code page on the 9x family. A stream redirected to a file or pipe
    // gets the UTF-8 bytes.
    virtual void Write(Stream stream, const std::string& text) = 0;
    // Whether the stream is a console window, not a file or a pipe.
    virtual bool IsConsole(Stream stream) = 0;
    // Milliseconds since some fixed moment, for pacing the progress line.
    virtual uint64_t Ticks() = 0;
    // The local date and time, "YYYY-MM-DD hh:mm:ss".
    virtual std::string LocalTime() = 0;
    // Opens a file to append to, creating it when missing, shared for reading; nullptr when it
    // cannot be opened. Names on a network share (\\server\share\x.csv) are fine.
    virtual std::unique_ptr<AppendFile> OpenForAppending(const std::string& path) = 0;
};

}  // namespace platform

#pragma once
// What the console program needs of the system beyond what the windows use: its standard
// streams and a clock. Strings are UTF-8.
#include <cstdint>
#include <string>

namespace platform {

enum class Stream { Out, Err };

class Console {
  public:
    virtual ~Console() = default;
    // Writes text to a stream. A console window gets it in characters it shows: wide text on
    // the NT family, the OEM code page on the 9x family. A stream redirected to a file or pipe
    // gets the UTF-8 bytes.
    virtual void Write(Stream stream, const std::string& text) = 0;
    // Whether the stream is a console window, not a file or a pipe.
    virtual bool IsConsole(Stream stream) = 0;
    // Whether the stream goes to a file on a disk, not a console window, a pipe or a device.
    virtual bool IsFile(Stream stream) = 0;
    // Milliseconds since some fixed moment, for pacing the progress line.
    virtual uint64_t Ticks() = 0;
    // The local date and time, "YYYY-MM-DD hh:mm:ss".
    virtual std::string LocalTime() = 0;
    // Waits about ms milliseconds.
    virtual void Pause(uint32_t ms) = 0;
};

}  // namespace platform

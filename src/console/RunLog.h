#pragma once
// The log a run appends to: CSV in UTF-8, a byte-order mark and a header on a new log, then a
// line for every item and step, framed by a run-start and a run-end line that every run
// writes, whatever it found. The file is reached as start folders are, folder by folder from
// its root, and opened by its name in its folder without following a link. Lines wait in
// memory and go out whole, a batch at a time, each time with nobody else writing: two runs
// logging to one file wait for each other, each at most about half a minute at a time.
#include <memory>
#include <string>

#include "console/OwnFilePlace.h"
#include "platform/Console.h"
#include "system/Services.h"

namespace olvex {

// The log's columns, as its header names them.
constexpr const char* kLogHeader = "time,computer,user,category,action,path,bytes,reason";

class RunLog {
  public:
    // Why a log was not opened; "" when it was.
    struct Opened {
        std::unique_ptr<RunLog> log;
        std::string why;
    };
    // Opens the log at path (relative to the current folder, or full) and writes its header
    // when it is new. No log, and why, when the path has a link or junction on it, is not a
    // plain file, or another run held it for longer than the wait.
    // user and computer go on every line.
    static Opened Open(Services& services, platform::Console& console, const std::string& path,
                       const std::string& computer, const std::string& user);

    // The log's full path, as the guard compares it with the paths a run cleans.
    const std::string& Path() const { return place_.path; }

    // One line, held until the next Flush (or until enough are held).
    void Line(const std::string& category, const std::string& action, const std::string& path,
              const std::string& bytes, const std::string& reason);
    // Writes the lines held, whole, the header first if the file is new or was emptied;
    // false, and Problem says why, when they could not be written.
    bool Flush();
    // Whether every line so far was written.
    bool Written() const { return problem_.empty(); }
    // Why lines could not be written; "" while all were.
    const std::string& Problem() const { return problem_; }

    // How long a run waits for another to finish writing, and how often it asks meanwhile.
    static constexpr uint64_t kWaitMs = 30000;
    static constexpr uint32_t kRetryMs = 100;
    // Lines are written once this many bytes wait, and whenever the run flushes.
    static constexpr size_t kBatchBytes = 64 * 1024;

  private:
    RunLog(platform::Console& console, OwnFilePlace place, std::string computer,
           std::string user);

    platform::Console& console_;
    OwnFilePlace place_;
    std::string computer_;
    std::string user_;
    std::string held_;
    std::string problem_;
};

}  // namespace olvex

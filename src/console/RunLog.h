#pragma once
// The log a run appends to: CSV in UTF-8, a byte-order mark and a header on a new log, then a
// line for every item and step, framed by a run-start and a run-end line that every run
// writes, whatever it found. The file is reached as start folders are, folder by folder from
// its root, and opened by its name in its folder without following a link. Lines wait in
// memory and go out whole, a batch at a time, each time with nobody else writing: two runs
// logging to one file wait for each other, each at most about half a minute at a time. The
// log always ends on a whole line, and a batch counts only once it is on the disk.
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
    // Reaches the folder of the log at path (relative to the current folder, or full); the
    // file itself is opened at each flush. No log, and why, when the path has a link or
    // junction on it or names no file below a drive or a share.
    // user and computer go on every line.
    static Opened Open(Services& services, platform::Console& console, const std::string& path,
                       const std::string& computer, const std::string& user);

    // The log's full path, as the guard compares it with the paths a run cleans.
    const std::string& Path() const { return place_.path; }

    // A line of an item or a step, held until the next Flush (or until enough are held).
    // Once a batch failed the run changes nothing more, but it may still list what stays:
    // such lines are held only up to kHeldMost bytes, and the rest are counted as left out.
    void Line(const std::string& category, const std::string& action, const std::string& path,
              const std::string& bytes, const std::string& reason);
    // A line that frames the run (run-start, run-end): always held.
    void RunLine(const std::string& action, const std::string& bytes, const std::string& reason);
    // Writes the lines held, whole or not at all: a batch counts as written once the system
    // says it reached the disk, and one that fails midway is taken back to the log's last whole
    // line. A log that ends in a line cut short gets a line end first. Until a batch fails,
    // a log another run writes to is waited for (kWaitMs); then each flush asks once, and the
    // run's last one (last) waits again. False, and Problem says why, when lines stay held.
    bool Flush(bool last = false);

    // Whether a batch could not be written when it was due: the run must change nothing more.
    bool Failed() const { return failed_; }
    // Lines that are not in the log: held after a failed flush, or left out.
    bool Unwritten() const { return !held_.empty() || leftOut_ != 0; }
    uint64_t LeftOut() const { return leftOut_; }
    // Why the first batch that failed was not written; "" while none failed.
    const std::string& Problem() const { return problem_; }

    // How long a run waits for another to finish writing, and how often it asks meanwhile.
    static constexpr uint64_t kWaitMs = 30000;
    static constexpr uint32_t kRetryMs = 100;
    // Lines are written once this many bytes wait, and whenever the run flushes.
    static constexpr size_t kBatchBytes = 64 * 1024;
    // The most bytes of lines held once a batch failed.
    static constexpr size_t kHeldMost = 2 * kBatchBytes;

  private:
    RunLog(platform::Console& console, OwnFilePlace place, std::string computer, std::string user);

    std::string Formatted(const std::string& category, const std::string& action,
                          const std::string& path, const std::string& bytes,
                          const std::string& reason) const;
    bool WriteHeld(bool wait, std::string& why);
    bool AppendWhole(platform::AppendFile& file, std::string& why);

    platform::Console& console_;
    OwnFilePlace place_;
    std::string computer_;
    std::string user_;
    std::string held_;
    std::string problem_;
    bool failed_ = false;
    uint64_t leftOut_ = 0;
};

}  // namespace olvex

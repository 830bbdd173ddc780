#pragma once
// Reading a log back, a piece at a time, so that a log of any length costs the same memory:
// every run its run-start and run-end lines frame, every run started and never ended, and
// what six-column lines, which name no computer and frame no run, tell of their computer. Lines that are cut short, too long or no lines of a log are skipped,
// each said so, and the rest read.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Platform.h"

namespace olvex {

enum class RunState {
    Finished,    // its run-end line is there
    Unfinished,  // started, and no run-end line came after: stopped, or still running
    Earlier,     // six-column lines, which frame no run: the last of them
};

struct Run {
    int64_t at = 0;  // when it started (its end, where its start is not in the log): LogTime
    RunState state = RunState::Finished;
    std::string user;
    std::string mode;  // "clean" or "preview"; "" for a run unfinished
    int exit = 0;
    uint64_t files = 0, folders = 0, bytes = 0, stayed = 0;
    std::string failed;  // categories with a step refused or failed, a blank between
};

// Told of each run of a log, with the computer it ran on.
using FoundRun = std::function<void(const std::string& computer, const Run& run)>;
// Told of each line skipped: its number in the file, counting from 1, and why.
using SkippedLine = std::function<void(size_t line, const std::string& why)>;

// Reads the log at path; "" when it was read (some lines may be skipped), else why the whole
// file is skipped (it cannot be read, it is not a log).
std::string ReadRuns(platform::FileSystem& files, const std::string& path, const FoundRun& found,
                     const SkippedLine& skipped);

// The most computers one log tells of, and the summary keeps: a line of a computer beyond is
// skipped, so that the memory has a bound whatever a file holds.
constexpr size_t kMostComputers = 65536;

// The log's time, "YYYY-MM-DD hh:mm:ss" as the computer's clock read it, in seconds since
// 1601-01-01 as if it were UTC; nothing when text is no such time.
std::optional<int64_t> LogTime(const std::string& text);
// The text of such a time again.
std::string LogTimeText(int64_t seconds);

}  // namespace olvex

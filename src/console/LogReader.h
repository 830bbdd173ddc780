#pragma once
// Reading a log back: each computer's last finished run, as its run-end line tells it, line
// by line, so that a log of any length costs the same memory.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace olvex {

struct LastRun {
    std::string computer, user, time;
    std::string mode;  // "clean" or "preview"
    int exit = 0;
    uint64_t files = 0, folders = 0, bytes = 0, stayed = 0;
    std::vector<std::string> failed;  // categories with a step refused or failed
};

// A log's last finished run, or why the file is skipped (not a log, cut short, no finished run).
struct LogRead {
    std::optional<LastRun> run;
    std::string why;
};

LogRead ReadLastRun(platform::FileSystem& files, const std::string& path);

}  // namespace olvex

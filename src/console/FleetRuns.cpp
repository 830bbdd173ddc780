#include "console/FleetRuns.h"

#include <cstdio>

#include "console/ExitCodes.h"

namespace olvex {

namespace {

constexpr int64_t kDaySeconds = 24 * 60 * 60;

// Computer names are compared as Windows compares them: case does not matter.
std::string Key(const std::string& name) {
    std::string key = name;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

// A clean refused with 2 or 3 deleted nothing: it is no clean a computer is kept clean by.
bool IsClean(const Run& run) {
    return run.state != RunState::Unfinished && run.mode == "clean" && run.exit != kExitBadUsage &&
           run.exit != kExitNotPossible;
}

std::string Counted(uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

bool Later(const Run& a, const Run& b) {
    if (a.at != b.at) return a.at > b.at;
    return a.state == RunState::Finished || b.state != RunState::Finished;
}

bool FleetRuns::Add(const std::string& computer, const Run& run, size_t log) {
    std::string key = Key(computer);
    auto found = rows_.find(key);
    if (found == rows_.end()) {
        if (rows_.size() >= kMostComputers) return false;
        ComputerRow row;
        row.name = computer;
        found = rows_.emplace(std::move(key), std::move(row)).first;
    } else if (!Later(run, found->second.last)) {
        ComputerRow& row = found->second;
        const Run* clean = row.Clean();
        if (IsClean(run) && (!clean || Later(run, *clean)))
            row.earlierClean = std::make_unique<Run>(run);
        return true;
    }
    ComputerRow& row = found->second;
    if (IsClean(run)) {
        row.earlierClean.reset();
    } else if (row.lastIsClean) {
        row.earlierClean = std::make_unique<Run>(std::move(row.last));
    }
    row.last = run;
    row.lastLog = log;
    row.lastIsClean = IsClean(run);
    return true;
}

std::string FleetTotals::ExitsText() const {
    std::string text;
    auto add = [&](const std::string& part) { text += (text.empty() ? "" : ", ") + part; };
    for (const auto& [code, n] : exits) add(std::to_string(n) + " exit " + std::to_string(code));
    if (unfinished) add(std::to_string(unfinished) + " unfinished");
    if (earlier) add(std::to_string(earlier) + " earlier version");
    return text;
}

std::string FleetTotals::FailedText() const {
    std::string text;
    for (const auto& [id, n] : failed)
        text += (text.empty() ? "" : ", ") + id + " on " + std::to_string(n);
    return text;
}

int64_t SecondsOf(uint64_t fileTime) {
    return static_cast<int64_t>(fileTime / 10'000'000);
}

bool IsStale(const ComputerRow& row, int64_t now, uint32_t days) {
    const Run* clean = row.Clean();
    return !clean || now - clean->at > static_cast<int64_t>(days) * kDaySeconds;
}

FleetTotals TotalsOf(const FleetRuns& fleet, int64_t now, uint32_t staleDays) {
    FleetTotals totals;
    for (const auto& [key, row] : fleet.Rows()) {
        ++totals.computers;
        switch (row.last.state) {
            case RunState::Finished:
                ++totals.exits[row.last.exit];
                break;
            case RunState::Unfinished:
                ++totals.unfinished;
                break;
            case RunState::Earlier:
                ++totals.earlier;
                break;
        }
        if (row.last.state == RunState::Finished && row.last.mode == "preview") ++totals.previews;
        if (IsStale(row, now, staleDays)) ++totals.stale;
        const Run* clean = row.Clean();
        if (!clean) continue;
        totals.deleted += clean->bytes;
        totals.stayed += clean->stayed;
        if (clean->bytes > totals.largest) totals.largest = clean->bytes;
        for (size_t at = 0; at < clean->failed.size();) {
            size_t blank = clean->failed.find(' ', at);
            if (blank == std::string::npos) blank = clean->failed.size();
            if (blank > at) ++totals.failed[clean->failed.substr(at, blank - at)];
            at = blank + 1;
        }
    }
    return totals;
}

std::string AgeText(int64_t at, int64_t now) {
    const int64_t age = now > at ? now - at : 0;
    if (age < kDaySeconds) return Counted(static_cast<uint64_t>(age / 3600), "hour", "hours");
    return Counted(static_cast<uint64_t>(age / kDaySeconds), "day", "days");
}

int64_t AgeDays(int64_t at, int64_t now) {
    return now > at ? (now - at) / kDaySeconds : 0;
}

std::string SizeText(uint64_t bytes) {
    if (bytes < 1024) return Counted(bytes, "byte", "bytes");
    static const char* const kUnits[] = {"KB", "MB", "GB", "TB", "PB", "EB"};
    double size = static_cast<double>(bytes) / 1024;
    size_t unit = 0;
    while (size >= 1024 && unit + 1 < sizeof kUnits / sizeof *kUnits) size /= 1024, ++unit;
    char text[32];
    std::snprintf(text, sizeof text, size < 100 ? "%.1f %s" : "%.0f %s", size, kUnits[unit]);
    return text;
}

std::string RunKind(const Run& run) {
    switch (run.state) {
        case RunState::Unfinished:
            return "unfinished";
        case RunState::Earlier:
            return "earlier version";
        case RunState::Finished:
            break;
    }
    return run.mode.empty() ? "run" : run.mode;
}

}  // namespace olvex

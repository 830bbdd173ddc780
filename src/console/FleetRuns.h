#pragma once
// The fleet as its logs tell it: a row per computer, whichever logs name it (a log of its own,
// one shared by many, or both), with its last run and its last clean; the fleet's totals count
// cleans only, and a computer whose last clean is too old, or that never cleaned, is stale.
#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "console/LogReader.h"

namespace olvex {

struct ComputerRow {
    std::string name;    // as the first log that named it spells it
    Run last;            // its latest run, whatever it did or however it ended
    size_t lastLog = 0;  // the log it was read from, by number
    // Its latest clean, finished or told by six-column lines; none when it never cleaned.
    const Run* Clean() const {
        return lastIsClean ? &last : earlierClean ? &*earlierClean : nullptr;
    }

    // The last clean is most often the last run, and is then not kept twice.
    bool lastIsClean = false;
    std::unique_ptr<Run> earlierClean;  // the last clean, when a run came after it
};

// Whether run a, read after run b, came after it: by the time it started; in the same second
// (the log's times go by seconds), a is later unless it did not finish and b did (the same run,
// read from a copy cut short).
bool Later(const Run& a, const Run& b);

class FleetRuns {
  public:
    // Takes a run of computer, read from log number log; false when the computer would be one
    // past kMostComputers, and is left out.
    bool Add(const std::string& computer, const Run& run, size_t log);
    // The rows in order of their computers' names, whose case does not matter.
    const std::map<std::string, ComputerRow>& Rows() const { return rows_; }

  private:
    std::map<std::string, ComputerRow> rows_;
};

// What the fleet did, over each computer's last run and last clean.
struct FleetTotals {
    uint64_t computers = 0;
    uint64_t deleted = 0, stayed = 0;  // by the last cleans only
    uint64_t largest = 0;              // the most one last clean deleted: the longest bar
    uint64_t previews = 0, unfinished = 0, earlier = 0;  // computers whose last run was such
    uint64_t stale = 0;
    std::map<int, uint64_t> exits;           // exit code of finished last runs -> computers
    std::map<std::string, uint64_t> failed;  // category failed in last cleans -> computers
    std::string ExitsText() const;           // "2 exit 0, 1 exit 1, 1 unfinished"
    std::string FailedText() const;          // "ie-history on 1"
};

// Seconds, in the log's reckoning (LogTime), of a file time (100 ns steps since 1601).
int64_t SecondsOf(uint64_t fileTime);
// Whether a computer's last clean is more than days days before now, or it never cleaned.
bool IsStale(const ComputerRow& row, int64_t now, uint32_t days);
FleetTotals TotalsOf(const FleetRuns& fleet, int64_t now, uint32_t staleDays);

// How long ago a time is: "5 hours", "1 day", "16 days"; a time ahead of now is "0 hours".
std::string AgeText(int64_t at, int64_t now);
// Whole days since a time, for CSV: 0 for a time ahead of now.
int64_t AgeDays(int64_t at, int64_t now);
// A size as a person reads it: "900 bytes", "4.8 KB", "1.2 GB" (in units of 1,024).
std::string SizeText(uint64_t bytes);
// What a run was: "clean", "preview", "unfinished", "earlier version"; "run" for a run that
// ended before it had a mode.
std::string RunKind(const Run& run);

}  // namespace olvex

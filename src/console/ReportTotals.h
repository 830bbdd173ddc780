#pragma once
// What a run's report counts, per category and over all, and the words it tells actions by.
#include <cstdint>
#include <map>
#include <set>
#include <string>

#include "guard/CleaningSink.h"

namespace olvex {

// What one category did, or every category together.
struct ReportTotals {
    uint64_t files = 0, fileBytes = 0, folders = 0;
    uint64_t registered = 0, registeredBytes = 0;
    uint64_t purged = 0;
    uint64_t cleared = 0, clearedRows = 0, clearedBytes = 0;  // databases that stay
    std::map<std::string, uint64_t> keptCookies;               // by the host that keeps them
    std::map<std::string, uint64_t> stayed;  // by reason
    bool counted = false, uncounted = false;
    uint64_t countedItems = 0, countedBytes = 0;
    uint64_t notThere = 0, troubles = 0;  // steps not there; refused or failed

    void Add(const ReportTotals& other);
    // Whether the totals of deleted files belong in the report: when there are any, or when
    // the category reports nothing else, so that "nothing" is said.
    bool DeletedSomething() const;
};

// The run's figures, as its last log line tells them.
struct RunFigures {
    uint64_t files = 0, folders = 0, bytes = 0;
    uint64_t left = 0;             // items that stayed behind or were registered for restart
    std::set<std::string> failed;  // categories with a step refused or failed
    std::map<std::string, uint64_t> keptCookies;  // by the host of the keep-list
};

// "deleted", or in a preview "would delete", and so on.
std::string ActionWord(ItemAction action, bool preview);

// What a cleared database's item tells beside its path: "12 rows"; a kept one's: "3 cookies of
// example.com"; "" for the others.
std::string RowsOf(const CleanedItem& item);

// "1 file", "2 files".
std::string Count(uint64_t n, const char* one, const char* many);

}  // namespace olvex

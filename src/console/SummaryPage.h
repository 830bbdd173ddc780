#pragma once
// The fleet's summary as one page of its own: a table with a row per computer, its last run and
// its last clean with a bar drawn in inline SVG, stale computers marked, then the totals and
// what was skipped. Sizes read as KB, MB or GB, the exact bytes where the pointer rests. No
// script and nothing from elsewhere; every name from a log (file, user and computer names are
// anybody's text) is escaped.
#include <cstdint>
#include <string>
#include <vector>

#include "console/FleetRuns.h"
#include "system/Services.h"

namespace olvex {

// A file or line the summary skipped, and why.
struct SkippedItem {
    std::string what, why;
};
// Skipped files and lines the page names one by one; past these, only how many more.
constexpr size_t kMostNamed = 200;

// What the page shows: the fleet's rows and totals, as of now, and what was skipped.
struct SummaryView {
    const std::string& folder;
    const FleetRuns& fleet;
    const FleetTotals& totals;
    int64_t now;  // LogTime's reckoning
    uint32_t staleDays;
    const std::vector<SkippedItem>& skipped;
    uint64_t skippedUnnamed;
};

// Writes the page to file (relative or full), replacing what it held; "" when written, else why
// not. The file is reached as the log is (OwnFilePlace): no link on its path, none as itself.
std::string WriteSummaryPage(Services& services, const std::string& file, const SummaryView& view);

// Text as HTML shows it literally: & < > " ' escaped.
std::string HtmlText(const std::string& text);

}  // namespace olvex

#pragma once
// The fleet's summary as one page of its own: a table with a row and a bar per computer, drawn
// in inline SVG, then the totals. No script and nothing from elsewhere; every name from a log
// (file, user and computer names are anybody's text) is escaped.
#include <cstdint>
#include <functional>
#include <string>

#include "console/LogReader.h"
#include "system/Services.h"

namespace olvex {

struct PageTotals {
    uint64_t computers = 0, bytes = 0, stayed = 0;
    uint64_t largest = 0;  // the most bytes one computer deleted: the longest bar
    std::string exits;     // "2 exit 0, 1 exit 1"
    std::string failed;    // "ie-history on 1"
    uint64_t skipped = 0;
};

// Calls its argument with each log's path and what was read of it, in the order of the rows.
using LogWalk =
    std::function<void(const std::function<void(const std::string&, const LogRead&)>&)>;

// Writes the page to file (relative or full), replacing what it held; "" when written, else why
// not. The file is reached as the log is (OwnFilePlace): no link on its path, none as itself.
std::string WriteSummaryPage(Services& services, const std::string& file, const std::string& folder,
                             const LogWalk& walk, const PageTotals& totals);

// Text as HTML shows it literally: & < > " ' escaped.
std::string HtmlText(const std::string& text);

}  // namespace olvex

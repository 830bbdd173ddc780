#pragma once
// olvex /summary:FOLDER: one row per computer from the logs in a folder, each computer's last
// run, then the totals of the fleet; with /html:FILE, the same as one page of its own.
#include "console/CommandLine.h"
#include "platform/Console.h"
#include "system/Services.h"

namespace olvex {

// Reads the logs and reports; the exit code: 0 when every log was read, 1 when some file was
// skipped (not a log, cut short), 3 when the folder or the page could not be used.
int RunFleetSummary(Services& services, platform::Console& console, const ConsoleRequest& request);

}  // namespace olvex

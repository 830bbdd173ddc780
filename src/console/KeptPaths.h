#pragma once
// The paths a run keeps at the user's word (/exclude) and its own log, resolved to what they
// name before anything is deleted, so that the sweeps know them whatever name they meet them by.
#include <string>

#include "console/CommandLine.h"
#include "platform/Platform.h"
#include "guard/RunFilter.h"

namespace olvex {

// Adds every /exclude of request to filter; "" when each names one existing file or folder,
// else the message that names the first that does not, and why.
std::string KeepExcluded(platform::FileSystem& files, const ConsoleRequest& request,
                         RunFilter& filter);

// Adds the run's own log at path (written to by now) to filter; "" when it resolves, else why.
std::string KeepOwnLog(platform::FileSystem& files, const std::string& path, RunFilter& filter);

}  // namespace olvex

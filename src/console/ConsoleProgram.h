#pragma once
// The console program: lists the categories of this system, previews or cleans a selection of
// them with the engine and the deletion rules of the windows, and reports what it did.
#include <string>
#include <vector>

#include "platform/Console.h"
#include "system/Services.h"

namespace olvex {

// Exit codes.
enum ExitCode : int {
    kExitDone = 0,         // every selected category done, nothing left
    kExitLeftSome = 1,     // done, but some items stayed or were registered for restart, or a
                           // step was refused or failed
    kExitBadUsage = 2,     // unknown id or option: nothing deleted
    kExitNotPossible = 3,  // unsupported system, category not available here, not an administrator
    kExitRecordIncomplete = 4,  // the log could not take the run's lines when they were due:
                                // the run stopped there, and its last lines may be missing
};

// Runs one command line (the arguments after the program's name) and returns its exit code.
int RunConsoleProgram(Services& services, platform::Console& console,
                      const std::vector<std::string>& arguments);

// The arguments of a command line as Windows programs split it: blanks separate, double
// quotes group, backslashes before a quote escape it. The program's own name, first, is left
// out.
std::vector<std::string> SplitCommandLine(const std::string& line);

}  // namespace olvex

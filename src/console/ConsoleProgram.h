#pragma once
// The console program: lists the categories of this system, previews or cleans a selection of
// them with the engine and the deletion rules of the windows, and reports what it did.
#include <string>
#include <vector>

#include "console/ExitCodes.h"
#include "platform/Console.h"
#include "system/Services.h"

namespace olvex {

// Runs one command line (the arguments after the program's name) and returns its exit code.
int RunConsoleProgram(Services& services, platform::Console& console,
                      const std::vector<std::string>& arguments);

}  // namespace olvex

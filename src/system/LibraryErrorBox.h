#pragma once
// The library error box of the windows: title the routine's name, text "Error: N. description",
// N the run-time error number a user of the windows knows. The number is worked out here, from
// the system's code, and nowhere else; reports keep the code itself.
#include <string>

#include "platform/Errors.h"
#include "ui/Toolkit.h"

namespace olvex {

// Run-time error numbers of failures the program finds itself rather than the system.
enum LibraryErrorNumber : int {
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
};

// The number the box shows for a system code; "Path/File access error" (75) where no closer
// one fits.
int LibraryErrorNumberOf(const platform::SystemCode& code);
// The box's description of a number: "Disk not ready" for 71.
std::string LibraryErrorDescription(int number);

void ShowLibraryError(ui::Toolkit& toolkit, const std::string& routine, int number);
void ShowLibraryError(ui::Toolkit& toolkit, const std::string& routine,
                      const platform::RuntimeError& error);

}  // namespace olvex

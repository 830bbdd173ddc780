#pragma once
// Opening the donation and support pages in the user's browser.
#include <cstdint>
#include <string>

#include "system/Services.h"

namespace olvex {

// Opens the page with the shell, owned by the window whose control was clicked. The
// result is not examined: whatever the shell or browser reports is outside the program.
void OpenOutsidePage(Services& services, uintptr_t owner, const std::string& address);

}  // namespace olvex

#include "shell/Links.h"

#include "platform/Errors.h"

namespace olvex {

void OpenOutsidePage(Services& services, uintptr_t owner, const std::string& address) {
    constexpr int kShowNormal = 1;  // the browser opens in a normal, visible window
    platform::SkipOnFailure([&] { services.shell.Execute(owner, "open", address, kShowNormal); });
}

}  // namespace olvex

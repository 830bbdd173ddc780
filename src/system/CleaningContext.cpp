#include "system/CleaningContext.h"

#include <cstring>
#include <vector>

namespace olvex {

CleaningContext DeriveCleaningContext(platform::System& system) {
    CleaningContext context;

    std::vector<char> windows(200, '\0');
    const uint32_t n = system.WindowsDirectory(windows.data(), 200);
    // A length beyond the buffer means the folder did not fit: the buffer holds nothing
    // usable then, so the folder counts as unknown rather than as a cut-off path.
    if (n > 0 && n < 200) context.WindowsDir.assign(windows.data(), n);
    context.SystemDrive = context.WindowsDir.substr(0, 3);

    std::vector<char> user(100, '\0');
    uint32_t size = 100;
    if (system.UserName(user.data(), &size)) {
        const void* nul = std::memchr(user.data(), '\0', user.size());
        if (nul)
            context.UserName.assign(
                user.data(), static_cast<size_t>(static_cast<const char*>(nul) - user.data()));
    }
    return context;
}

}  // namespace olvex

#include "shell/Routing.h"

namespace olvex {

Family FamilyFor(const std::string& osName) {
    if (osName == "Windows 98" || osName == "Windows 98 SE" || osName == "Windows ME")
        return Family::Windows98;
    if (osName == "Windows 95" || osName == "Windows 95 OSR2" || osName == "Windows .NET" ||
        osName.rfind("Unknown OS Version ", 0) == 0)
        return Family::Unsupported;
    return Family::NT;
}

}  // namespace olvex

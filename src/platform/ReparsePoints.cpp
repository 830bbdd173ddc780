#include "platform/ReparsePoints.h"

namespace platform {

namespace {

constexpr uint32_t kWindows9xPlatform = 1;  // VER_PLATFORM_WIN32_WINDOWS
constexpr uint32_t kNtPlatform = 2;         // VER_PLATFORM_WIN32_NT

}  // namespace

bool SystemHasReparsePoints(const std::optional<VersionRecord>& version) {
    if (!version) return true;
    if (version->platformId == kWindows9xPlatform) return false;
    return version->platformId != kNtPlatform || version->major >= 5;
}

bool MayOpenWithoutReparseOption(bool systemHasReparsePoints,
                                 std::optional<uint32_t> volumeAttributes) {
    if (volumeAttributes && (*volumeAttributes & kVolumeSupportsReparsePoints)) return false;
    return !systemHasReparsePoints || volumeAttributes.has_value();
}

}  // namespace platform

#include "system/IniFile.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "system/FileUtilities.h"

namespace olvex {

namespace {
// Room for 255 characters and the NUL; the lookup never writes more. The characters are the
// system's, not UTF-8 bytes: a value of 140 letters with accents among them comes whole.
constexpr uint32_t kValueBuffer = 256;
}  // namespace

std::string INIGetSettingString(Services& services, const std::string& section,
                                const std::string& key, const std::string& file,
                                const std::string& def) {
    try {
        std::vector<char> buffer(kValueBuffer * platform::kUtf8BytesPerCharacter, '\0');
        const uint32_t reported =
            services.profiles.GetString(section, key, def, buffer.data(), kValueBuffer, file);
        // The count decides where the value ends, not a NUL: an empty value is "" even if
        // the buffer held something else. A count beyond the buffer cannot take more than it.
        const auto count =
            static_cast<int16_t>(std::min(reported, static_cast<uint32_t>(buffer.size())));
        return std::string(buffer.data(), static_cast<size_t>(count));
    } catch (const platform::RuntimeError& error) {
        ShowLibraryError(services.toolkit, "INIGetSettingString", error);
    } catch (const std::bad_alloc&) {
        ShowLibraryError(services.toolkit, "INIGetSettingString", kErrOutOfMemory);
    }
    return "";
}

}  // namespace olvex

#include "platform/win32/Win32Profiles.h"

#include <cstring>

#include "platform/TextEncoding.h"
#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

uint32_t Win32ProfileReader::GetString(const std::string& section, const std::string& key,
                                       const std::string& def, char* buffer, uint32_t size,
                                       const std::string& file) {
    if (size == 0) return 0;
    const std::string value =
        SettingsFileText(PrivateProfileBytesU(section, key, def, file), Utf8FromAnsi);
    // As the system's lookup does: what does not fit is cut, here at a character boundary.
    size_t n = value.size() < size ? value.size() : size - 1;
    while (n > 0 && n < value.size() && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80) --n;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

}  // namespace platform::win32

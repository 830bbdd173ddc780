#include "platform/win32/Win32Profiles.h"

#include <cstring>

#include "platform/TextEncoding.h"
#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

uint32_t Win32ProfileReader::GetString(const std::string& section, const std::string& key,
                                       const std::string& def, char* buffer, uint32_t size,
                                       const std::string& file) {
    if (size == 0) return 0;
    // The system's lookup cuts the value at size - 1 of its own characters; their UTF-8 form
    // fits the buffer, which is cut here only should it not, at a character boundary.
    const std::string value =
        SettingsFileText(PrivateProfileBytesU(section, key, def, file, size), Utf8FromAnsi);
    const size_t room = size_t{size} * kUtf8BytesPerCharacter - 1;
    size_t n = value.size() <= room ? value.size() : room;
    while (n > 0 && n < value.size() && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80) --n;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<uint32_t>(n);
}

}  // namespace platform::win32

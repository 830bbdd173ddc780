#pragma once
// Settings files in INI form, read through the system's private-profile calls.
#include <cstdint>
#include <string>

namespace platform {

// Bytes a character of the system's text (a UTF-16 unit on the NT family, a code-page byte
// on the 9x family) takes at most in UTF-8.
constexpr uint32_t kUtf8BytesPerCharacter = 3;

// Reading values of settings files in INI form.
class ProfileReader {
  public:
    virtual ~ProfileReader() = default;
    // As the private-profile lookup given a buffer of size characters: copies the value (or
    // def) into buffer in UTF-8, at most size - 1 characters as the system counts them and a
    // NUL, and returns the number of bytes copied. buffer holds size * kUtf8BytesPerCharacter
    // bytes. Section and key match without regard to case; a missing file is not an error.
    virtual uint32_t GetString(const std::string& section, const std::string& key,
                               const std::string& def, char* buffer, uint32_t size,
                               const std::string& file) = 0;
};

}  // namespace platform

#include "platform/win32/Win32Profiles.h"
#include <windows.h>

namespace platform::win32 {

uint32_t Win32ProfileReader::GetString(const std::string& section, const std::string& key,
                                       const std::string& def, char* buffer, uint32_t size,
                                       const std::string& file) {
    return ::GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer, size,
                                      file.c_str());
}

}  // namespace platform::win32

#pragma once
// Reading one string value from a settings file in INI form.
#include <string>

#include "system/Services.h"

namespace olvex {

// The value of key in section of file, or def when the file, the section or the key is
// missing. Values longer than 255 characters come back cut to 255, counted as the system
// counts them (UTF-16 units on the NT family, code-page bytes on 9x). A failure of the lookup
// itself shows the library error box and gives "".
std::string INIGetSettingString(Services& services, const std::string& section,
                                const std::string& key, const std::string& file,
                                const std::string& def);

}  // namespace olvex

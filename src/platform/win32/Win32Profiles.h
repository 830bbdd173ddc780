#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

class Win32ProfileReader : public ProfileReader {
  public:
    uint32_t GetString(const std::string& section, const std::string& key, const std::string& def,
                       char* buffer, uint32_t size, const std::string& file) override;
};

}  // namespace platform::win32

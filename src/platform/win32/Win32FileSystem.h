#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

class Win32FileSystem : public FileSystem {
public:
    std::unique_ptr<Finder> Find(const std::string& pattern) override;
    uint32_t GetAttributes(const std::string& path) override;
    bool Delete(const std::string& path) override;
};

}  // namespace platform::win32

#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

class Win32UrlCache : public UrlCache {
  public:
    uintptr_t FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) override;
    bool FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) override;
    void FindClose(uintptr_t handle) override;
    bool DeleteEntry(const std::string& url, SystemCode* why) override;
    std::optional<std::string> LocalFile(const std::string& url) override;
};

}  // namespace platform::win32

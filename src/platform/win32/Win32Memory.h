#pragma once
#include "platform/Platform.h"

namespace platform::win32 {

// Copies are guarded by the page protections that VirtualQuery reports, so a copy never
// touches a page it may not read or write.
class Win32Memory : public Memory {
  public:
    uintptr_t Allocate(uint32_t size) override;
    void Lock(uintptr_t address, uint32_t size) override;
    void Unlock(uintptr_t address, uint32_t size) override;
    void Free(uintptr_t address, uint32_t size) override;
    bool CanRead(uintptr_t address, uint32_t length) override;
    bool CanWrite(uintptr_t address, uint32_t length) override;
    bool CanReadString(uintptr_t address, uint32_t max) override;
    std::string ReadString(uintptr_t address, uint32_t max) override;
    void Copy(uintptr_t to, uintptr_t from, uint32_t length) override;
};

}  // namespace platform::win32

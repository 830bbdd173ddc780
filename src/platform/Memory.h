#pragma once
// Committed virtual memory, and reading and copying it where it may not be mapped.
#include <cstdint>
#include <string>

namespace platform {

// Committed virtual memory and copies between addresses that cannot fault.
class Memory {
  public:
    virtual ~Memory() = default;
    // A committed block of size bytes, readable and writable but never executable; 0 when
    // refused (a size of 0 is).
    virtual uintptr_t Allocate(uint32_t size) = 0;
    virtual void Lock(uintptr_t address, uint32_t size) = 0;
    virtual void Unlock(uintptr_t address, uint32_t size) = 0;
    virtual void Free(uintptr_t address, uint32_t size) = 0;
    // Whether length bytes at address can be read (written); length 0 always can.
    virtual bool CanRead(uintptr_t address, uint32_t length) = 0;
    virtual bool CanWrite(uintptr_t address, uint32_t length) = 0;
    // Whether a NUL-terminated string can be read at address within max characters.
    virtual bool CanReadString(uintptr_t address, uint32_t max) = 0;
    // The bytes at address up to their NUL (at most max), when CanReadString holds.
    virtual std::string ReadString(uintptr_t address, uint32_t max) = 0;
    // Copies length bytes (ranges may overlap); the caller has checked both ranges.
    virtual void Copy(uintptr_t to, uintptr_t from, uint32_t length) = 0;
};

}  // namespace platform

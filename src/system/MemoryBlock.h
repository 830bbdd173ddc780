#pragma once
// One block of committed memory and checked copies between it and other addresses. The cache
// purge gives each index entry a block of the size the cache asks for, lets the enumeration
// write the entry there, copies the entry's fixed head out and reads its address text.
//
// Addresses are plain integers because that is what the cache entry holds: the head stores
// its string addresses as 32-bit numbers. Every copy is checked first, so a range that may not
// be read or written is skipped without notice and never faults.
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace olvex {

class MemoryBlock {
  public:
    explicit MemoryBlock(platform::Memory& memory) : memory_(memory) {}
    ~MemoryBlock() { ReleaseMemory(); }
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;

    // The block's address; 0 while the object holds none.
    uintptr_t Handle() const { return hBlock; }

    // Gives back any block held, then takes a new read-write block of lCount bytes. A refused
    // allocation (lCount 0 among them) leaves the object empty.
    void Allocate(uint32_t lCount);

    // Copies lLength bytes from the start of the block to hWritePointer.
    void ReadFrom(uintptr_t hWritePointer, uint32_t lLength);
    // Copies lLength bytes from hReadPointer to the start of the block.
    void WriteTo(uintptr_t hReadPointer, uint32_t lLength);

    // The NUL-terminated narrow text at hStartPointer, any address, not only the block's.
    // Reads at most lMax characters and returns at most lMax; "" when the text cannot be read.
    std::string ExtractString(uintptr_t hStartPointer, uint32_t lMax);

    void ReleaseMemory();

  private:
    platform::Memory& memory_;
    uintptr_t hBlock = 0;
    uint32_t lSize = 0;
};

// The address of an object of the caller's, for ReadFrom and WriteTo.
template <class T>
uintptr_t AddressOf(T& object) {
    return reinterpret_cast<uintptr_t>(&object);
}

}  // namespace olvex

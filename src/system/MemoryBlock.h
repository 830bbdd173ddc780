#pragma once
// One block of committed memory and checked copies out of it. The cache purge gives each index
// entry a block of the size the cache asks for, lets the enumeration write the entry there,
// copies the entry's fixed head out and reads its address text.
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
    ~MemoryBlock() { Release(); }
    MemoryBlock(const MemoryBlock&) = delete;
    MemoryBlock& operator=(const MemoryBlock&) = delete;

    // The block's address; 0 while the object holds none.
    uintptr_t Address() const { return address_; }

    // Gives back any block held, then takes a new read-write block of size bytes. A refused
    // allocation (a size of 0 among them) leaves the object empty.
    void Allocate(uint32_t size);

    // Copies length bytes from the start of the block to destination.
    void CopyOut(uintptr_t destination, uint32_t length);

    // The NUL-terminated narrow text at address, any address, not only the block's. Reads at
    // most max characters and returns at most max; "" when the text cannot be read.
    std::string ReadText(uintptr_t address, uint32_t max);

    // Gives the block back; the object holds none afterwards.
    void Release();

  private:
    platform::Memory& memory_;
    uintptr_t address_ = 0;
    uint32_t size_ = 0;
};

// The address of an object of the caller's, for CopyOut.
template <class T>
uintptr_t AddressOf(T& object) {
    return reinterpret_cast<uintptr_t>(&object);
}

}  // namespace olvex

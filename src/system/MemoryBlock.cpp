#include "system/MemoryBlock.h"

namespace olvex {

void MemoryBlock::Allocate(uint32_t size) {
    Release();
    address_ = memory_.Allocate(size);
    size_ = size;
    // Locking only keeps the entry out of the page file; a block that cannot be locked is
    // just as usable.
    if (address_ != 0) memory_.Lock(address_, size_);
}

void MemoryBlock::Release() {
    if (address_ == 0) return;
    memory_.Unlock(address_, size_);
    memory_.Free(address_, size_);
    address_ = 0;
}

void MemoryBlock::CopyOut(uintptr_t destination, uint32_t length) {
    if (memory_.CanWrite(destination, length) && memory_.CanRead(address_, length))
        memory_.Copy(destination, address_, length);
}

std::string MemoryBlock::ReadText(uintptr_t address, uint32_t max) {
    if (max == 0 || !memory_.CanReadString(address, max)) return std::string();
    return memory_.ReadString(address, max);
}

}  // namespace olvex

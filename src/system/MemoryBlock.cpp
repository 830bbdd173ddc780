#include "system/MemoryBlock.h"

namespace olvex {

void MemoryBlock::Allocate(uint32_t lCount) {
    ReleaseMemory();
    hBlock = memory_.Allocate(lCount);
    lSize = lCount;
    // Locking only keeps the entry out of the page file; a block that cannot be locked is
    // just as usable.
    if (hBlock != 0) memory_.Lock(hBlock, lSize);
}

void MemoryBlock::ReleaseMemory() {
    if (hBlock == 0) return;
    memory_.Unlock(hBlock, lSize);
    memory_.Free(hBlock, lSize);
    hBlock = 0;
}

void MemoryBlock::ReadFrom(uintptr_t hWritePointer, uint32_t lLength) {
    if (memory_.CanWrite(hWritePointer, lLength) && memory_.CanRead(hBlock, lLength))
        memory_.Copy(hWritePointer, hBlock, lLength);
}

void MemoryBlock::WriteTo(uintptr_t hReadPointer, uint32_t lLength) {
    if (memory_.CanRead(hReadPointer, lLength) && memory_.CanWrite(hBlock, lLength))
        memory_.Copy(hBlock, hReadPointer, lLength);
}

std::string MemoryBlock::ExtractString(uintptr_t hStartPointer, uint32_t lMax) {
    if (lMax == 0 || !memory_.CanReadString(hStartPointer, lMax)) return std::string();
    return memory_.ReadString(hStartPointer, lMax);
}

}  // namespace olvex

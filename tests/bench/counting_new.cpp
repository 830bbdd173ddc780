#include "counting_new.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> peak{0};

}  // namespace

// Each block carries its size in front, so that the count needs no table.
void* operator new(size_t size) {
    auto* block = static_cast<size_t*>(std::malloc(size + sizeof(size_t) * 2));
    if (!block) throw std::bad_alloc();
    block[0] = size;
    const size_t now = inUse += size;
    for (size_t seen = peak; now > seen && !peak.compare_exchange_weak(seen, now);) {
    }
    return block + 2;
}
void operator delete(void* pointer) noexcept {
    if (!pointer) return;
    size_t* block = static_cast<size_t*>(pointer) - 2;
    inUse -= block[0];
    std::free(block);
}
void operator delete(void* pointer, size_t) noexcept {
    operator delete(pointer);
}

namespace bench {

size_t InUse() {
    return inUse;
}

size_t Peak() {
    return peak;
}

void StartPeak() {
    peak = inUse.load();
}

}  // namespace bench

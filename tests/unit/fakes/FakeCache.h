#pragma once
// An empty cache index and host memory: enough for windows that do not purge.
#include <cstring>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace fakes {

class FakeUrlCache : public platform::UrlCache {
public:
    uintptr_t FindFirst(uintptr_t, uint32_t& size) override {
        size = 0;
        return 0;
    }
    bool FindNext(uintptr_t, uintptr_t, uint32_t& size) override {
        size = 0;
        return false;
    }
    void FindClose(uintptr_t) override {}
    bool DeleteEntry(const std::string& url) override {
        deleted.push_back(url);
        return false;
    }
    std::vector<std::string> deleted;
};

class FakeMemory : public platform::Memory {
public:
    uintptr_t Allocate(uint32_t size) override {
        return reinterpret_cast<uintptr_t>(new char[size ? size : 1]());
    }
    void Lock(uintptr_t, uint32_t) override {}
    void Unlock(uintptr_t, uint32_t) override {}
    void Free(uintptr_t address, uint32_t) override { delete[] reinterpret_cast<char*>(address); }
    bool CanRead(uintptr_t address, uint32_t length) override { return length == 0 || address; }
    bool CanWrite(uintptr_t address, uint32_t length) override { return length == 0 || address; }
    bool CanReadString(uintptr_t address, uint32_t) override { return address != 0; }
    std::string ReadString(uintptr_t address, uint32_t max) override {
        const char* text = reinterpret_cast<const char*>(address);
        return std::string(text, strnlen(text, max));
    }
    void Copy(uintptr_t to, uintptr_t from, uint32_t length) override {
        std::memmove(reinterpret_cast<void*>(to), reinterpret_cast<const void*>(from), length);
    }
};

}  // namespace fakes

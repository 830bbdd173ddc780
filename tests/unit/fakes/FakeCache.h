#pragma once
// The browser's cache index and the process's memory, in memory.
//
// FakeMemory hands out blocks from an arena of pages below 4 GB, because a cache entry's head
// stores the addresses of its strings as 32-bit numbers, as on the 32-bit system the program
// is built for. Arena pages that no block holds are inaccessible, as freed memory is. An
// address outside the arena is one of the test's own objects and counts as accessible.
//
// Touching inaccessible memory ends the test program with a message, as it would end the
// real one: the code under test must check a range before it copies.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "fakes/FakeFileSystem.h"
#include "platform/Platform.h"

namespace fakes {

class FakeMemory : public platform::Memory {
  public:
    static constexpr uint32_t kPage = 4096;
    static constexpr uint32_t kArenaPages = 16384;  // 64 MB

    FakeMemory() = default;
    ~FakeMemory() override;
    FakeMemory(const FakeMemory&) = delete;
    FakeMemory& operator=(const FakeMemory&) = delete;

    uintptr_t Allocate(uint32_t size) override;
    void Lock(uintptr_t, uint32_t) override {}
    void Unlock(uintptr_t, uint32_t) override {}
    void Free(uintptr_t address, uint32_t size) override;
    bool CanRead(uintptr_t address, uint32_t length) override {
        return Accessible(address, length);
    }
    bool CanWrite(uintptr_t address, uint32_t length) override {
        return Accessible(address, length);
    }
    bool CanReadString(uintptr_t address, uint32_t max) override;
    std::string ReadString(uintptr_t address, uint32_t max) override;
    void Copy(uintptr_t to, uintptr_t from, uint32_t length) override;

    // Blocks handed out and not yet freed.
    int LiveBlocks() const { return static_cast<int>(blocks_.size()); }
    // Blocks handed out since the start.
    int allocations = 0;
    // Allocations after this many are refused (as an exhausted address space refuses them);
    // negative: never.
    int refuseAfter = -1;

  private:
    bool Accessible(uintptr_t address, uint32_t length) const;
    void MapArena();

    unsigned char* arena_ = nullptr;
    std::vector<bool> pageUsed_;
    std::map<uintptr_t, uint32_t> blocks_;  // base address -> pages
};

// The kinds of entry the index holds, told apart by the address's scheme.
enum EntryType : uint32_t {
    kNormalEntry = 0x1,
    kCookieEntry = 0x100000,
    kHistoryEntry = 0x200000,
};

// The cache index: entries in the order they were added, listed as the library documents it
// (FindFirstUrlCacheEntry): with no pattern the content entries only, with "cookie:" the
// cookies, with "visited:" the visited addresses. Wine lists every kind with no pattern; real
// Windows does not. Each entry is written into the caller's buffer as the system writes it: an
// 80-byte head (the platform's reserved word and exempt delta share one field), then the strings,
// each aligned to 4 bytes. Given a file system, it keeps the entries' local files there, and
// deleting an entry deletes its local file by path, as the system's library does, wherever the path
// leads.
class FakeUrlCache : public platform::UrlCache {
  public:
    static constexpr uint32_t kHeadSize = 80;

    FakeUrlCache() = default;
    explicit FakeUrlCache(FakeFileSystem& files) : files_(&files) {}

    // "Cookie:..." becomes a cookie entry, "Visited:..." a history entry, any other address an
    // ordinary entry with a data file and response headers. The data file lies in the cache
    // folders of FakeShell's user and is made in the file system.
    void Add(const std::string& url);
    // An entry of url's kind whose local file is localFile, taken as given ("" for none), as
    // any program can commit one; no file is made.
    void AddNaming(const std::string& url, const std::string& localFile);
    // The addresses in the index, in order.
    std::vector<std::string> Urls() const;
    // The bytes the entry of url needs.
    uint32_t SizeOf(const std::string& url) const;

    uintptr_t FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) override;
    bool FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) override;
    void FindClose(uintptr_t handle) override;
    bool DeleteEntry(const std::string& url, platform::SystemCode* why = nullptr) override;
    std::optional<std::string> LocalFile(const std::string& url) override;

    // Enumerations opened and not closed.
    int OpenEnumerations() const { return static_cast<int>(cursors_.size()); }
    // Enumerations opened since the start.
    int enumerations = 0;
    // Every address DeleteEntry was called with, in order.
    std::vector<std::string> deleted;
    // Called when an enumeration is closed: another program may change the index then.
    std::function<void()> onClose;

  private:
    struct Entry {
        std::string url;
        std::string localFile;
        std::string headers;
        std::string extension;
        uint32_t type = kNormalEntry;
        bool present = true;
    };
    static uint32_t Size(const Entry& entry);
    // The next present entry of type from position at; entries_.size() when there is none.
    size_t NextFrom(size_t at, uint32_t type) const;
    // Writes entries_[at] into buffer when it fits; otherwise reports the size it needs.
    bool Fetch(size_t at, uintptr_t buffer, uint32_t& size) const;

    void Put(const Entry& entry);

    FakeFileSystem* files_ = nullptr;
    std::vector<Entry> entries_;
    std::unordered_map<std::string, size_t> byUrl_;
    struct Cursor {
        size_t at;      // the position of its next entry
        uint32_t type;  // the kind of entry it lists
    };
    std::map<uintptr_t, Cursor> cursors_;
    uintptr_t nextHandle_ = 0xCA000;
    int stalledCalls_ = 0;  // failed FindNext calls since an entry was last taken
};

}  // namespace fakes

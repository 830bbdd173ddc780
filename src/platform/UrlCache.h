#pragma once
// The browser's URL cache index: listing its entries and deleting one.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/Errors.h"

namespace platform {

class SystemChanges;

constexpr const char* kCookieEntries = "cookie:";
constexpr const char* kHistoryEntries = "visited:";

// The browser's URL cache index. The enumeration writes an entry as the system lays it out: a
// fixed head (80 bytes) followed by the strings it points to, whose addresses the head holds
// as 32-bit numbers.
class UrlCache {
  public:
    virtual ~UrlCache() = default;
    // The enumeration calls of the cache index. Each writes the entry into buffer when
    // size is large enough; otherwise fails and sets size to the size the entry needs (0
    // when there are no more entries). FindFirst returns a handle (0 on failure).
    // buffer is a block from Memory (0 for the size query). The pattern chooses what is
    // listed, as the library documents it: nullptr the content entries, kCookieEntries the
    // cookies, kHistoryEntries the visited addresses.
    virtual uintptr_t FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) = 0;
    virtual bool FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) = 0;
    virtual void FindClose(uintptr_t handle) = 0;
    // The local file the entry of url names, as the cache reports it now: "" when it names
    // none; nullopt when the entry is not there or cannot be read.
    virtual std::optional<std::string> LocalFile(const std::string& url) = 0;

  private:
    // What changes the system, reached through SystemChanges alone.
    friend class SystemChanges;
    // Deletes the entry of url, and with it the local file the entry names, by that path,
    // wherever it lies. What the system said when it refused goes to why.
    virtual bool DeleteEntry(const std::string& url, SystemCode* why) = 0;
};

}  // namespace platform

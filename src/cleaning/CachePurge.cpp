#include "cleaning/CachePurge.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Errors.h"
#include "guard/DeletionGuard.h"
#include "system/MemoryBlock.h"
#include "system/SpecialFolders.h"

namespace olvex {

namespace {

struct FileTime {
    uint32_t low;
    uint32_t high;
};

// The fixed head of an index entry as we copy it out. The system's own head is 80 bytes, its
// reserved word and exempt delta sharing one field; keeping them apart makes 84, and the four
// bytes more are the start of the strings that follow, which we never look at.
struct EntryHead {
    uint32_t dwStructSize;
    uint32_t lpszSourceUrlName;
    uint32_t lpszLocalFileName;
    uint32_t CacheEntryType;
    uint32_t dwUseCount;
    uint32_t dwHitRate;
    uint32_t dwSizeLow;
    uint32_t dwSizeHigh;
    FileTime LastModifiedTime;
    FileTime ExpireTime;
    FileTime LastAccessTime;
    FileTime LastSyncTime;
    uint32_t lpHeaderInfo;
    uint32_t dwHeaderInfoSize;
    uint32_t lpszFileExtension;
    uint32_t dwReserved;
    uint32_t dwExemptDelta;
};
static_assert(sizeof(EntryHead) == 84, "the head is copied as 84 bytes");

// An enumeration handle of the index, closed however the purge ends.
struct Enumeration {
    explicit Enumeration(platform::UrlCache& c) : cache(c) {}
    ~Enumeration() {
        if (handle != 0) cache.FindClose(handle);
    }
    Enumeration(const Enumeration&) = delete;
    Enumeration& operator=(const Enumeration&) = delete;

    platform::UrlCache& cache;
    uintptr_t handle = 0;
};

// The address of the entry the cache has just written into block (size bytes); "" when the
// entry holds none that can be read.
std::string SourceUrl(MemoryBlock& block, uint32_t size) {
    EntryHead head{};
    block.CopyOut(AddressOf(head), sizeof head);
    if (head.lpszSourceUrlName == 0) return std::string();
    return block.ReadText(head.lpszSourceUrlName, size);
}

// Calls visit with the address of every entry of the index the pattern lists, in its order. Each
// entry is read in two calls, one for its size and one into a fresh block of that size. An entry
// that cannot be fetched into its block (the memory was refused) ends the listing: asking again
// would meet the same refusal for ever, and what is not listed now is left for the next purge.
template <class Visit>
void ForEachEntry(Services& services, const char* pattern, Visit&& visit) {
    platform::UrlCache& cache = services.urlCache;
    MemoryBlock block(services.memory);
    Enumeration find(cache);
    uint32_t size = 0;
    cache.FindFirst(pattern, 0, size);
    if (size == 0) return;  // an empty index
    block.Allocate(size);
    find.handle = cache.FindFirst(pattern, block.Address(), size);
    if (find.handle == 0) return;
    visit(SourceUrl(block, size));
    for (;;) {
        size = 0;
        cache.FindNext(find.handle, 0, size);
        if (size == 0) return;  // no more entries
        block.Allocate(size);
        if (!cache.FindNext(find.handle, block.Address(), size)) return;
        visit(SourceUrl(block, size));
    }
}

// The folders the cache keeps its local files in; "" for one the shell does not know.
std::vector<std::string> CacheFolders(Services& services) {
    return {folders::GetInternetCacheFolder(services), folders::GetCookiesFolder(services),
            folders::GetHistoryFolder(services)};
}

// A local file as its folder lists it: its entry, or none when it is not there; unknown when
// the folder could not be listed (no right to list it, drive not ready).
struct ListedFile {
    std::optional<platform::FindEntry> entry;
    bool unknown = false;
};

ListedFile Listed(platform::FileSystem& files, const std::string& path) {
    if (path.empty()) return {};
    platform::FindEntry entry;
    try {
        std::unique_ptr<platform::Finder> found = files.Find(path);
        if (found && found->Next(entry)) return {entry};
        return {};
    } catch (const platform::RuntimeError&) {
        return {std::nullopt, true};
    }
}

void Purge(Services& services, platform::Changes& changes, PurgeList& list, CleaningSink& sink,
           const RunFilter* filter, CountedFolders* counted, const char* pattern,
           std::string_view keepWord, const CookieKeepList* keep = nullptr) {
    // What the list has no room for is deleted all the same, in this purge.
    std::vector<std::string> unlisted;
    ForEachEntry(services, pattern, [&](std::string url) {
        if (url.empty()) return;
        if (list.HasRoom()) {
            list.Add(url);
        } else {
            unlisted.push_back(std::move(url));
        }
    });
    const std::vector<std::string> cacheFolders = CacheFolders(services);
    auto purge = [&](const std::string& url) {
        if (url.find(keepWord) != std::string::npos) return;
        if (const std::string* keeper = keep ? keep->KeeperOf(url) : nullptr) {
            sink.Item({ItemAction::Kept, url, 0, "", false, 1, *keeper});
            return;
        }
        // Asked again right before it goes: the file an entry names is what the library
        // deletes with it, and it may name another by now. One gone by now is not deleted again.
        const std::optional<std::string> file = services.urlCache.LocalFile(url);
        if (!file) return;
        if (!MayDeleteCacheEntry(services.files, *file, cacheFolders)) {
            sink.Item({ItemAction::Stayed, url, 0, reason::kOutsideCache});
            return;
        }
        // The library deletes the entry's file with it: that is a file of the run's, and what
        // the filter keeps of those stays with its entry. A file whose folder cannot be listed
        // stays too: neither what it is nor its age can be told.
        const ListedFile listedFile = Listed(services.files, *file);
        const std::optional<platform::FindEntry>& listed = listedFile.entry;
        if (listedFile.unknown) {
            sink.Item({ItemAction::Stayed, url, 0, reason::kNotOpened});
            return;
        }
        if (filter && listed) {
            if (const char* why = FilterKeepsHandedOn(services.files, *filter, *file, *listed)) {
                sink.Item({ItemAction::Stayed, url, 0, why});
                return;
            }
        } else if (filter && !file->empty() &&
                   services.files.GetAttributes(*file) != platform::kInvalidAttributes) {
            // There, but not listed: neither its age nor what it is can be told.
            sink.Item({ItemAction::Stayed, url, 0, reason::kNotOpened});
            return;
        }
        platform::SystemCode why;
        if (!changes.DeleteUrlCacheEntry(url, &why)) {
            // Gone meanwhile is no failure; anything else the library said is.
            if (services.urlCache.LocalFile(url))
                sink.Problem({StepOutcome::Failed, url,
                              "the Internet library did not delete the entry", why});
            return;
        }
        sink.Item({ItemAction::Purged, url});
        if (listed) {
            sink.Item({ItemAction::Deleted, *file, listed->size});
            if (counted) counted->CountFile(*file);
        }
    };
    for (int i = 0; i < list.Count(); ++i) purge(list.At(i));
    for (const std::string& url : unlisted) purge(url);
}

}  // namespace

void ClearUrlCache(Services& services, platform::Changes& changes, PurgeList& list,
                   CleaningSink& sink, const RunFilter* filter, CountedFolders* counted) {
    Purge(services, changes, list, sink, filter, counted, nullptr, "Cookie");
}

void ClearCookieCache(Services& services, platform::Changes& changes, PurgeList& list,
                      CleaningSink& sink, const RunFilter* filter, CountedFolders* counted,
                      const CookieKeepList* keep) {
    // The library lists cookie entries only when asked for them by their pattern.
    Purge(services, changes, list, sink, filter, counted, platform::kCookieEntries, "http", keep);
}

std::vector<std::string> KeptCookieFiles(Services& services, const CookieKeepList& keep) {
    std::vector<std::string> files;
    ForEachEntry(services, platform::kCookieEntries, [&](const std::string& url) {
        if (url.empty() || !keep.KeeperOf(url)) return;
        if (std::optional<std::string> file = services.urlCache.LocalFile(url))
            if (!file->empty()) files.push_back(std::move(*file));
    });
    return files;
}

}  // namespace olvex

#include "fakes/FakeCache.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace fakes {

namespace {

// What would be an access violation in the real program ends the test program too, loudly.
[[noreturn]] void Fault(const char* what, uintptr_t address, uint32_t length) {
    std::fprintf(stderr, "FakeMemory: %s of %u bytes at 0x%llx touches inaccessible memory\n", what,
                 length, static_cast<unsigned long long>(address));
    std::abort();
}

// The system never maps the lowest 64 KB, so small numbers are never valid addresses.
constexpr uintptr_t kLowestAddress = 0x10000;
constexpr uint64_t k4GB = uint64_t{1} << 32;

uint32_t Aligned(size_t n) {
    return static_cast<uint32_t>((n + 3) & ~size_t{3});
}

}  // namespace

// --- FakeMemory -----------------------------------------------------------------------------

FakeMemory::~FakeMemory() {
#if defined(__linux__)
    if (arena_) munmap(arena_, size_t{kArenaPages} * kPage);
#else
    delete[] arena_;
#endif
}

void FakeMemory::MapArena() {
    const size_t bytes = size_t{kArenaPages} * kPage;
#if defined(__linux__)
    // Reserved without access; a block's pages become readable and writable while it lives.
    int flags = MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE;
#ifdef MAP_32BIT
    flags |= MAP_32BIT;
#endif
    void* at = mmap(reinterpret_cast<void*>(0x20000000), bytes, PROT_NONE, flags, -1, 0);
    if (at == MAP_FAILED) {
        std::fprintf(stderr, "FakeMemory: cannot reserve the arena\n");
        std::abort();
    }
    arena_ = static_cast<unsigned char*>(at);
#else
    // A 32-bit host: every address is below 4 GB already. Pages are not protected here, so
    // only the checks report wrong accesses.
    arena_ = new unsigned char[bytes]();
#endif
    if (reinterpret_cast<uintptr_t>(arena_) + uint64_t{bytes} > k4GB) {
        std::fprintf(stderr, "FakeMemory: the arena does not lie below 4 GB\n");
        std::abort();
    }
    pageUsed_.assign(kArenaPages, false);
}

uintptr_t FakeMemory::Allocate(uint32_t size) {
    // As the system does, a size of 0 is refused.
    if (size == 0) return 0;
    if (refuseAfter >= 0 && allocations >= refuseAfter) return 0;
    if (!arena_) MapArena();
    const uint64_t pages = (uint64_t{size} + kPage - 1) / kPage;
    if (pages > kArenaPages) return 0;
    // First fit over the pages.
    uint32_t run = 0;
    for (uint32_t page = 0; page < kArenaPages; ++page) {
        run = pageUsed_[page] ? 0 : run + 1;
        if (run < pages) continue;
        const uint32_t first = page + 1 - run;
        for (uint32_t p = first; p <= page; ++p) pageUsed_[p] = true;
        unsigned char* base = arena_ + size_t{first} * kPage;
#if defined(__linux__)
        mprotect(base, size_t{run} * kPage, PROT_READ | PROT_WRITE);
#endif
        blocks_[reinterpret_cast<uintptr_t>(base)] = run;
        ++allocations;
        return reinterpret_cast<uintptr_t>(base);
    }
    return 0;
}

void FakeMemory::Free(uintptr_t address, uint32_t) {
    auto it = blocks_.find(address);
    if (it == blocks_.end()) return;  // as the system does with an address it did not give
    const uint32_t first =
        static_cast<uint32_t>((address - reinterpret_cast<uintptr_t>(arena_)) / kPage);
    for (uint32_t p = first; p < first + it->second; ++p) pageUsed_[p] = false;
    const size_t bytes = size_t{it->second} * kPage;
#if defined(__linux__)
    // Mapping fresh pages over the block makes them inaccessible and zero for the next one.
    mmap(reinterpret_cast<void*>(address), bytes, PROT_NONE,
         MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE | MAP_FIXED, -1, 0);
#else
    std::memset(reinterpret_cast<void*>(address), 0, bytes);
#endif
    blocks_.erase(it);
}

bool FakeMemory::Accessible(uintptr_t address, uint32_t length) const {
    if (length == 0) return true;
    if (address < kLowestAddress || address > UINTPTR_MAX - (length - 1)) return false;
    if (!arena_) return true;
    const uintptr_t begin = reinterpret_cast<uintptr_t>(arena_);
    const uintptr_t end = begin + size_t{kArenaPages} * kPage;
    const uintptr_t last = address + (length - 1);
    if (last < begin || address >= end) return true;  // the test's own memory
    if (address < begin || last >= end) return false;
    for (uintptr_t p = (address - begin) / kPage; p <= (last - begin) / kPage; ++p) {
        if (!pageUsed_[p]) return false;
    }
    return true;
}

bool FakeMemory::CanReadString(uintptr_t address, uint32_t max) {
    for (uint32_t i = 0; i < max; ++i) {
        if (!Accessible(address + i, 1)) return false;
        if (*reinterpret_cast<const char*>(address + i) == '\0') return true;
    }
    return true;
}

std::string FakeMemory::ReadString(uintptr_t address, uint32_t max) {
    std::string text;
    for (uint32_t i = 0; i < max; ++i) {
        if (!Accessible(address + i, 1)) Fault("string read", address, i + 1);
        const char c = *reinterpret_cast<const char*>(address + i);
        if (c == '\0') break;
        text += c;
    }
    return text;
}

void FakeMemory::Copy(uintptr_t to, uintptr_t from, uint32_t length) {
    if (length == 0) return;
    if (!Accessible(from, length)) Fault("copy from", from, length);
    if (!Accessible(to, length)) Fault("copy to", to, length);
    std::memmove(reinterpret_cast<void*>(to), reinterpret_cast<const void*>(from), length);
}

// --- FakeUrlCache ---------------------------------------------------------------------------

void FakeUrlCache::Add(const std::string& url) {
    Entry entry;
    entry.url = url;
    const std::string n = std::to_string(entries_.size());
    std::string content;
    if (url.rfind("Cookie:", 0) == 0) {
        entry.type = kCookieEntry;
        entry.localFile = "C:\\Documents and Settings\\Jo\\Cookies\\entry" + n + "[1].txt";
        entry.extension = "txt";
        content = "cookie " + url;
    } else if (url.rfind("Visited:", 0) == 0) {
        entry.type = kHistoryEntry;
    } else {
        entry.localFile =
            "C:\\Documents and Settings\\Jo\\Local Settings\\Temporary Internet "
            "Files\\Content.IE5\\0XK3P1QZ\\entry" +
            n + "[1].htm";
        entry.headers = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
        entry.extension = "htm";
        content = "page " + url;
    }
    if (files_ && !entry.localFile.empty())
        files_->AddFile(entry.localFile, platform::kAttrArchive, content);
    Put(entry);
}

void FakeUrlCache::AddNaming(const std::string& url, const std::string& localFile) {
    Entry entry;
    entry.url = url;
    entry.localFile = localFile;
    if (url.rfind("Cookie:", 0) == 0) entry.type = kCookieEntry;
    if (url.rfind("Visited:", 0) == 0) entry.type = kHistoryEntry;
    Put(entry);
}

void FakeUrlCache::Put(const Entry& entry) {
    auto it = byUrl_.find(entry.url);
    if (it != byUrl_.end()) {
        entries_[it->second] = entry;
        return;
    }
    byUrl_[entry.url] = entries_.size();
    entries_.push_back(entry);
}

std::vector<std::string> FakeUrlCache::Urls() const {
    std::vector<std::string> urls;
    for (const Entry& entry : entries_) {
        if (entry.present) urls.push_back(entry.url);
    }
    return urls;
}

uint32_t FakeUrlCache::SizeOf(const std::string& url) const {
    return Size(entries_.at(byUrl_.at(url)));
}

uint32_t FakeUrlCache::Size(const Entry& entry) {
    uint32_t size = kHeadSize + Aligned(entry.url.size() + 1);
    if (!entry.localFile.empty()) size += Aligned(entry.localFile.size() + 1);
    if (!entry.headers.empty()) size += Aligned(entry.headers.size());
    if (!entry.extension.empty()) size += Aligned(entry.extension.size() + 1);
    return size;
}

size_t FakeUrlCache::NextFrom(size_t at, uint32_t type) const {
    while (at < entries_.size() && !(entries_[at].present && entries_[at].type == type)) ++at;
    return at;
}

namespace {
// The kind of entry a search pattern lists; 0 for a pattern the library does not know.
uint32_t TypeListedBy(const char* pattern) {
    if (!pattern) return kNormalEntry;
    std::string lower(pattern);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == "cookie:") return kCookieEntry;
    if (lower == "visited:") return kHistoryEntry;
    return 0;
}
}  // namespace

bool FakeUrlCache::Fetch(size_t at, uintptr_t buffer, uint32_t& size) const {
    const Entry& entry = entries_[at];
    const uint32_t needed = Size(entry);
    if (buffer == 0 || size < needed) {
        size = needed;
        return false;
    }
    if (buffer + uint64_t{needed} > k4GB)
        Fault("entry head (32-bit addresses) write", buffer, needed);
    unsigned char* out = reinterpret_cast<unsigned char*>(buffer);
    std::memset(out, 0, needed);
    auto put = [out](uint32_t offset, uint64_t value) {
        const uint32_t word = static_cast<uint32_t>(value);
        std::memcpy(out + offset, &word, sizeof word);
    };
    uint32_t at32 = kHeadSize;
    auto append = [&](const std::string& text, bool withNul) {
        const uint32_t where = at32;
        std::memcpy(out + where, text.data(), text.size());
        at32 += Aligned(text.size() + (withNul ? 1 : 0));
        return buffer + where;
    };
    put(0, kHeadSize);
    put(4, append(entry.url, true));
    if (!entry.localFile.empty()) put(8, append(entry.localFile, true));
    put(12, entry.type);
    put(16, 1);                                       // use count
    put(20, 1);                                       // hit rate
    put(24, entry.type == kHistoryEntry ? 0 : 2048);  // size of the data file, low word
    // Last-modified, last-access and last-sync times; the expiry stays 0.
    for (uint32_t offset : {32u, 48u, 56u}) {
        put(offset, 0xD6000000u);
        put(offset + 4, 0x01D2A3B4u);
    }
    if (!entry.headers.empty()) {
        put(64, append(entry.headers, false));
        put(68, entry.headers.size());
    }
    if (!entry.extension.empty()) put(72, append(entry.extension, true));
    size = needed;
    return true;
}

uintptr_t FakeUrlCache::FindFirst(const char* pattern, uintptr_t buffer, uint32_t& size) {
    const uint32_t type = TypeListedBy(pattern);
    const size_t at = NextFrom(0, type);
    if (at == entries_.size()) {
        size = 0;
        return 0;
    }
    if (!Fetch(at, buffer, size)) return 0;
    const uintptr_t handle = nextHandle_++;
    cursors_[handle] = Cursor{at + 1, type};
    ++enumerations;
    return handle;
}

bool FakeUrlCache::FindNext(uintptr_t handle, uintptr_t buffer, uint32_t& size) {
    auto cursor = cursors_.find(handle);
    if (cursor == cursors_.end()) return false;
    const size_t at = NextFrom(cursor->second.at, cursor->second.type);
    if (at == entries_.size()) {
        size = 0;
        return false;
    }
    if (!Fetch(at, buffer, size)) {
        // A caller that keeps asking for an entry it cannot take would never end; say so
        // instead of hanging the test.
        if (++stalledCalls_ > 1000) {
            std::fprintf(stderr, "FakeUrlCache: the same entry was asked for 1000 times\n");
            std::abort();
        }
        return false;
    }
    stalledCalls_ = 0;
    cursor->second.at = at + 1;
    return true;
}

void FakeUrlCache::FindClose(uintptr_t handle) {
    cursors_.erase(handle);
    if (onClose) onClose();
}

namespace {
// A path as the system's path parsing reads it: "." dropped, ".." taking the name before it
// away (never the drive).
std::string Parsed(const std::string& path) {
    std::vector<std::string> names;
    size_t start = 0;
    for (;;) {
        const size_t cut = path.find_first_of("\\/", start);
        const std::string name = path.substr(start, cut == std::string::npos ? cut : cut - start);
        if (name == "..") {
            if (names.size() > 1) names.pop_back();
        } else if (!name.empty() && name != ".") {
            names.push_back(name);
        }
        if (cut == std::string::npos) break;
        start = cut + 1;
    }
    std::string parsed;
    for (const std::string& name : names) parsed += (parsed.empty() ? "" : "\\") + name;
    return parsed;
}
}  // namespace

bool FakeUrlCache::DeleteEntry(const std::string& url, platform::SystemCode* why) {
    deleted.push_back(url);
    auto it = byUrl_.find(url);
    if (it == byUrl_.end() || !entries_[it->second].present) {
        if (why) *why = {platform::SystemCode::Kind::Win32, 2};  // ERROR_FILE_NOT_FOUND
        return false;
    }
    Entry& entry = entries_[it->second];
    entry.present = false;
    if (files_ && !entry.localFile.empty()) files_->DeleteByPath(Parsed(entry.localFile));
    return true;
}

std::optional<std::string> FakeUrlCache::LocalFile(const std::string& url) {
    auto it = byUrl_.find(url);
    if (it == byUrl_.end() || !entries_[it->second].present) return std::nullopt;
    return entries_[it->second].localFile;
}

}  // namespace fakes

// Seeds and lists the URL cache index of the Wine prefix it runs in, so the end-to-end tests
// can give the cache purge real entries and see afterwards which of them are left.
//
//   seedcache add URL...     creates one committed entry per URL: "Cookie:user@host/" makes a
//                            cookie entry, "Visited:user@http://..." a history entry, anything
//                            else an ordinary cache entry; cookie and ordinary entries get a
//                            small data file, as the browser's own entries have
//   seedcache add-file URL PATH
//                            commits an entry of URL's kind whose local file is PATH, as any
//                            program may: Wine's library takes a PATH that starts with the
//                            entry's cache folder (and, for ordinary entries, one of its
//                            subfolders) and keeps the rest as given, ".." included
//   seedcache list           prints the address of every entry, one a line
//   seedcache list --long    also the entry type, the size of the entry's fixed head, the
//                            offset of the address in the entry, the entry's size and its file
//
// Exit status: 0 done, 1 a cache call failed (the reason on stderr), 2 a wrong command line.
// clang-format off
#include <windows.h>
#include <wininet.h>
// clang-format on

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
    return text.compare(0, std::strlen(prefix), prefix) == 0;
}

DWORD EntryTypeFor(const std::string& url) {
    if (StartsWith(url, "Cookie:")) return COOKIE_CACHE_ENTRY;
    if (StartsWith(url, "Visited:")) return URLHISTORY_CACHE_ENTRY;
    return NORMAL_CACHE_ENTRY;
}

int Fail(const char* call, const std::string& url) {
    std::fprintf(stderr, "seedcache: %s failed for %s: error %lu\n", call, url.c_str(),
                 static_cast<unsigned long>(::GetLastError()));
    return 1;
}

bool WriteFileText(const char* path, const std::string& text) {
    HANDLE file = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok =
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == text.size();
}

int Commit(const std::string& url, const char* localFile) {
    const DWORD type = EntryTypeFor(url);
    static const char kHeaders[] = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n";
    const FILETIME never{};
    if (!::CommitUrlCacheEntryA(url.c_str(), localFile, never, never, type,
                                reinterpret_cast<LPBYTE>(const_cast<char*>(kHeaders)),
                                type == NORMAL_CACHE_ENTRY ? sizeof kHeaders - 1 : 0, nullptr,
                                nullptr))
        return Fail("CommitUrlCacheEntryA", url);
    return 0;
}

int Add(const std::string& url) {
    const DWORD type = EntryTypeFor(url);
    char localFile[MAX_PATH] = "";
    if (type != URLHISTORY_CACHE_ENTRY) {
        const std::string content = type == COOKIE_CACHE_ENTRY
                                        ? "seed\n1\n" + url.substr(url.find('@') + 1) + "\n0\n"
                                        : "<html><body>" + url + "</body></html>\n";
        if (!::CreateUrlCacheEntryA(url.c_str(), static_cast<DWORD>(content.size()),
                                    type == COOKIE_CACHE_ENTRY ? "txt" : nullptr, localFile, 0))
            return Fail("CreateUrlCacheEntryA", url);
        if (!WriteFileText(localFile, content)) return Fail("WriteFile", url);
    }
    return Commit(url, localFile[0] ? localFile : nullptr);
}

// Fetches the next entry the way the program does: a size query without a buffer, then the
// entry into a buffer of exactly the reported size. False at the end of the index.
bool Fetch(HANDLE& find, std::vector<char>& buffer, bool& failed) {
    for (;;) {
        DWORD size = 0;
        const bool first = find == nullptr;
        if (first ? ::FindFirstUrlCacheEntryA(nullptr, nullptr, &size) != nullptr
                  : ::FindNextUrlCacheEntryA(find, nullptr, &size) != 0) {
            failed = true;  // an entry of no size cannot be
            std::fprintf(stderr, "seedcache: the size query succeeded without a buffer\n");
            return false;
        }
        const DWORD error = ::GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER) {
            failed = error != ERROR_NO_MORE_ITEMS;
            if (failed) {
                std::fprintf(stderr, "seedcache: listing failed: error %lu\n",
                             static_cast<unsigned long>(error));
            }
            return false;
        }
        buffer.assign(size, 0);
        auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        if (first) {
            find = ::FindFirstUrlCacheEntryA(nullptr, entry, &size);
            if (find != nullptr) return true;
        } else if (::FindNextUrlCacheEntryA(find, entry, &size)) {
            return true;
        }
        // The entry changed between the two calls: ask again. (The last error is read only
        // after a failure: a successful first call may leave the size query's error behind.)
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
            failed = true;
            std::fprintf(stderr, "seedcache: fetching an entry failed: error %lu\n",
                         static_cast<unsigned long>(::GetLastError()));
            return false;
        }
    }
}

int List(bool verbose) {
    HANDLE find = nullptr;
    std::vector<char> buffer;
    bool failed = false;
    while (Fetch(find, buffer, failed)) {
        const auto* entry = reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        const char* url = entry->lpszSourceUrlName ? entry->lpszSourceUrlName : "";
        if (verbose) {
            std::printf("0x%08lx\t%lu\t%ld\t%lu\t%s\t%s\n",
                        static_cast<unsigned long>(entry->CacheEntryType),
                        static_cast<unsigned long>(entry->dwStructSize),
                        static_cast<long>(url - buffer.data()),
                        static_cast<unsigned long>(buffer.size()),
                        entry->lpszLocalFileName ? entry->lpszLocalFileName : "", url);
        } else {
            std::printf("%s\n", url);
        }
    }
    if (find) ::FindCloseUrlCache(find);
    return failed ? 1 : 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: seedcache add URL... | seedcache add-file URL PATH | seedcache list "
                 "[--long]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    const std::string command = argv[1];
    if (command == "add" && argc > 2) {
        for (int i = 2; i < argc; ++i) {
            if (const int status = Add(argv[i])) return status;
        }
        return 0;
    }
    if (command == "add-file" && argc == 4) return Commit(argv[2], argv[3]);
    if (command == "list" && argc == 2) return List(false);
    if (command == "list" && argc == 3 && std::strcmp(argv[2], "--long") == 0) return List(true);
    return Usage();
}

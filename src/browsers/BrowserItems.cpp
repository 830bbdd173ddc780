#include "browsers/BrowserItems.h"

#include "browsers/ChromeProfiles.h"
#include "browsers/ChromeRows.h"
#include "browsers/CookieRows.h"
#include "browsers/CookieText.h"
#include "browsers/DatabaseRows.h"
#include "browsers/FirefoxProfiles.h"
#include "browsers/PlacesRows.h"
#include "guard/DeletionGuard.h"

namespace olvex {

namespace {

void DeleteFiles(RuleRun& run, const std::string& pattern) {
    DeleteFilesNamed(run.services.files, run.changes, pattern, run.sink, run.filter, run.counted);
}

// Passes all a step tells on, noting whether a file was deleted (or, in a preview, would be).
class DeletionWatch : public CleaningSink {
  public:
    explicit DeletionWatch(CleaningSink& sink) : sink_(sink) {}
    bool WantsPaths() const override { return sink_.WantsPaths(); }
    void Item(const CleanedItem& item) override {
        deleted = deleted || item.action == ItemAction::Deleted;
        sink_.Item(item);
    }
    void Problem(const StepProblem& problem) override { sink_.Problem(problem); }
    void Looked(const std::string& path) override { sink_.Looked(path); }
    bool LooksOnly() const override { return sink_.LooksOnly(); }
    bool deleted = false;

  private:
    CleaningSink& sink_;
};

// A database goes whole: the file, then its write-ahead log, its shared-memory index and its
// rollback journal. Those hold what the database does not hold yet, so they go only once the
// database itself went (in a preview, would go), or was not there at all; a database that
// stays keeps them.
void DeleteDatabase(RuleRun& run, const std::string& path) {
    const bool there = run.services.files.GetAttributes(path) != platform::kInvalidAttributes;
    DeletionWatch watch(run.sink);
    DeleteFilesNamed(run.services.files, run.changes, path, watch, run.filter, run.counted);
    if (run.sink.LooksOnly() || (there && !watch.deleted)) return;
    for (const char* companion : {"-wal", "-shm", "-journal"}) DeleteFiles(run, path + companion);
}

bool KeepsCookies(RuleRun& run) {
    return run.keepCookies && !run.keepCookies->Empty();
}

// A file that holds every cookie of its browser together, and is not read to keep some (a
// binary cookies4.dat): while cookies are kept, it stays whole.
void CookieFile(RuleRun& run, const std::string& path) {
    if (!KeepsCookies(run)) return DeleteFiles(run, path);
    if (run.sink.LooksOnly() ||
        run.services.files.GetAttributes(path) == platform::kInvalidAttributes)
        return;
    run.sink.Item({ItemAction::Stayed, run.sink.WantsPaths() ? TidyPath(path) : "", 0,
                   reason::kCookiesInOneFile});
}

// Firefox 3 on: cookies.sqlite goes whole, or, while cookies are kept, loses the others' rows.
void FirefoxCookieDatabase(RuleRun& run, const std::string& path) {
    if (KeepsCookies(run)) return ClearCookieRows(run, path, kFirefoxCookies);
    DeleteDatabase(run, path);
}

void ChromeCookies(RuleRun& run, const std::string& path) {
    ClearCookieRows(run, path, kChromeCookies);
}

// The history of Firefox 3 on, and the download list of 26 on, are rows of places.sqlite,
// beside the bookmarks; the file itself is never deleted.
template <PlacesPart part>
void ClearPlaces(RuleRun& run, const std::string& path) {
    ClearDatabaseRows(
        run, path,
        {IsPlacesDatabase, [](platform::Database& db) { return MarkPlacesRows(db, part); },
         [](platform::Database& db) { DeleteMarkedPlacesRows(db, part); }});
}

// Where an item lies: in the profile, or in its local part (the NT family keeps caches
// under the local application data, in a folder named as the profile).
enum class Part { Roaming, Local };
enum class Kind {
    Files,      // the files a pattern names
    Database,   // a database, whole
    Tree,       // a folder's contents at every depth
    History,    // the history's rows of places.sqlite
    Downloads,  // the download list's rows of places.sqlite
    Cookies,    // the cookies' database, whole or, while cookies are kept, by rows
    CookieFile, // the cookies' one file, whole, or kept whole while cookies are kept
    CookieText, // Cookies.txt, whole or, while cookies are kept, written anew with theirs
};

// One browser item: a file, pattern, database or folder.
struct Item {
    const char* id;
    Part part;
    Kind kind;
    const char* name;
    bool later = false;  // a file of Firefox 3 or later, which runs on 2000 and XP only
};

// Firefox names follow the profile folder, which has no trailing "\".
// clang-format off
const Item kFirefoxItems[] = {
    // 1.x and 2.x
    {"firefox-cookies",   Part::Roaming, Kind::CookieText, "\\Cookies.txt"},
    {"firefox-passwords", Part::Roaming, Kind::Files,    "\\signons.txt"},
    {"firefox-forms",     Part::Roaming, Kind::Files,    "\\formhistory.dat"},
    {"firefox-history",   Part::Roaming, Kind::Files,    "\\HIStory.dat"},
    {"firefox-downloads", Part::Roaming, Kind::Files,    "\\downloads.rdf"},
    // 3.0 to 52: the cache of 3.0 to 31, that of 32 on, the offline and start-up caches
    {"firefox-cache",     Part::Local,   Kind::Tree,     "\\Cache", true},
    {"firefox-cache",     Part::Local,   Kind::Tree,     "\\cache2", true},
    {"firefox-cache",     Part::Local,   Kind::Tree,     "\\OfflineCache", true},
    {"firefox-cache",     Part::Local,   Kind::Tree,     "\\startupCache", true},
    // 1.x and 2.x; after the local part, which is the profile itself for a profile kept
    // elsewhere: its cache is then emptied whole, and counted once in a preview
    {"firefox-cache",     Part::Roaming, Kind::Files,    "\\Cache\\*"},
    {"firefox-cookies",   Part::Roaming, Kind::Cookies,  "\\cookies.sqlite", true},
    // 3.0, 3.5 to 31, 32 on; the key that encrypts them (key3.db) stays
    {"firefox-passwords", Part::Roaming, Kind::Files,    "\\signons2.txt", true},
    {"firefox-passwords", Part::Roaming, Kind::Files,    "\\signons3.txt", true},
    {"firefox-passwords", Part::Roaming, Kind::Database, "\\signons.sqlite", true},
    {"firefox-passwords", Part::Roaming, Kind::Files,    "\\logins.json", true},
    {"firefox-forms",     Part::Roaming, Kind::Database, "\\formhistory.sqlite", true},
    {"firefox-history",   Part::Roaming, Kind::History,  "\\places.sqlite", true},
    // 3.0 to 25, and 26 on
    {"firefox-downloads", Part::Roaming, Kind::Database, "\\downloads.sqlite", true},
    {"firefox-downloads", Part::Roaming, Kind::Downloads, "\\places.sqlite", true},
};
// clang-format on

// Why a profile must stay, from how its browser holds its lock: running tells the held one.
const char* WhyLockStays(platform::FileHold hold, const char* running) {
    switch (hold) {
        case platform::FileHold::Held:
            return running;
        case platform::FileHold::Unknown:
            return reason::kUnknownUse;
        default:
            return nullptr;
    }
}

// The profiles whose Firefox is running: it holds parent.lock open and shares it with nobody.
const char* FirefoxRunning(RuleRun& run, const std::string& profile) {
    const FirefoxFolder roaming = FirefoxFolderOf(run.family);
    const std::string lock =
        PathInProfile(run, roaming.base, roaming.tail + kEachProfile + "\\parent.lock", profile);
    // Where the lock cannot be found, the local part may still be: it waits all the same.
    if (lock.empty()) return reason::kUnknownUse;
    return WhyLockStays(run.services.files.HoldOf(lock, platform::HoldProbe::Read),
                        "Firefox is running");
}

RuleAction ActionOf(Kind kind, RuleAction sweepTree) {
    switch (kind) {
        case Kind::Database:
            return DeleteDatabase;
        case Kind::Tree:
            return sweepTree;
        case Kind::History:
            return ClearPlaces<PlacesPart::History>;
        case Kind::Downloads:
            return ClearPlaces<PlacesPart::Downloads>;
        case Kind::Cookies:
            return FirefoxCookieDatabase;
        case Kind::CookieFile:
            return CookieFile;
        case Kind::CookieText:
            return CleanCookieText;
        default:
            return DeleteFiles;
    }
}

CategoryRows FirefoxRows(const std::string& id, Family family, RuleAction sweepTree) {
    const FirefoxFolder roaming = FirefoxFolderOf(family);
    CategoryRows rows;
    rows.profiles = family == Family::NT ? FirefoxProfilesNt : FirefoxProfiles98;
    rows.inUse = FirefoxRunning;
    for (const Item& item : kFirefoxItems) {
        if (id != item.id || (family != Family::NT && item.later)) continue;
        const RuleAction action = ActionOf(item.kind, sweepTree);
        const std::string inProfile = std::string(kEachProfile) + item.name;
        rows.rows.push_back(
            item.part == Part::Roaming
                ? CleaningRule{action, roaming.base, roaming.tail + inProfile}
                : CleaningRule{action, BaseFolder::LocalAppData, kFirefoxTail + inProfile});
    }
    return rows;
}

// The Opera profile: in the user's application data on NT, in the installation on 98.
// Versions 7 to 9.2 keep it in "profile", 9.5 adds the typed and global histories there, and
// 10 to 12 keep the same files one folder up, their caches in the local part.
// clang-format off
const Item kOperaItems[] = {
    {"opera-cache",         Part::Roaming, Kind::Files, "profile\\Cache4\\*"},
    {"opera-cookies",       Part::Roaming, Kind::CookieFile, "profile\\Cookies4.dat"},
    {"opera-passwords",     Part::Roaming, Kind::Files, "profile\\wand.dat"},
    {"opera-history",       Part::Roaming, Kind::Files, "profile\\global.dat"},
    {"opera-downloads",     Part::Roaming, Kind::Files, "profile\\download.dat"},
    {"opera-visited-links", Part::Roaming, Kind::Files, "profile\\vlink4.dat"},
    {"opera-history",       Part::Roaming, Kind::Files, "profile\\global_history.dat"},
    {"opera-history",       Part::Roaming, Kind::Files, "profile\\typed_history.xml"},
    {"opera-cache",         Part::Local,   Kind::Tree,  "cache"},
    {"opera-cache",         Part::Local,   Kind::Tree,  "opcache"},
    {"opera-cookies",       Part::Roaming, Kind::CookieFile, "cookies4.dat"},
    {"opera-passwords",     Part::Roaming, Kind::Files, "wand.dat"},
    {"opera-history",       Part::Roaming, Kind::Files, "global_history.dat"},
    {"opera-history",       Part::Roaming, Kind::Files, "typed_history.xml"},
    {"opera-downloads",     Part::Roaming, Kind::Files, "download.dat"},
    {"opera-visited-links", Part::Roaming, Kind::Files, "vlink4.dat"},
};
// clang-format on

CategoryRows OperaRows(const std::string& id, Family family, RuleAction sweepTree) {
    const bool nt = family == Family::NT;
    CategoryRows rows;
    for (const Item& item : kOperaItems) {
        const std::string name = item.name;
        // The 98 family keeps the single profile of its installation.
        if (id != item.id || (!nt && name.rfind("profile\\", 0) != 0)) continue;
        if (!nt)
            rows.rows.push_back(
                {ActionOf(item.kind, sweepTree), BaseFolder::ProgramFiles, "opera\\" + name});
        else
            rows.rows.push_back(
                {ActionOf(item.kind, sweepTree),
                 item.part == Part::Local ? BaseFolder::LocalAppData : BaseFolder::AppData,
                 "Opera\\Opera\\" + name});
    }
    return rows;
}

// Chrome 1 to 49 keep everything in the profile's folder of User Data, in the local part.
template <ChromeDatabase part>
void ClearChrome(RuleRun& run, const std::string& path) {
    ClearDatabaseRows(run, path, ChromeRowClearing(part));
}

struct ChromeItem {
    const char* id;
    RuleAction action;  // nullptr: the folder's contents at every depth
    const char* name;
};

// clang-format off
const ChromeItem kChromeItems[] = {
    {"chrome-cache",     nullptr,                                  "Cache"},
    {"chrome-cache",     nullptr,                                  "Media Cache"},
    {"chrome-cache",     nullptr,                                  "GPUCache"},
    {"chrome-cache",     nullptr,                                  "Application Cache"},
    {"chrome-cookies",   ChromeCookies,                            "Cookies"},
    {"chrome-history",   ClearChrome<ChromeDatabase::History>,     "History"},
    {"chrome-history",   DeleteDatabase,                           "Archived History"},
    {"chrome-history",   DeleteFiles,                              "History Index *"},
    {"chrome-history",   DeleteFiles,                              "Visited Links"},
    {"chrome-history",   DeleteDatabase,                           "Top Sites"},
    {"chrome-history",   DeleteDatabase,                           "Thumbnails"},
    {"chrome-passwords", ClearChrome<ChromeDatabase::Passwords>,   "Login Data"},
    {"chrome-forms",     ClearChrome<ChromeDatabase::Forms>,       "Web Data"},
    {"chrome-downloads", ClearChrome<ChromeDatabase::Downloads>,   "History"},
};
// clang-format on

// A running Chrome holds User Data's lockfile open to write, letting others only read it.
const char* ChromeRunning(RuleRun& run, const std::string&) {
    const std::string lock =
        PathInProfile(run, BaseFolder::LocalAppData, std::string(kChromeUserData) + "lockfile", "");
    if (lock.empty()) return reason::kUnknownUse;
    return WhyLockStays(run.services.files.HoldOf(lock, platform::HoldProbe::Write),
                        "Chrome is running");
}

CategoryRows ChromeRows(const std::string& id, Family family, RuleAction sweepTree) {
    CategoryRows rows;
    // Chrome never ran on the 98 family.
    if (family != Family::NT) return rows;
    rows.profiles = ChromeProfiles;
    rows.inUse = ChromeRunning;
    for (const ChromeItem& item : kChromeItems)
        if (id == item.id)
            rows.rows.push_back({item.action ? item.action : sweepTree, BaseFolder::LocalAppData,
                                 std::string(kChromeUserData) + kEachProfile + "\\" + item.name});
    return rows;
}

}  // namespace

CategoryRows BrowserRows(const std::string& id, Family family, RuleAction sweepTree) {
    if (family == Family::Unsupported) return {};
    CategoryRows rows = FirefoxRows(id, family, sweepTree);
    if (rows.rows.empty()) rows = OperaRows(id, family, sweepTree);
    if (rows.rows.empty()) rows = ChromeRows(id, family, sweepTree);
    return rows;
}

}  // namespace olvex

// The history and download list inside places.sqlite, cleared through the console on real
// databases with the tables Firefox 3.0 and Firefox 45 wrote: each category deletes its own
// rows, every bookmark and keyword stays, a preview counts what the clean deletes and changes
// no byte, and a database that is damaged, foreign, linked or swapped is left as it is.
#include <gtest/gtest.h>

#include <cstring>
#include <set>

#include "browsers/DatabaseRows.h"
#include "console/ConsoleProgram.h"
#include "console/ExitCodes.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"
#include "database_data.h"
#include "sqlite3.h"

namespace {

using namespace olvex;

const std::string kProfile =
    "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\Profiles\\x.default\\";
const std::string kPlaces = kProfile + "places.sqlite";

// places.sqlite of Firefox 3.0 and of 45 (tests/data/places): its pages are described there.
std::string PlacesOf(bool firefox45, const std::string& more) {
    return fakes::DatabaseFileOf(std::string(firefox45 ? kFirefox45Places : kFirefox3Places) +
                                 more);
}

struct PlacesMachine {
    explicit PlacesMachine(bool firefox45, const std::string& more = "") {
        rig.SetWindows("winxp");
        rig.files.AddFolder("C:\\Program Files\\Mozilla Firefox");
        rig.profiles.Write(
            "C:\\Documents and Settings\\Jo\\Application Data\\Mozilla\\Firefox\\profiles.ini",
            "[Profile0]\nName=default\nIsRelative=1\nPath=Profiles/x.default\n");
        rig.files.AddFile(kPlaces, platform::kAttrArchive, PlacesOf(firefox45, more));
    }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    std::set<std::string> Ask(const std::string& query) const {
        return fakes::RowsOf(rig.files.Content(kPlaces), query);
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// One rule per row: which rows each category leaves, on each version's tables. Every bookmark
// stays, and SQLite finds the database whole, after each.
TEST(PlacesHistory, EachCategoryDeletesOnlyItsOwnRowsAndEveryBookmarkStays) {
    struct Case {
        const char* rule;
        const char* id;
        bool firefox45;
        const char* query;
        std::set<std::string> left;
    };
    const char* const history = "firefox-history";
    const char* const downloads = "firefox-downloads";
    // clang-format off
    const Case cases[] = {
        {"the history keeps bookmarked, keyword, counted and downloaded pages", history, true,
         "SELECT id FROM moz_places", {"1", "3", "4", "5", "7"}},
        {"in 3.0 a keyword is a bookmark's, and nothing counts other uses", history, false,
         "SELECT id FROM moz_places", {"1", "3", "4", "5"}},
        {"the history takes every visit but the downloads'", history, true,
         "SELECT id, from_visit FROM moz_historyvisits", {"4|0", "6|0"}},
        {"the history takes everything typed", history, true,
         "SELECT place_id FROM moz_inputhistory", {}},
        {"a page the history keeps shows no visit and was never typed", history, true,
         "SELECT id, visit_count, typed, last_visit_date, frecency FROM moz_places WHERE id < 5",
         {"1|0|0|-|-1", "3|0|0|400|0", "4|0|0|600|-1"}},
        {"an icon goes with its last page", history, true, "SELECT id FROM moz_favicons", {"1"}},
        {"a host goes with its last page, with or without www.; one that had none is not ours",
         history, true, "SELECT host FROM moz_hosts",
         {"kept.example", "dl.example", "both.example", "stale.example"}},
        {"the history keeps the downloads' annotations, a gone page's go", history, true,
         "SELECT id FROM moz_annos", {"1", "2", "3", "5"}},
        {"the downloads take the pages only they kept", downloads, true,
         "SELECT id FROM moz_places", {"1", "2", "4", "5", "6", "7", "8"}},
        {"the downloads take their visits and annotations only", downloads, true,
         "SELECT 'v' || id FROM moz_historyvisits UNION SELECT 'a' || id FROM moz_annos",
         {"v1", "v2", "v3", "v5", "v7", "a4", "a5"}},
        {"the downloads leave the typed input and the history's hosts", downloads, true,
         "SELECT place_id FROM moz_inputhistory UNION SELECT host FROM moz_hosts",
         {"1", "2", "kept.example", "only.example", "both.example", "stale.example"}},
        {"a page the downloads keep shows its last visit left", downloads, true,
         "SELECT id, visit_count, last_visit_date FROM moz_places WHERE id = 4", {"4|1|500"}},
        {"the downloads take their pages in 3.0 too", downloads, false,
         "SELECT id FROM moz_places", {"1", "2", "4", "5", "6", "7", "8"}},
    };
    // clang-format on
    const char* const bookmarks =
        "SELECT id, type, fk, parent, title, keyword_id FROM moz_bookmarks";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        PlacesMachine m(c.firefox45);
        const std::set<std::string> before = m.Ask(bookmarks);
        EXPECT_EQ(m.Run({"/clean", c.id}), kExitDone) << m.console.out;
        EXPECT_EQ(m.Ask(c.query), c.left);
        EXPECT_EQ(m.Ask(bookmarks), before);
        EXPECT_EQ(m.Ask("PRAGMA integrity_check"), std::set<std::string>{"ok"});
    }
}

TEST(PlacesHistory, APreviewCountsTheRowsTheCleanDeletesAndChangesNoByte) {
    // Visits enough that deleting them frees whole pages of the file, and takes batches.
    PlacesMachine m(true,
                    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 9000)"
                    " INSERT INTO moz_historyvisits (place_id, visit_date, visit_type)"
                    " SELECT 2, 1000 + i, 1 FROM n;");
    const std::string before = m.rig.files.Content(kPlaces);
    EXPECT_EQ(m.Run({"/preview", "firefox-history", "/details"}), kExitDone);
    EXPECT_EQ(m.rig.files.Content(kPlaces), before);
    EXPECT_EQ(m.rig.databases.opened, std::vector<std::string>{"read " + kPlaces});
    // 9005 visits, 3 pages, 1 annotation, 2 typed inputs, 1 icon, 1 host.
    EXPECT_NE(m.console.out.find("would clear  " + kPlaces + "  0 bytes  (9013 rows)"),
              std::string::npos)
        << m.console.out;
    EXPECT_EQ(m.Run({"/clean", "firefox-history", "/details", "/log:C:\\x.csv"}), kExitDone);
    const uint64_t lost = before.size() - m.rig.files.Content(kPlaces).size();
    // The log tells the rows, and the run's bytes hold what the database lost.
    const std::string log = m.rig.files.Content("C:\\x.csv");
    EXPECT_NE(log.find(",cleared,"), std::string::npos) << log;
    EXPECT_NE(log.find("," + std::to_string(lost) + ",9013 rows"), std::string::npos) << log;
    EXPECT_NE(log.find("bytes=" + std::to_string(lost) + ";"), std::string::npos) << log;
    EXPECT_GT(lost, 0u) << "compacted";
    EXPECT_EQ(m.Ask("SELECT id FROM moz_historyvisits"), (std::set<std::string>{"4", "6"}))
        << "every batch deleted, the downloads' visits left";
    EXPECT_NE(m.console.out.find("cleared  " + kPlaces + "  " + std::to_string(lost) +
                                 " bytes  (9013 rows)"),
              std::string::npos)
        << m.console.out;
    // Nothing left to clear: the file is not changed again.
    const std::string cleared = m.rig.files.Content(kPlaces);
    EXPECT_EQ(m.Run({"/clean", "firefox-history", "/details"}), kExitDone);
    EXPECT_NE(m.console.out.find("(0 rows)"), std::string::npos) << m.console.out;
    EXPECT_EQ(m.rig.files.Content(kPlaces), cleared);
}

// Whatever keeps a database from being changed safely leaves every byte of it as it was.
TEST(PlacesHistory, ADatabaseNotSafeToChangeIsLeftAsItIs) {
    struct Case {
        const char* rule;
        std::function<void(PlacesMachine&)> make;
        const char* told;
    };
    const Case cases[] = {
        {"damaged",
         [](PlacesMachine& m) {
             // The first page of the first table no longer tells what kind of page it is.
             std::string bytes = m.rig.files.Content(kPlaces);
             bytes[4096] = '\x55';
             m.rig.files.SetContent(kPlaces, bytes);
         },
         reason::kDamaged},
        {"not Firefox's",
         [](PlacesMachine& m) {
             m.rig.files.SetContent(kPlaces,
                                    fakes::DatabaseFileOf("CREATE TABLE moz_places(id, url);"));
         },
         reason::kNotItsDatabase},
        {"its journal a link",
         [](PlacesMachine& m) { m.rig.files.AddFileLink(kPlaces + "-journal"); }, reason::kLink},
        {"a link itself", [](PlacesMachine& m) { m.rig.files.AddFileLink(kPlaces); },
         reason::kLink},
        {"swapped as SQLite opens it",
         [](PlacesMachine& m) {
             m.rig.databases.onOpen = [&m](const std::string& path) {
                 m.rig.files.AddFile(path, platform::kAttrArchive, m.rig.files.Content(path));
                 m.rig.databases.onOpen = nullptr;
             };
         },
         reason::kElsewhere},
        {"read-only",
         [](PlacesMachine& m) {
             m.rig.files.AddFile(kPlaces, platform::kAttrReadOnly, m.rig.files.Content(kPlaces));
         },
         reason::kReadOnly},
        {"no SQLite", [](PlacesMachine& m) { m.rig.services.databases = nullptr; },
         reason::kNoSqlite},
        {"SQLite not loaded", [](PlacesMachine& m) { m.rig.databases.libraryMissing = true; },
         "The specified module could not be found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        PlacesMachine m(true);
        c.make(m);
        const std::string before = m.rig.files.Exists(kPlaces) ? m.rig.files.Content(kPlaces) : "";
        EXPECT_EQ(m.Run({"/clean", "firefox-history", "/details"}), kExitLeftSome) << m.console.out;
        EXPECT_NE(m.console.out.find(c.told), std::string::npos) << m.console.out;
        EXPECT_EQ(m.console.out.find("cleared"), std::string::npos) << m.console.out;
        if (m.rig.files.Exists(kPlaces)) {
            EXPECT_EQ(m.rig.files.Content(kPlaces), before);
        }
    }
}

}  // namespace

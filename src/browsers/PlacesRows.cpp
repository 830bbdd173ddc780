#include "browsers/PlacesRows.h"

#include <string>
#include <vector>

namespace olvex {

namespace {

// Visits of this transition are downloads (Firefox 3.0 on).
constexpr const char* kDownloadVisit = "7";

bool HasTable(platform::Database& db, const std::string& table) {
    return db.Number("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = '" +
                     table + "'") > 0;
}

bool HasColumn(platform::Database& db, const std::string& table, const std::string& column) {
    return db.Number("SELECT count(*) FROM pragma_table_info('" + table + "') WHERE name = '" +
                     column + "'") > 0;
}

// What the version that wrote the database has of the tables and columns that tell what a
// page is used for; each came with a later version.
struct PlacesSchema {
    explicit PlacesSchema(platform::Database& db)
        : keywordPlaces(HasColumn(db, "moz_keywords", "place_id")),                       // 39
          foreignCount(HasColumn(db, "moz_places", "foreign_count")),                     // 34
          lastVisit(HasColumn(db, "moz_places", "last_visit_date")),                      // 3.x
          frecency(HasColumn(db, "moz_places", "frecency")),                              // 3.0
          typed(HasColumn(db, "moz_places", "typed")),                                    // 3.0
          annotations(HasTable(db, "moz_annos") && HasTable(db, "moz_anno_attributes")),  // 3.0
          input(HasTable(db, "moz_inputhistory")),                                        // 3.0
          icons(HasTable(db, "moz_favicons") && HasColumn(db, "moz_places", "favicon_id")),
          hosts(HasColumn(db, "moz_hosts", "host")) {}  // 11 on
    bool keywordPlaces, foreignCount, lastVisit, frecency, typed, annotations, input, icons, hosts;
};

// The temporary tables of marked rows: each holds the row ids its table's clean deletes.
const char* const kMarks[] = {"gone_visits", "gone_places", "gone_annos",
                              "gone_input",  "gone_icons",  "gone_hosts"};

std::string MarkingSql(const PlacesSchema& s, PlacesPart part) {
    const bool history = part == PlacesPart::History;
    std::string sql;
    for (const char* mark : kMarks)
        sql += std::string("DROP TABLE IF EXISTS temp.") + mark + "; CREATE TEMP TABLE " + mark +
               "(id INTEGER PRIMARY KEY);";
    sql +=
        "DROP TABLE IF EXISTS temp.download_annos; CREATE TEMP TABLE download_annos"
        "(id INTEGER PRIMARY KEY);"
        "DROP TABLE IF EXISTS temp.touched; CREATE TEMP TABLE touched(id INTEGER PRIMARY KEY);";
    sql += std::string("INSERT INTO gone_visits SELECT id FROM moz_historyvisits WHERE ") +
           (history ? "visit_type IS NOT " : "visit_type = ") + kDownloadVisit + ";";
    // From 26 on, the download list is a page's annotations "downloads/...".
    if (s.annotations)
        sql +=
            "INSERT INTO download_annos SELECT a.id FROM moz_annos a JOIN moz_anno_attributes n "
            "ON n.id = a.anno_attribute_id WHERE n.name LIKE 'downloads/%';";
    // The pages that lose a visit or an annotation: they stay with fewer, or go.
    sql +=
        "INSERT OR IGNORE INTO touched SELECT place_id FROM moz_historyvisits "
        "WHERE id IN gone_visits;";
    if (!history && s.annotations)
        sql +=
            "INSERT OR IGNORE INTO touched SELECT place_id FROM moz_annos "
            "WHERE id IN download_annos;";
    // The history takes every page nothing else uses; the downloads only pages they used.
    sql += std::string("INSERT INTO gone_places SELECT p.id FROM moz_places p WHERE ") +
           (history ? "1" : "p.id IN touched") +
           " AND NOT EXISTS (SELECT 1 FROM moz_historyvisits v WHERE v.place_id = p.id AND "
           "v.id NOT IN gone_visits)"
           " AND NOT EXISTS (SELECT 1 FROM moz_bookmarks b WHERE b.fk = p.id)";
    if (s.keywordPlaces)
        sql += " AND NOT EXISTS (SELECT 1 FROM moz_keywords k WHERE k.place_id = p.id)";
    if (s.foreignCount) sql += " AND p.foreign_count = 0";
    if (history && s.annotations)
        sql +=
            " AND NOT EXISTS (SELECT 1 FROM moz_annos a WHERE a.place_id = p.id AND "
            "a.id IN download_annos)";
    sql += ";";
    if (s.annotations)
        sql += std::string(
                   "INSERT INTO gone_annos SELECT id FROM moz_annos WHERE place_id IN "
                   "gone_places") +
               (history ? "" : " OR id IN download_annos") + ";";
    // What was typed in the address bar is history; a download's page takes its own along.
    if (s.input)
        sql += std::string("INSERT INTO gone_input SELECT rowid FROM moz_inputhistory") +
               (history ? "" : " WHERE place_id IN gone_places") + ";";
    // An icon goes with the last page that showed it.
    if (s.icons)
        sql +=
            "INSERT INTO gone_icons SELECT f.id FROM moz_favicons f WHERE f.id IN "
            "(SELECT favicon_id FROM moz_places WHERE id IN gone_places) AND NOT EXISTS "
            "(SELECT 1 FROM moz_places p WHERE p.favicon_id = f.id AND p.id NOT IN gone_places);";
    // A host the address bar completes goes with the last page on it. Pages keep their host
    // reversed and ending with a dot ("moc.elpmaxe."), with or without its "www.".
    if (s.hosts)
        sql +=
            "DROP TABLE IF EXISTS temp.host_names; CREATE TEMP TABLE host_names"
            "(id INTEGER PRIMARY KEY, reversed TEXT);"
            "INSERT INTO host_names WITH RECURSIVE r(id, rest, reversed) AS "
            "(SELECT id, host, '' FROM moz_hosts UNION ALL SELECT id, substr(rest, 2), "
            "substr(rest, 1, 1) || reversed FROM r WHERE rest <> '') "
            "SELECT id, reversed || '.' FROM r WHERE rest = '';"
            "INSERT INTO gone_hosts SELECT h.id FROM host_names h WHERE EXISTS "
            "(SELECT 1 FROM moz_places p WHERE p.rev_host IN (h.reversed, h.reversed || 'www.') "
            "AND p.id IN gone_places) AND NOT EXISTS (SELECT 1 FROM moz_places p WHERE "
            "p.rev_host IN (h.reversed, h.reversed || 'www.') AND p.id NOT IN gone_places);";
    return sql;
}

// A statement on the rows a temporary table marks: "<statement> WHERE <column> IN (...)".
struct MarkedChange {
    std::string statement;
    const char* column;
    const char* mark;
};

// Runs the change on a few thousand marked rows at a time: SQLite keeps a list of the rows
// one statement changes, and a history may hold millions.
void InBatches(platform::Database& db, const MarkedChange& change) {
    constexpr int kBatch = 4096;
    const std::string mark = change.mark;
    std::string after = "id IS NOT NULL";
    while (db.Number("SELECT count(*) FROM (SELECT 1 FROM " + mark + " WHERE " + after +
                     " LIMIT 1)") > 0) {
        const std::string upto =
            std::to_string(db.Number("SELECT max(id) FROM (SELECT id FROM " + mark + " WHERE " +
                                     after + " ORDER BY id LIMIT " + std::to_string(kBatch) + ")"));
        db.Execute(change.statement + " WHERE " + change.column + " IN (SELECT id FROM " + mark +
                   " WHERE " + after + " AND id <= " + upto + ")");
        after = "id > " + upto;
    }
}

std::vector<MarkedChange> DeletingChanges(const PlacesSchema& s, PlacesPart part) {
    const bool history = part == PlacesPart::History;
    std::vector<MarkedChange> changes{
        {"DELETE FROM moz_historyvisits", "id", "gone_visits"},
        {"UPDATE moz_historyvisits SET from_visit = 0", "from_visit", "gone_visits"},
        {"DELETE FROM moz_places", "id", "gone_places"},
    };
    if (s.annotations) changes.push_back({"DELETE FROM moz_annos", "id", "gone_annos"});
    if (s.input) changes.push_back({"DELETE FROM moz_inputhistory", "rowid", "gone_input"});
    if (s.icons) changes.push_back({"DELETE FROM moz_favicons", "id", "gone_icons"});
    if (s.hosts) changes.push_back({"DELETE FROM moz_hosts", "id", "gone_hosts"});
    // The pages that stay keep only the visits left (a download's, after the history goes).
    // Download visits never counted, and a page's frecency is marked for Firefox to work out
    // again, as it does for every page whose visits change (0 is a page never offered).
    std::string set = "visit_count = visit_count";
    if (history) set = "visit_count = 0";
    if (history && s.typed) set += ", typed = 0";
    if (s.lastVisit)
        set +=
            ", last_visit_date = (SELECT max(visit_date) FROM moz_historyvisits v "
            "WHERE v.place_id = moz_places.id)";
    if (s.frecency) set += ", frecency = CASE frecency WHEN 0 THEN 0 ELSE -1 END";
    changes.push_back({"UPDATE moz_places SET " + set, "id", "touched"});
    return changes;
}

}  // namespace

bool IsPlacesDatabase(platform::Database& db) {
    return HasColumn(db, "moz_places", "rev_host") &&
           HasColumn(db, "moz_historyvisits", "visit_type") && HasColumn(db, "moz_bookmarks", "fk");
}

uint64_t MarkPlacesRows(platform::Database& db, PlacesPart part) {
    db.Execute(MarkingSql(PlacesSchema(db), part));
    uint64_t rows = 0;
    for (const char* mark : kMarks)
        rows += static_cast<uint64_t>(db.Number(std::string("SELECT count(*) FROM ") + mark));
    return rows;
}

void DeleteMarkedPlacesRows(platform::Database& db, PlacesPart part) {
    for (const MarkedChange& change : DeletingChanges(PlacesSchema(db), part))
        InBatches(db, change);
}

}  // namespace olvex

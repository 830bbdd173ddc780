#pragma once
// The history and the download list of Firefox 3.0 to 52, kept as rows of places.sqlite beside
// the bookmarks. A page stays while a bookmark, a keyword or a visit of the other category uses
// it; what a category deletes is marked first, the same way for a preview and a clean, so the
// preview counts exactly the rows the clean then deletes.
#include <cstdint>

#include "platform/Databases.h"

namespace olvex {

enum class PlacesPart {
    History,    // every visit but the downloads', the typed input, and the pages left unused
    Downloads,  // the downloads' visits and annotations, and the pages only they kept
};

// Whether the database holds the tables every version of places.sqlite has.
bool IsPlacesDatabase(platform::Database& db);

// Marks, in temporary tables of this connection, the rows the part's clean deletes, and
// returns how many there are. Changes nothing in the database file, so it runs on a database
// opened to read. Throws RuntimeError.
uint64_t MarkPlacesRows(platform::Database& db, PlacesPart part);

// Deletes the rows MarkPlacesRows marked, and tells the pages that stay what visits they have
// left. Runs inside the caller's transaction. Throws RuntimeError.
void DeleteMarkedPlacesRows(platform::Database& db, PlacesPart part);

}  // namespace olvex

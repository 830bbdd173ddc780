// The SQLite layer: the address a path becomes, and SQLite's own words and code when it fails.
#include <gtest/gtest.h>

#include "fakes/FakeDatabases.h"
#include "platform/Errors.h"
#include "platform/SqliteDatabase.h"

namespace {

using platform::DatabaseAccess;

TEST(SqliteAddress, EveryCharacterWithAMeaningInAnAddressIsWrittenOut) {
    struct Case {
        const char* path;
        const char* address;
    };
    const Case cases[] = {
        {"C:\\Documents and Settings\\Jo\\places.sqlite",
         "file:C:/Documents%20and%20Settings/Jo/places.sqlite"},
        {"C:\\a#b\\c?d%e&f.sqlite", "file:C:/a%23b/c%3Fd%25e%26f.sqlite"},
        {"\\\\server\\share\\p.sqlite", "file:////server/share/p.sqlite"},
        {"C:\\Donn\xC3\xA9"
         "es\\x.sqlite",
         "file:C:/Donn\xC3\xA9"
         "es/x.sqlite"},
    };
    for (const Case& c : cases) EXPECT_EQ(platform::SqliteAddressOf(c.path), c.address) << c.path;
}

TEST(SqliteDatabase, AFailureCarriesSqlitesWordsAndCode) {
    fakes::FakeFileSystem files;
    fakes::FakeDatabases databases(files);
    files.AddFile("C:\\p\\t.sqlite", platform::kAttrArchive,
                  fakes::DatabaseFileOf("CREATE TABLE t(x);"));
    auto db = databases.Open("C:\\p\\t.sqlite", DatabaseAccess::Change);
    try {
        db->Number("SELECT count(*) FROM no_such_table");
        FAIL() << "a query of a missing table succeeded";
    } catch (const platform::RuntimeError& error) {
        EXPECT_EQ(error.reason(), "no such table: no_such_table");
        EXPECT_EQ(platform::DescribeCode(error.code()), "SQLite result code 1");
    }
}

}  // namespace

// The cache purge of the main windows against the in-memory index, whose entries are written
// into the blocks as the system lays them out, and listed as the system documents it: the
// content entries with no pattern, the cookies only for "cookie:", the visited addresses
// (the history's, cleared by its own object) for neither purge.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cleaning/CachePurge.h"
#include "fakes/TestRig.h"

namespace {

using olvex::ClearCookieCache;
using olvex::ClearUrlCache;
constexpr int kListBoxCapacity = olvex::ListBoxPurgeList::kCapacity;
using Strings = std::vector<std::string>;

const std::string kPage = "http://example.com/index.html";
const std::string kCookie = "Cookie:jo@example.com/";
const std::string kVisit = "Visited:jo@http://example.com/index.html";

class CachePurge : public ::testing::Test {
  protected:
    void Seed(const Strings& urls) {
        for (const std::string& url : urls) rig.urlCache.Add(url);
    }
    Strings Listed() const {
        Strings items;
        for (int i = 0; i < list1.ListCount(); ++i) items.push_back(list1.List(i));
        return items;
    }
    // Whatever a purge does, it closes its enumeration and gives its block back.
    void TearDown() override {
        EXPECT_EQ(rig.urlCache.OpenEnumerations(), 0);
        EXPECT_EQ(rig.memory.LiveBlocks(), 0);
    }

    fakes::Rig rig;
    ui::Control& list1 = rig.Form(1).Ctl("List1");
    olvex::ListBoxPurgeList list{list1};
};

// Each purge lists its own kind of entry, and keeps those holding its word, exactly and with
// case: the cache purge "Cookie", the cookie purge "http".
TEST_F(CachePurge, EachPurgeListsItsKindAndKeepsItsWordExactly) {
    const std::string lowerCookie = "http://example.com/cookie.html";
    const std::string upperScheme = "HTTP://EXAMPLE.COM/";
    const std::string cookieInside = "http://example.com/setCookie.js";
    const std::string httpCookie = "Cookie:jo@http.example/";
    const std::string upperCookie = "Cookie:jo@HTTP.example/";
    Seed({lowerCookie, upperScheme, cookieInside, kCookie, kVisit, httpCookie, upperCookie});
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(Listed(), (Strings{lowerCookie, upperScheme, cookieInside}));
    EXPECT_EQ(rig.urlCache.Urls(),
              (Strings{cookieInside, kCookie, kVisit, httpCookie, upperCookie}));
    EXPECT_EQ(rig.urlCache.enumerations, 1);

    fakes::Rig second;
    for (const std::string& url :
         {lowerCookie, upperScheme, cookieInside, kCookie, kVisit, httpCookie, upperCookie})
        second.urlCache.Add(url);
    olvex::ListBoxPurgeList secondList(second.Form(1).Ctl("List1"));
    ClearCookieCache(second.services, second.changes, secondList);
    EXPECT_EQ(second.urlCache.Urls(),
              (Strings{lowerCookie, upperScheme, cookieInside, kVisit, httpCookie}));
}

// The Cookies category runs before Temporary Internet Files; the list keeps both listings and
// the second deletion pass goes over the first one's addresses again, skipping those gone and
// those with "Cookie".
TEST_F(CachePurge, BothPurgesInOneRunAppendToTheList) {
    Seed({kPage, kCookie, kVisit});
    ClearCookieCache(rig.services, rig.changes, list);
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(Listed(), (Strings{kCookie, kPage}));
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kVisit}));
    EXPECT_EQ(rig.urlCache.deleted, (Strings{kCookie, kPage}));
}

TEST_F(CachePurge, EarlierItemsArePurgedWhileTheirEntriesAreThere) {
    list1.AddItem(kPage);
    list1.AddItem(kCookie);
    list1.AddItem("http://example.com/gone.html");
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(rig.urlCache.enumerations, 0);
    EXPECT_TRUE(rig.urlCache.deleted.empty()) << "an empty index: nothing left to delete";

    Seed({kPage});
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(rig.urlCache.deleted, (Strings{kPage})) << "the earlier item, then nothing";
    EXPECT_EQ(Listed(), (Strings{kPage, kCookie, "http://example.com/gone.html", kPage}));
}

// Fixed-size buffers or a short maximum for the address would cut these.
TEST_F(CachePurge, LongAddressesAreListedWhole) {
    const std::string longPage = "http://example.com/?q=" + std::string(9000, 'q');
    Seed({kCookie, longPage});
    ASSERT_GT(rig.urlCache.SizeOf(longPage), fakes::FakeMemory::kPage * 2);
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(Listed(), (Strings{longPage}));
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kCookie}));
}

// The list box holds 32,767 items; the entries beyond are deleted all the same, in this purge
// and in the next one, which finds the list full.
TEST_F(CachePurge, EntriesBeyondTheListBoxAreStillPurged) {
    const int kEntries = kListBoxCapacity + 1000;
    Strings cookies;
    for (int i = 0; i < kEntries; ++i) {
        if (i % 5000 == 4999) {
            cookies.push_back("Cookie:jo@site" + std::to_string(i) + ".example/");
            rig.urlCache.Add(cookies.back());
        } else {
            rig.urlCache.Add("http://example.com/" + std::to_string(i) + ".gif");
        }
    }
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(list1.ListCount(), kListBoxCapacity);
    // The six cookies before it are no content entries.
    EXPECT_EQ(list1.List(kListBoxCapacity - 1), "http://example.com/32772.gif");
    EXPECT_EQ(rig.urlCache.Urls(), cookies);

    ClearCookieCache(rig.services, rig.changes, list);
    EXPECT_EQ(list1.ListCount(), kListBoxCapacity);
    EXPECT_TRUE(rig.urlCache.Urls().empty());
}

// A block the system refuses ends the listing instead of asking for the same entry for ever;
// what was listed is purged.
TEST_F(CachePurge, RefusedMemoryEndsTheListing) {
    Seed({kPage, "http://example.com/2", kCookie, "http://example.com/4"});
    rig.memory.refuseAfter = 2;
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(Listed(), (Strings{kPage, "http://example.com/2"}));
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kCookie, "http://example.com/4"}));

    rig.memory.refuseAfter = 0;
    rig.urlCache.Add(kPage);
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kCookie, "http://example.com/4"}));
}

// The Internet library deletes the local file an entry names, wherever it lies; any program
// of the user can commit an entry naming any file. Only files inside the cache's folders,
// reached through plain folders, go with their entries.
class CacheEscape : public CachePurge {
  protected:
    const std::string kProfile = "C:\\Documents and Settings\\Jo\\";
    const std::string kContent =
        kProfile + "Local Settings\\Temporary Internet Files\\Content.IE5\\0XK3P1QZ\\";
    const std::string kCookies = kProfile + "Cookies\\";
    const std::string kHistory = kProfile + "Local Settings\\History\\History.IE5\\";

    // An entry of url naming the file at path, which holds text.
    void Plant(const std::string& url, const std::string& path, const std::string& text) {
        rig.files.AddFile(path, platform::kAttrArchive, text);
        rig.urlCache.AddNaming(url, path);
    }
    void PurgeBoth() {
        ClearCookieCache(rig.services, rig.changes, list);
        ClearUrlCache(rig.services, rig.changes, list);
    }
};

TEST_F(CacheEscape, EntriesNamingFilesOutsideStayAndTheirFilesWithThem) {
    Seed({kPage, kCookie, kVisit});
    // Climbing out of the cache folder to the root of the drive.
    rig.files.AddFile("C:\\victim.txt", platform::kAttrArchive, "victim");
    rig.urlCache.AddNaming("Cookie:jo@climb.example/", kCookies + "..\\..\\..\\victim.txt");
    rig.urlCache.AddNaming("http://climb.example/",
                           kContent + "..\\..\\..\\..\\..\\..\\victim.txt");
    // Elsewhere, by an absolute path: beside the cache folders, and on another drive.
    Plant("http://beside.example/", kProfile + "Local Settings\\notes.txt", "notes");
    Plant("Cookie:jo@other.example/", "D:\\Cookies\\jo@other[1].txt", "other drive");
    // Inside, but through a file link and through a folder link (the fake keeps no targets:
    // the names stand for what they lead to).
    rig.files.AddFileLink(kContent + "linked.htm");
    rig.urlCache.AddNaming("http://file-link.example/", kContent + "linked.htm");
    rig.files.AddFolderLink(kCookies + "junction");
    Plant("Cookie:jo@junction.example/", kCookies + "junction\\target.txt", "behind");
    // Inside, plain: in the History folder, and an entry that names a folder.
    Plant("http://history.example/", kHistory + "MSHist01\\index.dat", "history");
    rig.files.AddFolder(kContent + "folder");
    rig.urlCache.AddNaming("http://folder.example/", kContent + "folder");
    // Inside, but swept away with its folder already: the entry goes.
    rig.urlCache.AddNaming("http://swept.example/", kContent + "..\\GONE1234\\page[1].htm");
    rig.urlCache.AddNaming("http://swept-too.example/",
                           kProfile +
                               "Local Settings\\Temporary Internet Files\\Content.IE5\\"
                               "GONE1234\\page[1].htm");

    PurgeBoth();

    EXPECT_EQ(rig.urlCache.Urls(),
              (Strings{kVisit, "Cookie:jo@climb.example/", "http://climb.example/",
                       "http://beside.example/", "Cookie:jo@other.example/",
                       "http://file-link.example/", "Cookie:jo@junction.example/",
                       "http://folder.example/", "http://swept.example/"}));
    EXPECT_EQ(rig.files.Content("C:\\victim.txt"), "victim");
    EXPECT_EQ(rig.files.Content(kProfile + "Local Settings\\notes.txt"), "notes");
    EXPECT_EQ(rig.files.Content("D:\\Cookies\\jo@other[1].txt"), "other drive");
    EXPECT_TRUE(rig.files.Exists(kContent + "linked.htm"));
    EXPECT_EQ(rig.files.Content(kCookies + "junction\\target.txt"), "behind");
    EXPECT_TRUE(rig.files.Exists(kContent + "folder"));
    // The seeded entries went, and exactly their files with them.
    EXPECT_EQ(rig.files.deleted, (Strings{kCookies + "entry1[1].txt", kContent + "entry0[1].htm",
                                          kHistory + "MSHist01\\index.dat"}));
}

TEST_F(CacheEscape, AnEntryIsJudgedByWhatItNamesWhenItIsDeleted) {
    const std::string other = "http://example.com/other.html";
    Seed({kPage, other});
    rig.files.AddFile("C:\\boot.ini", platform::kAttrArchive, "boot");
    // Another program commits the listed address afresh once the listing is over.
    rig.urlCache.onClose = [&] {
        rig.urlCache.AddNaming(kPage, kContent + "..\\..\\..\\..\\..\\..\\boot.ini");
    };
    ClearUrlCache(rig.services, rig.changes, list);
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kPage}));
    EXPECT_EQ(rig.files.Content("C:\\boot.ini"), "boot");
    EXPECT_EQ(rig.urlCache.deleted, (Strings{other}));
}

// Fails closed: a file whose folder cannot be listed is neither measured nor judged by the
// filters, so it stays with its entry, filters or not.
TEST_F(CacheEscape, AnEntryWhoseFileCannotBeListedStaysWithIt) {
    for (const bool filtered : {false, true}) {
        SCOPED_TRACE(filtered ? "with a filter" : "without a filter");
        Plant("http://locked.example/", kContent + "locked[1].htm", "locked");
        rig.files.MakeUnreadable(kContent.substr(0, kContent.size() - 1));
        olvex::RunFilter filter;
        ClearUrlCache(rig.services, rig.changes, list, olvex::SilentSink(), filtered ? &filter : nullptr);
        EXPECT_EQ(rig.urlCache.Urls(), (Strings{"http://locked.example/"}));
        EXPECT_EQ(rig.files.Content(kContent + "locked[1].htm"), "locked");
    }
}

TEST_F(CacheEscape, WithoutKnownCacheFoldersOnlyEntriesWithoutFilesGo) {
    Seed({kPage, kCookie});
    rig.urlCache.AddNaming("http://no-file.example/", "");
    for (int csidl : {0x20, 0x21, 0x22}) rig.shell.folders.erase(csidl);
    PurgeBoth();
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kPage, kCookie}));
    EXPECT_TRUE(rig.files.deleted.empty());
}

}  // namespace

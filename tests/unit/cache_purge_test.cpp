// The cache purge of the main windows against the in-memory index, whose entries are written
// into the blocks as the system lays them out.
#include "cleaning/CachePurge.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/TestRig.h"

namespace {

using olvex::ClearCookieCache;
using olvex::ClearUrlCache;
using olvex::kListBoxCapacity;
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
};

TEST_F(CachePurge, UrlCacheKeepsOnlyAddressesWithCookie) {
    Seed({kPage, kCookie, kVisit});
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(Listed(), (Strings{kPage, kCookie, kVisit}));
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kCookie}));
    EXPECT_EQ(rig.urlCache.enumerations, 1);
}

TEST_F(CachePurge, CookieCacheKeepsOnlyAddressesWithHttp) {
    Seed({kPage, kCookie, kVisit});
    ClearCookieCache(rig.services, list1);
    EXPECT_EQ(Listed(), (Strings{kPage, kCookie, kVisit}));
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kPage, kVisit}));
}

TEST_F(CachePurge, TheWordsMatchExactlyAndWithCase) {
    const std::string lowerCookie = "http://example.com/cookie.html";
    const std::string upperScheme = "HTTP://EXAMPLE.COM/";
    const std::string cookieInside = "http://example.com/setCookie.js";
    Seed({lowerCookie, upperScheme, cookieInside, kCookie});
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{cookieInside, kCookie}));

    fakes::Rig second;
    for (const std::string& url : {lowerCookie, upperScheme, cookieInside, kCookie})
        second.urlCache.Add(url);
    ClearCookieCache(second.services, second.Form(1).Ctl("List1"));
    EXPECT_EQ(second.urlCache.Urls(), (Strings{lowerCookie, cookieInside}));
}

// The Cookies category runs before Temporary Internet Files; the list keeps both listings and
// the second deletion pass goes over the first one's addresses again.
TEST_F(CachePurge, BothPurgesInOneRunAppendToTheList) {
    Seed({kPage, kCookie, kVisit});
    ClearCookieCache(rig.services, list1);
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(Listed(), (Strings{kPage, kCookie, kVisit, kPage, kVisit}));
    EXPECT_TRUE(rig.urlCache.Urls().empty());
    EXPECT_EQ(rig.urlCache.deleted, (Strings{kCookie, kPage, kVisit, kPage, kVisit}));
}

TEST_F(CachePurge, AnEmptyIndexStillPurgesTheEarlierItems) {
    list1.AddItem(kPage);
    list1.AddItem(kCookie);
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(rig.urlCache.enumerations, 0);
    EXPECT_EQ(rig.urlCache.deleted, (Strings{kPage}));
    EXPECT_EQ(Listed(), (Strings{kPage, kCookie}));
}

// Fixed-size buffers or a short maximum for the address would cut these.
TEST_F(CachePurge, LongAddressesAreListedWhole) {
    const std::string longPage = "http://example.com/?q=" + std::string(9000, 'q');
    Seed({kCookie, longPage});
    ASSERT_GT(rig.urlCache.SizeOf(longPage), fakes::FakeMemory::kPage * 2);
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(Listed(), (Strings{kCookie, longPage}));
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
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(list1.ListCount(), kListBoxCapacity);
    EXPECT_EQ(list1.List(kListBoxCapacity - 1), "http://example.com/32766.gif");
    EXPECT_EQ(rig.urlCache.Urls(), cookies);

    ClearCookieCache(rig.services, list1);
    EXPECT_EQ(list1.ListCount(), kListBoxCapacity);
    EXPECT_TRUE(rig.urlCache.Urls().empty());
}

// A block the system refuses ends the listing instead of asking for the same entry for ever;
// what was listed is purged.
TEST_F(CachePurge, RefusedMemoryEndsTheListing) {
    Seed({kPage, "http://example.com/2", kCookie, "http://example.com/4"});
    rig.memory.refuseAfter = 2;
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(Listed(), (Strings{kPage, "http://example.com/2"}));
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kCookie, "http://example.com/4"}));

    rig.memory.refuseAfter = 0;
    rig.urlCache.Add(kPage);
    ClearUrlCache(rig.services, list1);
    EXPECT_EQ(rig.urlCache.Urls(), (Strings{kCookie, "http://example.com/4"}));
}

}  // namespace

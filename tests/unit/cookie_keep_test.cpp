// The cookies a user keeps: the hosts of the keep-list, matched as browsers match a cookie's
// host, and every browser's cookies cleaned but theirs, in a preview and a clean, with the run's
// record telling how many each host kept.
#include <gtest/gtest.h>

#include "browsers/DatabaseRows.h"
#include "console/ConsoleProgram.h"
#include "console/ExitCodes.h"
#include "database_data.h"
#include "fakes/FakeConsole.h"
#include "fakes/TestRig.h"
#include "system/CookieKeepList.h"

namespace {

using namespace olvex;

TEST(CookieKeepList, KeepsAHostAndTheHostsBelowItOnly) {
    struct Case {
        const char* rule;
        const char* list;
        const char* cookieHost;
        const char* keeper;  // nullptr: not kept
    };
    // clang-format off
    const Case cases[] = {
        {"the host itself", "example.com", "example.com", "example.com"},
        {"a host below it", "example.com", "www.example.com", "example.com"},
        {"a domain cookie's leading dot", "example.com", ".example.com", "example.com"},
        {"a leading dot or star in the list", ".example.com,*.other.net", "a.other.net", "other.net"},
        {"a look-alike host", "example.com", "badexample.com", nullptr},
        {"a host that only starts with it", "example.com", "example.com.evil.net", nullptr},
        {"a host above it", "mail.example.com", "example.com", nullptr},
        {"case", "Example.COM", "WWW.example.com", "example.com"},
        {"a port", "example.com:8080", "example.com:443", "example.com"},
        {"an address, read for its host", "https://jo@Mail.Example.com:443/inbox?x",
         "mail.example.com", "mail.example.com"},
        {"Internet Explorer's entry, its host after the user", "example.com",
         "Cookie:jo@www.example.com/", "example.com"},
        {"the longest entry keeping it names it", "example.com, mail.example.com",
         "a.mail.example.com", "mail.example.com"},
        {"a final dot", "example.com.", "example.com", "example.com"},
        {"an IPv6 address", "[::1]:8080", "[::1]", "[::1]"},
        {"blank entries are none", " , ,example.com", "x.example.com", "example.com"},
        {"an empty host is kept by nothing", "example.com", "", nullptr},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        CookieKeepList keep;
        EXPECT_TRUE(keep.Add(c.list).empty());
        const std::string* keeper = keep.KeeperOf(c.cookieHost);
        EXPECT_EQ(keeper ? keeper->c_str() : "(none)", std::string(c.keeper ? c.keeper : "(none)"));
    }
    CookieKeepList keep;
    EXPECT_EQ(keep.Add("ok.example, exa mple.com, *, a/b"),
              (std::vector<std::string>{"exa mple.com", "*"}));
    EXPECT_EQ(keep.Hosts(), (std::vector<std::string>{"ok.example", "a"}));
}

const std::string kJo = "C:\\Documents and Settings\\Jo\\";
const std::string kUserData =
    kJo + "Local Settings\\Application Data\\Google\\Chrome\\User Data\\";
const std::string kChromePath = kUserData + "Default\\Cookies";
const std::string kFirefoxPath = kJo + "Application Data\\Mozilla\\Firefox\\Profiles\\p\\cookies.sqlite";
const std::string kOperaPath = kJo + "Application Data\\Opera\\Opera\\cookies4.dat";
const std::string kCookiesTxt = kJo + "Application Data\\Mozilla\\Firefox\\Profiles\\p\\Cookies.txt";
const char* const kCookieText =
    "# Netscape HTTP Cookie File\r\n"
    ".mail.example\tTRUE\t/\tFALSE\t0\tSID\ts1\r\n"
    "#HttpOnly_www.mail.example\tFALSE\t/\tFALSE\t0\tpref\tp\r\n"
    ".badmail.example\tTRUE\t/\tFALSE\t0\ttrack\tt\r\n"
    "\r\n"
    "news.test\tFALSE\t/\tFALSE\t0\tseen\t1";
const char* const kChromeHosts = "SELECT host_key FROM cookies";
const char* const kFirefoxHosts = "SELECT host FROM moz_cookies";

// Every browser's cookies of the same hosts: mail.example's (two), badmail.example's,
// mail.example.evil.test's and news.test's; olvex.ini beside the program keeps mail.example's.
struct KeepMachine {
    KeepMachine() {
        rig.SetWindows("winxp");
        for (const char* folder : {"Mozilla Firefox", "Opera", "Google\\Chrome"})
            rig.files.AddFolder(std::string("C:\\Program Files\\") + folder);
        rig.profiles.Write("C:\\Program Files\\Olvex Cleaner\\olvex.ini",
                           "[Cookies]\nKeep=mail.example\n");
        rig.files.AddFile(kUserData + "Local State", 0, "{}");
        rig.files.AddFile(kChromePath, 0, fakes::DatabaseFileOf(kChromeCookies));
        rig.profiles.Write(kJo + "Application Data\\Mozilla\\Firefox\\profiles.ini",
                           "[Profile0]\nPath=Profiles/p\n");
        rig.files.AddFile(kFirefoxPath, 0, fakes::DatabaseFileOf(kFirefoxCookies));
        rig.files.AddFile(kOperaPath, 0, "binary cookies");
        rig.files.AddFile(kCookiesTxt, 0, kCookieText);
        for (const char* host : {"mail.example", "news.test", "badmail.example"})
            rig.urlCache.Add(std::string("Cookie:jo@") + host + "/");
    }
    int Run(std::vector<std::string> arguments) {
        console = fakes::FakeConsole();
        return RunConsoleProgram(rig.services, console, arguments);
    }
    std::set<std::string> Hosts(const std::string& database, const char* query) const {
        return fakes::RowsOf(rig.files.Content(database), query);
    }
    fakes::Rig rig;
    fakes::FakeConsole console;
};

// Each browser keeps the cookies of olvex.ini's hosts and of /keepcookies', and loses the
// others'; Opera's one file stays whole, and says why. The log's last line counts the kept
// cookies by host, over every browser.
TEST(KeptCookies, EveryBrowserKeepsTheListedHostsCookiesAndLosesTheRest) {
    KeepMachine m;
    EXPECT_EQ(m.Run({"/clean", "cookies", "firefox-cookies", "chrome-cookies", "opera-cookies",
                     "/keepcookies:News.test", "/log:C:\\l.csv"}),
              kExitLeftSome)
        << m.console.err;
    const std::set<std::string> kept = {"mail.example", "www.mail.example", "news.test"};
    std::set<std::string> left;
    for (const std::string& host : m.Hosts(kChromePath, kChromeHosts)) left.insert(HostOf(host));
    EXPECT_EQ(left, kept) << "Chrome";
    left.clear();
    for (const std::string& host : m.Hosts(kFirefoxPath, kFirefoxHosts)) left.insert(HostOf(host));
    EXPECT_EQ(left, kept) << "Firefox";
    EXPECT_EQ(m.rig.urlCache.Urls(),
              (std::vector<std::string>{"Cookie:jo@mail.example/", "Cookie:jo@news.test/"}));
    for (const auto& url : m.rig.urlCache.Urls())
        EXPECT_TRUE(m.rig.files.Exists(*m.rig.urlCache.LocalFile(url))) << "the file of " << url;
    EXPECT_EQ(m.rig.files.Content(kOperaPath), "binary cookies");
    EXPECT_EQ(m.rig.files.replaced, std::vector<std::string>{kCookiesTxt});
    EXPECT_EQ(m.rig.files.Content(kCookiesTxt),
              "# Netscape HTTP Cookie File\r\n"
              ".mail.example\tTRUE\t/\tFALSE\t0\tSID\ts1\r\n"
              "#HttpOnly_www.mail.example\tFALSE\t/\tFALSE\t0\tpref\tp\r\n"
              "\r\n"
              "news.test\tFALSE\t/\tFALSE\t0\tseen\t1");
    const std::string log = m.rig.files.Content("C:\\l.csv");
    EXPECT_NE(log.find(reason::kCookiesInOneFile), std::string::npos) << log;
    EXPECT_NE(log.find("kept-cookies=mail.example:7,news.test:4"), std::string::npos) << log;
    EXPECT_NE(log.find("2 cookies of mail.example"), std::string::npos) << log;
}

TEST(KeptCookies, APreviewSaysWhatWouldStayAndWhatWouldGo) {
    KeepMachine m;
    const std::string before = m.rig.files.Content(kChromePath);
    EXPECT_EQ(m.Run({"/preview", "chrome-cookies", "cookies", "/details"}), kExitDone);
    EXPECT_EQ(m.rig.files.Content(kChromePath), before);
    EXPECT_EQ(m.rig.urlCache.Urls().size(), 3u);
    for (const std::string& line :
         {"would clear  " + kChromePath + "  0 bytes  (3 rows)",
          "would keep  " + kChromePath + "  (2 cookies of mail.example)",
          std::string("would keep  Cookie:jo@mail.example/  (1 cookie of mail.example)"),
          std::string("would purge  Cookie:jo@news.test/"),
          std::string("would keep: 3 cookies of mail.example")})
        EXPECT_NE(m.console.out.find(line), std::string::npos) << line << "\n" << m.console.out;
}

// What names no host is a mistake, in olvex.ini as on the command line: nothing is cleaned.
TEST(KeptCookies, AListNamingNoHostStopsTheRunBeforeAnything) {
    const char* const inis[] = {"[Cookies]\nKeep=mail.example, mail example\n", nullptr};
    for (const char* ini : inis) {
        KeepMachine m;
        if (ini) m.rig.profiles.Write("C:\\Program Files\\Olvex Cleaner\\olvex.ini", ini);
        EXPECT_EQ(m.Run({"/clean", "cookies", "chrome-cookies",
                         ini ? "/details" : "/keepcookies:ok.test,bad host"}),
                  kExitBadUsage);
        EXPECT_TRUE(m.rig.urlCache.deleted.empty());
        EXPECT_TRUE(m.rig.databases.opened.empty());
        EXPECT_NE(m.console.err.find(ini ? "mail example" : "bad host"), std::string::npos)
            << m.console.err;
    }
}

// Cookies.txt is written anew only when a cookie goes and another stays: with nothing kept it
// goes whole, with nothing going it is left as it is; a read-only one stays.
TEST(KeptCookies, CookiesTxtIsReplacedWholeOnlyWhenSomeGoAndSomeStay) {
    struct Case {
        const char* rule;
        const char* keep;
        uint32_t attributes;
        bool exists, replaced;
    };
    // clang-format off
    const Case cases[] = {
        {"some go, some stay: replaced", "news.test", 0, true, true},
        {"none stays: deleted whole", "other.test", 0, false, false},
        {"none goes: left as it is", "mail.example,badmail.example,news.test", 0, true, false},
        {"read-only: stays", "news.test", platform::kAttrReadOnly, true, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        KeepMachine m;
        m.rig.profiles.Write("C:\\Program Files\\Olvex Cleaner\\olvex.ini", "");
        m.rig.files.AddFile(kCookiesTxt, c.attributes, kCookieText);
        m.Run({"/clean", "firefox-cookies", std::string("/keepcookies:") + c.keep});
        EXPECT_EQ(m.rig.files.Exists(kCookiesTxt), c.exists);
        EXPECT_EQ(m.rig.files.replaced.size(), c.replaced ? 1u : 0u);
        if (c.exists && !c.replaced) {
            EXPECT_EQ(m.rig.files.Content(kCookiesTxt), kCookieText);
        }
    }
}

}  // namespace

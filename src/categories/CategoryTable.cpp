#include "categories/CategoryTable.h"

#include "browsers/BrowserItems.h"
#include "cleaning/WindowsCategories.h"
#include "system/Availability.h"

namespace olvex {

namespace {

std::string PrefetchHere(Machine& machine) {
    // Windows 2000 has no prefetch folder.
    return PrefetchCleanable(machine.osName()) ? "" : "not on " + machine.osName();
}

std::string AdministratorsOnly(Machine& machine) {
    return machine.administrator() ? "" : "administrators only";
}

std::string UsersBins(Machine& machine) {
    return machine.systemAccount() ? "run as the system account, whose Recycle Bin is its own: "
                                     "the users' bins are not emptied"
                                   : "";
}

std::string FirefoxInstalled(Machine& machine) {
    return machine.installed(kFirefoxFolder) ? "" : "Firefox is not installed";
}

std::string OperaInstalled(Machine& machine) {
    return machine.installed(kOperaFolder) ? "" : "Opera is not installed";
}

std::string ChromeHere(Machine& machine) {
    return ChromeInstalled(machine) ? "" : "Chrome is not installed";
}

// A category's fixed part; its rows come from the Windows and browser tables by id.
struct Entry {
    const char* id;
    const char* ntCaption;
    const char* nineXCaption;
    const char* disabledCaption;
    Availability unavailable;
    bool asksBeforeTicking;
    bool emptiedWhole;
};

bool DeletesCookies(const std::string& id) {
    return id == "cookies" || (id.size() > 8 && id.compare(id.size() - 8, 8, "-cookies") == 0);
}

Category Made(const Entry& e) {
    Category category{e.id,           e.ntCaption,         e.nineXCaption,
                      e.disabledCaption, e.unavailable,    e.asksBeforeTicking,
                      e.emptiedWhole,   DeletesCookies(e.id), {},
                      {}};
    for (Family family : {Family::NT, Family::Windows98}) {
        CategoryRows rows = WindowsRows(e.id, family);
        if (rows.rows.empty()) rows = BrowserRows(e.id, family, SweepUserTree);
        (family == Family::NT ? category.ntRows : category.nineXRows) = std::move(rows);
    }
    return category;
}

}  // namespace

const std::vector<Category>& Categories() {
    // clang-format off
    static const Entry entries[] = {
        // id                     NT family's caption          98 family's caption           disabled caption        available             asks   whole
        {"windows-temp",          "Windows Temp",              "Windows Temp",               nullptr,                nullptr,              false, false},
        {"user-temp",             "Current User Temp",         "",                           nullptr,                nullptr,              false, false},
        {"cookies",               "Cookies",                   "Cookies",                    nullptr,                nullptr,              false, false},
        {"temp",                  "",                          "Temp",                       nullptr,                nullptr,              false, false},
        {"ie-cache",              "Temporary Internet Files",  "Temporary Internet FIles",   nullptr,                nullptr,              false, false},
        {"ie-history",            "History",                   "History",                    nullptr,                nullptr,              false, true},
        {"prefetch",              "Prefetch",                  "",                           "Prefetch (Disabled)",  PrefetchHere,         false, false},
        {"recycle-bin",           "Recycle Bin",               "Recycle Bin",                nullptr,                UsersBins,            false, true},
        {"all-users-temp",        "All Users Temp",            "",                           nullptr,                AdministratorsOnly,   false, false},
        {"java-cache",            "Java Cache",                "Java Cache",                 nullptr,                nullptr,              false, false},
        {"firefox-cache",         "Firefox Cache",             "Firefox Cache",              nullptr,                FirefoxInstalled,     false, false},
        {"firefox-cookies",       "Firefox Cookies",           "Firefox Cookies",            nullptr,                FirefoxInstalled,     false, false},
        {"firefox-passwords",     "Firefox Saved Passwords",   "Firefox Saved Passwords",    nullptr,                FirefoxInstalled,     true,  false},
        {"firefox-forms",         "Firefox Saved Form Info",   "Firefox Saved Form Info",    nullptr,                FirefoxInstalled,     false, false},
        {"firefox-history",       "Firefox History",           "Firefox History",            nullptr,                FirefoxInstalled,     false, false},
        {"firefox-downloads",     "Firefox Download History",  "Firefox Download History",   nullptr,                FirefoxInstalled,     false, false},
        {"opera-cache",           "Opera Cache",               "Opera Cache",                nullptr,                OperaInstalled,       false, false},
        {"opera-cookies",         "Opera Cookies",             "Opera Cookies",              nullptr,                OperaInstalled,       false, false},
        {"opera-passwords",       "Opera Saved Passwords",     "Opera Saved Passwords",      nullptr,                OperaInstalled,       true,  false},
        {"opera-history",         "Opera History",             "Opera History",              nullptr,                OperaInstalled,       false, false},
        {"opera-downloads",       "Opera Download History",    "Opera Download History",     nullptr,                OperaInstalled,       false, false},
        {"opera-visited-links",   "Opera Visited Links",       "Opera Visited Links",        nullptr,                OperaInstalled,       false, false},
        {"chrome-cache",          "Chrome Cache",              "",                           nullptr,                ChromeHere,           false, false},
        {"chrome-cookies",        "Chrome Cookies",            "",                           nullptr,                ChromeHere,           false, false},
        {"chrome-passwords",      "Chrome Saved Passwords",    "",                           nullptr,                ChromeHere,           true,  false},
        {"chrome-forms",          "Chrome Saved Form Info",    "",                           nullptr,                ChromeHere,           false, false},
        {"chrome-history",        "Chrome History",            "",                           nullptr,                ChromeHere,           false, false},
        {"chrome-downloads",      "Chrome Download History",   "",                           nullptr,                ChromeHere,           false, false},
    };
    // clang-format on
    static const std::vector<Category> categories = [] {
        std::vector<Category> made;
        for (const Entry& entry : entries) made.push_back(Made(entry));
        return made;
    }();
    return categories;
}

const Category* CategoryById(const std::string& id) {
    for (const Category& category : Categories())
        if (id == category.id) return &category;
    return nullptr;
}

std::vector<const Category*> CategoriesOn(Family family) {
    std::vector<const Category*> on;
    for (const Category& category : Categories())
        if (category.IsOn(family)) on.push_back(&category);
    return on;
}

}  // namespace olvex

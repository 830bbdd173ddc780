#include "browsers/BrowserItems.h"

#include "browsers/FirefoxProfiles.h"
#include "guard/DeletionGuard.h"

namespace olvex {

namespace {

void DeleteFiles(RuleRun& run, const std::string& pattern) {
    DeleteFilesNamed(run.services.files, run.changes, pattern, run.sink, run.filter);
}

// One browser file, or pattern of files, in the profile.
struct Item {
    const char* id;
    const char* name;
};

// Firefox names follow the profile folder, which has no trailing "\". The NT family keeps
// a second cache under the local application data.
CategoryRows FirefoxRows(const std::string& id, Family family) {
    static const Item items[] = {
        {"firefox-cache", "\\Cache\\*"},        {"firefox-cookies", "\\Cookies.txt"},
        {"firefox-passwords", "\\signons.txt"}, {"firefox-forms", "\\formhistory.dat"},
        {"firefox-history", "\\HIStory.dat"},   {"firefox-downloads", "\\downloads.rdf"}};
    const FirefoxFolder roaming = FirefoxFolderOf(family);
    CategoryRows rows;
    rows.profiles = family == Family::NT ? FirefoxProfilesNt : FirefoxProfiles98;
    for (const Item& item : items) {
        if (id != item.id) continue;
        rows.rows.push_back({DeleteFiles, roaming.base, roaming.tail + kEachProfile + item.name});
        if (family == Family::NT && id == "firefox-cache")
            rows.rows.push_back({DeleteFiles, BaseFolder::LocalAppData,
                                 std::string(kFirefoxTail) + kEachProfile + item.name});
    }
    return rows;
}

// The Opera profile: in the user's application data on NT, in the installation on 98.
CategoryRows OperaRows(const std::string& id, Family family) {
    static const Item items[] = {
        {"opera-cache", "Cache4\\*"},        {"opera-cookies", "Cookies4.dat"},
        {"opera-passwords", "wand.dat"},     {"opera-history", "global.dat"},
        {"opera-downloads", "download.dat"}, {"opera-visited-links", "vlink4.dat"}};
    const bool nt = family == Family::NT;
    CategoryRows rows;
    for (const Item& item : items)
        if (id == item.id)
            rows.rows.push_back(
                {DeleteFiles, nt ? BaseFolder::AppData : BaseFolder::ProgramFiles,
                 std::string(nt ? "Opera\\Opera\\profile\\" : "opera\\profile\\") + item.name});
    return rows;
}

}  // namespace

CategoryRows BrowserRows(const std::string& id, Family family) {
    if (family == Family::Unsupported) return {};
    CategoryRows rows = FirefoxRows(id, family);
    if (rows.rows.empty()) rows = OperaRows(id, family);
    return rows;
}

}  // namespace olvex

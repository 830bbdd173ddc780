#include "browsers/BrowserItems.h"

#include "browsers/FirefoxProfiles.h"
#include "system/FileUtilities.h"
#include "system/FreedSpace.h"

namespace olvex {

namespace {

void DeleteFiles(RuleRun& run, const std::string& pattern) {
    KillFile(run.services.files, pattern, run.sink);
}

// Firefox names follow the profile folder, which has no trailing "\". The NT family keeps
// a second cache under the local application data.
std::vector<CleaningRule> FirefoxRows(Family family) {
    const FirefoxFolder roaming = FirefoxFolderOf(family);
    auto row = [&](const char* box, const char* id, BaseFolder base, const std::string& folder,
                   const char* name) {
        return CleaningRule{box, id, DeleteFiles, base, folder + kEachProfile + name};
    };
    std::vector<CleaningRule> rows{
        row("Check1", "firefox-cache", roaming.base, roaming.tail, "\\Cache\\*")};
    if (family == Family::NT)
        rows.push_back(
            row("Check1", "firefox-cache", BaseFolder::LocalAppData, kFirefoxTail, "\\Cache\\*"));
    struct Item {
        const char* box;
        const char* id;
        const char* name;
    };
    for (const Item& item : {Item{"Check2", "firefox-cookies", "\\Cookies.txt"},
                             Item{"Check3", "firefox-passwords", "\\signons.txt"},
                             Item{"Check4", "firefox-forms", "\\formhistory.dat"},
                             Item{"Check5", "firefox-history", "\\HIStory.dat"},
                             Item{"Check6", "firefox-downloads", "\\downloads.rdf"}})
        rows.push_back(row(item.box, item.id, roaming.base, roaming.tail, item.name));
    return rows;
}

// The Opera profile: in the user's application data on NT, in the installation on 98.
std::vector<CleaningRule> OperaRows(BaseFolder base, const std::string& profile) {
    struct Item {
        const char* box;
        const char* id;
        const char* name;
    };
    std::vector<CleaningRule> rows;
    for (const Item& item : {Item{"Check1", "opera-cache", "Cache4\\*"},
                             Item{"Check2", "opera-cookies", "Cookies4.dat"},
                             Item{"Check3", "opera-passwords", "wand.dat"},
                             Item{"Check5", "opera-history", "global.dat"},
                             Item{"Check6", "opera-downloads", "download.dat"},
                             Item{"Check4", "opera-visited-links", "vlink4.dat"}})
        rows.push_back({item.box, item.id, DeleteFiles, base, profile + item.name});
    return rows;
}

}  // namespace

const CleaningRecipe& FirefoxNtItems() {
    static const CleaningRecipe recipe{FirefoxRows(Family::NT), Family::NT, nullptr,
                                       FirefoxProfilesNt};
    return recipe;
}

const CleaningRecipe& Firefox98Items() {
    static const CleaningRecipe recipe{FirefoxRows(Family::Windows98), Family::Windows98,
                                       kDoneBrowsers98, FirefoxProfiles98};
    return recipe;
}

const CleaningRecipe& OperaNtItems() {
    static const CleaningRecipe recipe{OperaRows(BaseFolder::AppData, "Opera\\Opera\\profile\\"),
                                       Family::NT, nullptr};
    return recipe;
}

const CleaningRecipe& Opera98Items() {
    static const CleaningRecipe recipe{OperaRows(BaseFolder::ProgramFiles, "opera\\profile\\"),
                                       Family::Windows98, kDoneBrowsers98};
    return recipe;
}

}  // namespace olvex

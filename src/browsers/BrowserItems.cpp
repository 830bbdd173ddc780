#include "browsers/BrowserItems.h"

#include "browsers/FirefoxProfiles.h"
#include "system/FileUtilities.h"
#include "system/FreedSpace.h"

namespace olvex {

namespace {

void DeleteFiles(RuleRun& run, const std::string& pattern) {
    KillFile(run.services.files, pattern);
}

// Firefox names follow the profile folder, which has no trailing "\". The NT family keeps
// a second cache under the local application data.
std::vector<CleaningRule> FirefoxRows(Family family) {
    const FirefoxFolder roaming = FirefoxFolderOf(family);
    auto row = [&](const char* box, BaseFolder base, const std::string& folder, const char* name) {
        return CleaningRule{box, DeleteFiles, base, folder + kEachProfile + name};
    };
    std::vector<CleaningRule> rows{row("Check1", roaming.base, roaming.tail, "\\Cache\\*")};
    if (family == Family::NT)
        rows.push_back(row("Check1", BaseFolder::LocalAppData, kFirefoxTail, "\\Cache\\*"));
    for (const auto& [box, name] : {std::pair{"Check2", "\\Cookies.txt"},
                                    {"Check3", "\\signons.txt"},
                                    {"Check4", "\\formhistory.dat"},
                                    {"Check5", "\\HIStory.dat"},
                                    {"Check6", "\\downloads.rdf"}})
        rows.push_back(row(box, roaming.base, roaming.tail, name));
    return rows;
}

// The Opera profile: in the user's application data on NT, in the installation on 98.
std::vector<CleaningRule> OperaRows(BaseFolder base, const std::string& profile) {
    std::vector<CleaningRule> rows;
    for (const auto& [box, name] : {std::pair{"Check1", "Cache4\\*"},
                                    {"Check2", "Cookies4.dat"},
                                    {"Check3", "wand.dat"},
                                    {"Check5", "global.dat"},
                                    {"Check6", "download.dat"},
                                    {"Check4", "vlink4.dat"}})
        rows.push_back({box, DeleteFiles, base, profile + name});
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

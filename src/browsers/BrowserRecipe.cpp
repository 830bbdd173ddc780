#include "browsers/BrowserRecipe.h"

#include "browsers/FirefoxProfiles.h"
#include "system/SpecialFolders.h"
#include "ui/Layouts.h"

namespace olvex {

namespace {

// The Opera profile: in the user's application data on NT, in the installation on 98.
constexpr Root kOperaNT{Folder::AppData, "Opera\\Opera\\profile\\"};
constexpr Root kOpera98{Folder::ProgramFiles, "opera\\profile\\"};

// Firefox names follow the profile folder, which has no trailing "\".
std::vector<BrowserItem> FirefoxItems(std::vector<Root> cacheRoots, Root root) {
    return {
        {"Check1", "\\Cache\\*", std::move(cacheRoots)},
        {"Check2", "\\Cookies.txt", {root}},
        {"Check3", "\\signons.txt", {root}},
        {"Check4", "\\formhistory.dat", {root}},
        {"Check5", "\\HIStory.dat", {root}},
        {"Check6", "\\downloads.rdf", {root}},
    };
}

std::vector<BrowserItem> OperaItems(Root root) {
    return {
        {"Check1", "Cache4\\*", {root}},    {"Check2", "Cookies4.dat", {root}},
        {"Check3", "wand.dat", {root}},     {"Check5", "global.dat", {root}},
        {"Check6", "download.dat", {root}}, {"Check4", "vlink4.dat", {root}},
    };
}

}  // namespace

const BrowserRecipe& Form3Recipe() {
    static const BrowserRecipe recipe{
        ui::Form3Layout,
        Family::NT,
        "Firefox",
        Profiles::EachFirefoxProfile,
        PasswordQuestion::AlsoInTheRun,
        Completion::FreedBytes,
        FirefoxItems({FirefoxFolder(Family::NT), LocalFirefoxFolder()}, FirefoxFolder(Family::NT))};
    return recipe;
}

const BrowserRecipe& Form7Recipe() {
    static const BrowserRecipe recipe{
        ui::Form7Layout,
        Family::Windows98,
        "Firefox",
        Profiles::EachFirefoxProfile,
        PasswordQuestion::OnTicking,
        Completion::DoneOnly,
        FirefoxItems({FirefoxFolder(Family::Windows98)}, FirefoxFolder(Family::Windows98))};
    return recipe;
}

const BrowserRecipe& Form5Recipe() {
    static const BrowserRecipe recipe{ui::Form5Layout,
                                      Family::NT,
                                      "Opera",
                                      Profiles::One,
                                      PasswordQuestion::OnTicking,
                                      Completion::FreedBytes,
                                      OperaItems(kOperaNT)};
    return recipe;
}

const BrowserRecipe& Form8Recipe() {
    static const BrowserRecipe recipe{
        ui::Form8Layout,     Family::Windows98,           "Opera",
        Profiles::One,       PasswordQuestion::OnTicking, Completion::DoneOnly,
        OperaItems(kOpera98)};
    return recipe;
}

std::string RootPath(Services& services, const CleaningContext& context, const Root& root) {
    std::string folder;
    switch (root.folder) {
        case Folder::AppData:
            folder = folders::GetAppDataFolder(services.shell);
            break;
        case Folder::LocalAppData:
            folder = folders::GetLocalAppDataFolder(services.shell);
            break;
        case Folder::ProgramFiles:
            folder = folders::GetProgramFilesFolder(services.shell);
            break;
        case Folder::WindowsDir:
            folder = context.WindowsDir;
            break;
    }
    return folder.empty() ? "" : folder + root.sub;
}

}  // namespace olvex

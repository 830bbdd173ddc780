#include "cleaning/Form6.h"

#include <optional>

#include "cleaning/CleaningRun.h"
#include "cleaning/SelectAll.h"
#include "platform/Errors.h"
#include "shell/Config.h"
#include "shell/Routing.h"
#include "system/WindowsVersion.h"
#include "ui/Layouts.h"

namespace olvex {

namespace {
const std::initializer_list<const char*> kCategories = {"Check1", "Check2", "Check3", "Check4",
                                                        "Check5", "Check6", "Check8"};
}

Form6::Form6(App& app) : FamilyWindow(app, ui::Form6Layout(config::kSupportEmail)) {
    Ctl("Check7").Click = [this] { Check7_Click(); };
    Ctl("Command1").Click = [this] { Command1_Click(); };
    Ctl("Command2").Click = [this] { OpenLink(config::kDonationPage); };
    Ctl("Command3").Click = [this] { Command3_Click(); };
    // The support address opens the support page here too, like in every other window.
    Ctl("Label3").Click = [this] { OpenLink(config::kSupportPage); };
}

void Form6::Form_Load() {
    using platform::SkipOnFailure;
    std::optional<WindowsVersion> os;
    auto osName = [&]() -> const std::string& {
        if (!os) os.emplace(services().system);
        return os->os_name;
    };

    SkipOnFailure([&] {
        if (FamilyFor(osName()) != Family::Unsupported) return;
        app().Form(4).Show();
        Hide();
    });
    SkipOnFailure([&] { SetSystemLabel(osName()); });
    UpdateBrowserMenus();
}

void Form6::Check7_Click() {
    SelectAllClicked(*this, kCategories);
}

void Form6::Command1_Click() {
    // The Recycle Bin call is owned by the NT main window, which stays loaded (hidden).
    std::vector<std::string> noProfiles;
    std::string noRoot;
    CleaningWindow window{*this, Windows98Categories(), SweepKind::Windows98,
                          false, app().Form(1).hWnd(),  noProfiles,
                          noRoot};
    RunCleaning(services(), window);
}

void Form6::Command3_Click() {
    app().UnloadAllWindows(*this);
    Unload();
}

}  // namespace olvex

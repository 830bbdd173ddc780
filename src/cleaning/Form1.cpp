#include "cleaning/Form1.h"

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
const std::initializer_list<const char*> kCategories = {
    "Check1", "Check2", "Check3", "Check4", "Check5", "Check6", "Check8", "Check9", "Check10"};
}

Form1::Form1(App& app) : FamilyWindow(app, ui::Form1Layout(config::kSupportEmail)) {
    Ctl("Check7").Click = [this] { Check7_Click(); };
    Ctl("Command1").Click = [this] { Command1_Click(); };
    Ctl("Command2").Click = [this] { OpenLink(config::kDonationPage); };
    Ctl("Command3").Click = [this] { Command3_Click(); };
    Ctl("Label3").Click = [this] { OpenLink(config::kSupportPage); };
}

void Form1::Form_Load() {
    using platform::SkipOnFailure;
    std::optional<WindowsVersion> os;
    auto osName = [&]() -> const std::string& {
        if (!os) os.emplace(services().system);
        return os->os_name;
    };

    SkipOnFailure([&] {
        if (osName() == "Windows 2000") {
            Ctl("Check6").SetEnabled(false);
            Ctl("Check6").SetCaption("Prefetch (Disabled)");
        }
    });
    SkipOnFailure([&] {
        const Family family = FamilyFor(osName());
        if (family == Family::NT) return;
        app().Form(family == Family::Windows98 ? 6 : 4).Show();
        Hide();
        routedAway_ = true;
    });
    SkipOnFailure([&] { SetSystemLabel(osName()); });
    UpdateBrowserMenus();
    SkipOnFailure([&] {
        // Only administrators may empty the other users' folders. When the test cannot
        // be made the box stays enabled.
        Ctl("Check9").SetEnabled(services().system.IsNTAdmin() != 0);
    });
}

void Form1::Check7_Click() {
    SelectAllClicked(*this, kCategories, [this] {
        // Prefetch cannot be cleaned on Windows 2000; its box is disabled there.
        if (WindowsVersion(services().system).os_name == "Windows 2000") Ctl("Check6").SetValue(0);
    });
}

void Form1::Command1_Click() {
    CleaningWindow window{*this,  NtCategories(), SweepKind::NT, true,
                          hWnd(), profileNames_,  profilesRoot_};
    RunCleaning(services(), window);
}

void Form1::Command3_Click() {
    app().UnloadAllWindows(*this);
    Unload();
}

}  // namespace olvex

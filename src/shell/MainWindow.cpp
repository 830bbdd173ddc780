#include "shell/MainWindow.h"

#include <optional>

#include "cleaning/WindowsCategories.h"
#include "platform/Errors.h"
#include "shell/Config.h"
#include "shell/SelectAll.h"
#include "system/Availability.h"
#include "ui/Layouts.h"

namespace olvex {

const MainWindowRecipe& Form1Recipe() {
    static const MainWindowRecipe recipe{ui::Form1Layout, NtCategories(), Family::NT, "Check6",
                                         "Check9"};
    return recipe;
}

const MainWindowRecipe& Form6Recipe() {
    static const MainWindowRecipe recipe{ui::Form6Layout, Windows98Categories(), Family::Windows98,
                                         nullptr, nullptr};
    return recipe;
}

MainWindow::MainWindow(App& app, const MainWindowRecipe& recipe)
    : FamilyWindow(app, recipe.layout(config::kSupportEmail)), recipe_(recipe) {
    Ctl("Check7").Click = [this] { Check7_Click(); };
    Ctl("Command1").Click = [this] { Command1_Click(); };
    Ctl("Command2").Click = [this] { OpenLink(config::kDonationPage); };
    Ctl("Command3").Click = [this] { Command3_Click(); };
    Ctl("Label3").Click = [this] { OpenLink(config::kSupportPage); };
}

int MainWindow::RouteFor(Family system) const {
    if (system == Family::Unsupported) return 4;
    // The NT window also hands the 98 family to its own window; the 98 window is only ever
    // reached on the 98 family.
    if (recipe_.family == Family::NT && system == Family::Windows98) return 6;
    return 0;
}

void MainWindow::Form_Load() {
    using platform::SkipOnFailure;
    std::optional<WindowsVersion> os;
    auto osName = [&]() -> const std::string& {
        if (!os) os.emplace(services().system);
        return os->os_name;
    };

    if (recipe_.prefetchBox) {
        SkipOnFailure([&] {
            if (!PrefetchCleanable(osName())) {
                Ctl(recipe_.prefetchBox).SetEnabled(false);
                Ctl(recipe_.prefetchBox).SetCaption("Prefetch (Disabled)");
            }
        });
    }
    SkipOnFailure([&] {
        const int target = RouteFor(FamilyFor(osName()));
        if (target == 0) return;
        app().Form(target).Show();
        Hide();
        routedAway_ = true;
    });
    SkipOnFailure([&] { SetSystemLabel(osName()); });
    UpdateBrowserMenus();
    if (recipe_.administratorsBox) {
        SkipOnFailure([&] {
            Ctl(recipe_.administratorsBox).SetEnabled(MayCleanOtherUsers(services().system));
        });
    }
}

void MainWindow::Check7_Click() {
    SelectAllClicked(*this, SelectAllOrder(recipe_.categories), [this] {
        if (!recipe_.prefetchBox) return;
        // Prefetch cannot be cleaned on Windows 2000; its box is disabled there.
        if (!PrefetchCleanable(WindowsVersion(services().system).os_name))
            Ctl(recipe_.prefetchBox).SetValue(0);
    });
}

void MainWindow::Command1_Click() {
    // The Recycle Bin call is owned by the NT main window, which stays loaded (hidden)
    // behind the Windows 98 one.
    RunRecipe(services(), *this, recipe_.categories, app().Form(1).hWnd());
}

void MainWindow::Command3_Click() {
    app().UnloadAllWindows(*this);
    Unload();
}

}  // namespace olvex

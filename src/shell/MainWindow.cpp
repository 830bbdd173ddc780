#include "shell/MainWindow.h"

#include "platform/Errors.h"
#include "shell/CategoryBoxes.h"
#include "shell/Config.h"
#include "shell/SelectAll.h"
#include "system/FreedSpace.h"
#include "ui/Layouts.h"

namespace olvex {

const MainWindowRecipe& Form1Recipe() {
    static const MainWindowRecipe recipe{ui::Form1Layout, Family::NT, nullptr};
    return recipe;
}

const MainWindowRecipe& Form6Recipe() {
    static const MainWindowRecipe recipe{ui::Form6Layout, Family::Windows98, kDonePlain};
    return recipe;
}

MainWindow::MainWindow(App& app, const MainWindowRecipe& recipe)
    : FamilyWindow(app, WithCategoryCaptions(recipe.layout(config::kSupportEmail), recipe.family)),
      recipe_(recipe) {
    Ctl("Check7").Click = [this] { Check7_Click(); };
    Ctl("Command1").Click = [this] { Command1_Click(); };
    Ctl("Command2").Click = [this] { OpenLink(config::kDonationPage); };
    Ctl("Command3").Click = [this] { Command3_Click(); };
    Ctl("Label3").Click = [this] { OpenLink(config::kSupportPage); };
}

std::optional<int> MainWindow::OtherWindowFor(Family system) const {
    if (system == Family::Unsupported) return 4;
    // The NT window also hands the 98 family to its own window; the 98 window is only ever
    // reached on the 98 family.
    if (recipe_.family == Family::NT && system == Family::Windows98) return 6;
    return std::nullopt;
}

void MainWindow::Form_Load() {
    using platform::SkipOnFailure;
    // The system is asked once; the user's rights only at the end, as before any box shows.
    Machine system(services(), recipe_.family, false);
    const std::vector<CategoryBox> boxes = CategoryBoxesOf(*this);

    // A category this system cannot clean: its box is disabled and may say so.
    for (const CategoryBox& box : boxes) {
        SkipOnFailure([&] {
            if (box.category->WhyUnavailable(system).empty()) return;
            Ctl(box.box).SetEnabled(false);
            if (box.category->disabledCaption)
                Ctl(box.box).SetCaption(box.category->disabledCaption);
        });
    }
    SkipOnFailure([&] {
        const std::optional<int> other = OtherWindowFor(FamilyFor(system.osName()));
        if (!other) return;
        app().Form(*other).Show();
        Hide();
        routedAway_ = true;
    });
    SkipOnFailure([&] { SetSystemLabel(system.osName()); });
    UpdateBrowserMenus();
    // A category only administrators may clean: its box is enabled by the user's rights.
    Machine user(services(), recipe_.family, system.osName());
    for (const CategoryBox& box : boxes) {
        SkipOnFailure([&] {
            if (!box.category->WhyUnavailable(system).empty()) return;
            const int asked = user.administratorAsked();
            const bool available = box.category->WhyUnavailable(user).empty();
            if (user.administratorAsked() != asked) Ctl(box.box).SetEnabled(available);
        });
    }
}

void MainWindow::Check7_Click() {
    SelectAllClicked(*this, SelectAllOrder(CategoryBoxesOf(*this)), [this] {
        // What this system cannot clean is not ticked; what only administrators may clean is
        // (its disabled box is cleaned all the same).
        Machine system(services(), recipe_.family, false);
        for (const CategoryBox& box : CategoryBoxesOf(*this))
            if (!box.category->WhyUnavailable(system).empty()) Ctl(box.box).SetValue(0);
    });
}

void MainWindow::Command1_Click() {
    // The Recycle Bin call is owned by the NT main window, which stays loaded (hidden)
    // behind the Windows 98 one.
    EmptySelected(services(), *this, recipe_.family, recipe_.doneMessage, app().Form(1).hWnd());
}

void MainWindow::Command3_Click() {
    app().UnloadAllWindows(*this);
    Unload();
}

}  // namespace olvex

#include "shell/Navigation.h"

#include "system/WindowsVersion.h"
#include "ui/ControlIds.h"

namespace olvex {

namespace {

// One row per window: the targets of its four menu items and of its Main button.
struct NavigationRow {
    int window;
    int menu[5];  // Main, Firefox, Opera, Information, Chrome (in the order of their ids)
    const char* mainButton;
    int mainButtonTarget;
};

constexpr NavigationRow kRows[] = {
    // NT family
    {1, {kNoRoute, 3, 5, 2, 10}, nullptr, kNoRoute},
    {3, {1, kNoRoute, 5, 2, 10}, "Command3", 1},
    {5, {1, 3, kNoRoute, 2, 10}, "Command3", 1},
    {10, {1, 3, 5, 2, kNoRoute}, "Command3", 1},
    {2, {kMainBySystem, 3, 5, kNoRoute, 10}, "Command2", 1},
    // Windows 98 family, which has no Chrome
    {6, {kNoRoute, 7, 8, 9, kNoRoute}, nullptr, kNoRoute},
    {7, {6, kNoRoute, 8, 9, kNoRoute}, "Command3", 6},
    {8, {6, 7, kNoRoute, 9, kNoRoute}, "Command3", 6},
    {9, {6, 7, 8, kNoRoute, kNoRoute}, "Command2", 6},
};

}  // namespace

int RouteFor(int window, const std::string& item) {
    // The menu ids follow the order of the menu bar, Main first.
    const int column = ui::ControlId(item) - ui::ControlId("mnuMain");
    for (const NavigationRow& row : kRows) {
        if (row.window != window) continue;
        if (column >= 0 && column < 5) return row.menu[column];
        return row.mainButton && item == row.mainButton ? row.mainButtonTarget : kNoRoute;
    }
    return kNoRoute;
}

int FormNumber(const std::string& name) {
    if (name == "Form10") return 10;
    if (name.size() != 5 || name.compare(0, 4, "Form") != 0) return 0;
    const char digit = name[4];
    return digit >= '1' && digit <= '9' ? digit - '0' : 0;
}

void ShowInPlace(ui::Form& target, ui::Form& current) {
    target.Load();
    target.Move(current.Left(), current.Top());
    target.Show();
    current.Hide();
}

void ReturnToMainBySystem(App& app, ui::Form& current) {
    // Names the table does not list (Windows NT 4.0 and its kin) go back to the NT main
    // window, as the Main button does; the 98 family and the unsupported systems get the
    // notice, at its own place.
    if (FamilyFor(WindowsVersion(app.services().system).os_name) == Family::NT) {
        ShowInPlace(app.Form(1), current);
        return;
    }
    app.Form(4).Show();
    current.Hide();
}

}  // namespace olvex

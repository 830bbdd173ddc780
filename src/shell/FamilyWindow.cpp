#include "shell/FamilyWindow.h"

#include "platform/Errors.h"
#include "shell/Links.h"
#include "shell/Navigation.h"
#include "system/Availability.h"
#include "system/FileUtilities.h"
#include "system/SpecialFolders.h"
#include "system/WindowsVersion.h"

namespace olvex {

namespace {
// One browser item: enabled when "Program Files\<folder>" is a folder. An unknown
// Program Files folder disables it instead of looking relative to the current folder.
void UpdateBrowserItem(Services& services, ui::MenuItem& item, const char* folder) {
    platform::SkipOnFailure([&] {
        const std::string programFiles = folders::GetProgramFilesFolder(services);
        item.SetEnabled(!programFiles.empty() && DirExists(services, programFiles + folder));
    });
}
}  // namespace

FamilyWindow::FamilyWindow(App& app, const ui::FormLayout& layout)
    : ui::Form(app.services().toolkit, layout), app_(app) {
    WireNavigation();
}

void FamilyWindow::WireNavigation() {
    const int self = FormNumber(name());
    auto wire = [this, self](const std::string& item, std::function<void()>& click) {
        const int target = RouteFor(self, item);
        if (target == kMainBySystem) {
            click = [this] { ReturnToMainBySystem(app_, *this); };
        } else if (target != kNoRoute) {
            click = [this, target] { ShowInPlace(app_.Form(target), *this); };
        }
    };
    for (auto& menu : menus()) wire(menu->name(), menu->Click);
    for (auto& control : controls()) wire(control->name(), control->Click);
}

void FamilyWindow::Form_Load() {
    platform::SkipOnFailure([this] { SetSystemLabel(WindowsVersion(services().system).os_name); });
    UpdateBrowserMenus();
}

void FamilyWindow::SetSystemLabel(const std::string& osName) {
    Ctl("Label4").SetCaption("for " + osName);
}

void FamilyWindow::UpdateBrowserMenus() {
    for (auto& menu : menus()) {
        if (menu->name() == "mnuFirefox" || menu->name() == "mnuFireFox")
            UpdateBrowserItem(services(), *menu, kFirefoxFolder);
    }
    for (auto& menu : menus()) {
        if (menu->name() == "mnuOpera") UpdateBrowserItem(services(), *menu, kOperaFolder);
    }
    for (auto& menu : menus()) {
        if (menu->name() != "mnuChrome") continue;
        platform::SkipOnFailure([&] {
            Machine machine(services(), Family::NT);
            menu->SetEnabled(ChromeInstalled(machine));
        });
    }
}

void FamilyWindow::OpenLink(const std::string& address) {
    OpenOutsidePage(services(), hWnd(), address);
}

void FamilyWindow::Form_Unload() {
    app_.UnloadAllWindows(*this);
}

}  // namespace olvex

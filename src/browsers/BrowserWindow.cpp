#include "browsers/BrowserWindow.h"

#include <optional>

#include "browsers/FirefoxProfiles.h"
#include "cleaning/FreedSpace.h"
#include "cleaning/SelectAll.h"
#include "platform/Errors.h"
#include "shell/Config.h"
#include "system/FileUtilities.h"

namespace olvex {

namespace {
// Select All ticks the saved passwords last, so its question comes after the other boxes
// are already ticked.
const std::initializer_list<const char*> kSelectOrder = {"Check1", "Check2", "Check4",
                                                         "Check5", "Check6", "Check3"};
constexpr const char* kPasswordsBox = "Check3";
}  // namespace

BrowserWindow::BrowserWindow(App& app, const BrowserRecipe& recipe)
    : FamilyWindow(app, recipe.layout(config::kSupportEmail)), recipe_(recipe) {
    Ctl("Check7").Click = [this] { Check7_Click(); };
    Ctl("Check3").Click = [this] { Check3_Click(); };
    Ctl("Command1").Click = [this] { Command1_Click(); };
    Ctl("Command2").Click = [this] { OpenLink(config::kDonationPage); };
    Ctl("Label3").Click = [this] { OpenLink(config::kSupportPage); };
}

void BrowserWindow::Check7_Click() {
    SelectAllClicked(*this, kSelectOrder);
}

void BrowserWindow::Check3_Click() {
    ui::Control& passwords = Ctl(kPasswordsBox);
    // Unticking from here raises this handler again, which then finds nothing to ask.
    if (passwords.Value() == 1 && !ConfirmPasswords()) passwords.SetValue(0);
}

bool BrowserWindow::ConfirmPasswords() {
    const std::string text =
        std::string("Are you sure you want to delete your ") + recipe_.browser + " saved password?";
    return toolkit().MsgBox(text, ui::kYesNo, "Olvex Cleaner - Delete Passwords") == ui::kAnswerYes;
}

std::vector<std::string> BrowserWindow::ProfileParts(const CleaningContext& context) {
    if (recipe_.profiles == Profiles::One) return {""};
    std::vector<std::string> parts;
    for (const std::string& slot : ReadFirefoxProfilePaths(services(), recipe_.family, context))
        if (!slot.empty()) parts.push_back(slot);
    return parts;
}

void BrowserWindow::DeleteItem(const BrowserItem& item, const CleaningContext& context,
                               const std::vector<std::string>& profiles) {
    for (const std::string& profile : profiles) {
        for (const Root& root : item.roots) {
            platform::SkipOnFailure([&] {
                // Built afresh for every path; an unknown folder skips the path.
                const std::string folder = RootPath(services(), context, root);
                if (!folder.empty()) KillFile(services().files, folder + profile + item.name);
            });
        }
    }
}

void BrowserWindow::Command1_Click() {
    using platform::SkipOnFailure;
    ui::Toolkit& kit = toolkit();
    kit.SetMousePointer(ui::kPointerHourglass);

    CleaningContext context;
    SkipOnFailure([&] { context = DeriveCleaningContext(services().system); });
    std::optional<FreedSpaceReport> report;
    if (recipe_.completion == Completion::FreedBytes) {
        report.emplace(services().system, context.SystemDrive);
        SkipOnFailure([&] { report->MeasureBefore(); });
    }
    std::vector<std::string> profiles;
    SkipOnFailure([&] { profiles = ProfileParts(context); });

    for (const BrowserItem& item : recipe_.items) {
        SkipOnFailure([&] {
            if (Ctl(item.box).Value() == 0) return;
            if (item.box == std::string(kPasswordsBox) &&
                recipe_.passwordQuestion == PasswordQuestion::AlsoInTheRun && !ConfirmPasswords()) {
                Ctl(kPasswordsBox).SetValue(0);
                return;
            }
            DeleteItem(item, context, profiles);
        });
    }

    kit.SetMousePointer(ui::kPointerDefault);
    if (report) {
        SkipOnFailure([&] { report->MeasureAfter(); });
        report->Show(kit);
    } else {
        kit.MsgBox(kDoneBrowsers98, ui::kOkOnly, kDoneTitle);
    }
}

}  // namespace olvex

#include "shell/BrowserWindow.h"

#include "shell/CategoryBoxes.h"
#include "shell/Config.h"
#include "shell/SelectAll.h"
#include "system/FreedSpace.h"
#include "ui/Layouts.h"

namespace olvex {

const BrowserWindowRecipe& Form3Recipe() {
    static const BrowserWindowRecipe recipe{ui::Form3Layout, Family::NT, nullptr, "Firefox",
                                            PasswordQuestion::AlsoInTheRun};
    return recipe;
}

const BrowserWindowRecipe& Form5Recipe() {
    static const BrowserWindowRecipe recipe{ui::Form5Layout, Family::NT, nullptr, "Opera",
                                            PasswordQuestion::OnTicking};
    return recipe;
}

const BrowserWindowRecipe& Form7Recipe() {
    static const BrowserWindowRecipe recipe{ui::Form7Layout, Family::Windows98, kDoneBrowsers98,
                                            "Firefox", PasswordQuestion::OnTicking};
    return recipe;
}

const BrowserWindowRecipe& Form8Recipe() {
    static const BrowserWindowRecipe recipe{ui::Form8Layout, Family::Windows98, kDoneBrowsers98,
                                            "Opera", PasswordQuestion::OnTicking};
    return recipe;
}

const BrowserWindowRecipe& Form10Recipe() {
    static const BrowserWindowRecipe recipe{ui::Form10Layout, Family::NT, nullptr, "Chrome",
                                            PasswordQuestion::AlsoInTheRun};
    return recipe;
}

BrowserWindow::BrowserWindow(App& app, const BrowserWindowRecipe& recipe)
    : FamilyWindow(app, WithCategoryCaptions(recipe.layout(config::kSupportEmail), recipe.family)),
      recipe_(recipe) {
    Ctl("Check7").Click = [this] { Check7_Click(); };
    Ctl("Check3").Click = [this] { Check3_Click(); };
    Ctl("Command1").Click = [this] { Command1_Click(); };
    Ctl("Command2").Click = [this] { OpenLink(config::kDonationPage); };
    Ctl("Label3").Click = [this] { OpenLink(config::kSupportPage); };
}

void BrowserWindow::Check7_Click() {
    // The saved passwords are ticked last, so their question comes after the other boxes
    // are already ticked.
    SelectAllClicked(*this, SelectAllOrder(CategoryBoxesOf(*this)));
}

void BrowserWindow::Check3_Click() {
    ui::Control& passwords = Ctl("Check3");
    // Unticking from here raises this handler again, which then finds nothing to ask.
    if (passwords.Value() == 1 && !ConfirmPasswords()) passwords.SetValue(0);
}

bool BrowserWindow::ConfirmPasswords() {
    const std::string text =
        std::string("Are you sure you want to delete your ") + recipe_.browser + " saved password?";
    return toolkit().MsgBox(text, ui::kYesNo, "Olvex Cleaner - Delete Passwords") == ui::kAnswerYes;
}

void BrowserWindow::Command1_Click() {
    EmptySelected(services(), *this, recipe_.family, recipe_.doneMessage, hWnd(),
                  [this](const Category& category) {
                      if (recipe_.passwordQuestion != PasswordQuestion::AlsoInTheRun ||
                          !category.asksBeforeTicking || ConfirmPasswords())
                          return true;
                      Ctl("Check3").SetValue(0);
                      return false;
                  });
}

}  // namespace olvex

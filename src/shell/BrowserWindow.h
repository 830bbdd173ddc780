#pragma once
// The browser windows: one window, driven by its recipe. Form3 and Form7 clean Firefox,
// Form5 and Form8 Opera, Form10 Chrome (NT family only).
#include <string>

#include "shell/FamilyWindow.h"
#include "system/WindowsVersion.h"

namespace olvex {

// The NT Firefox run asks once more before it deletes the saved passwords.
enum class PasswordQuestion { OnTicking, AlsoInTheRun };

struct BrowserWindowRecipe {
    ui::FormLayout (*layout)(const std::string& supportAddress);
    Family family;
    const char* doneMessage;  // nullptr: the bytes freed are measured and reported
    const char* browser;      // as the saved-password question names it
    PasswordQuestion passwordQuestion;
};

const BrowserWindowRecipe& Form3Recipe();  // Firefox, NT family
const BrowserWindowRecipe& Form5Recipe();  // Opera, NT family
const BrowserWindowRecipe& Form7Recipe();  // Firefox, Windows 98 family
const BrowserWindowRecipe& Form8Recipe();  // Opera, Windows 98 family
const BrowserWindowRecipe& Form10Recipe();  // Chrome, NT family

class BrowserWindow : public FamilyWindow {
  public:
    BrowserWindow(App& app, const BrowserWindowRecipe& recipe);

  private:
    void Check7_Click();
    // The saved passwords' box, which asks before it is ticked.
    void Check3_Click();
    void Command1_Click();

    // The saved-password question; true on Yes.
    bool ConfirmPasswords();

    const BrowserWindowRecipe& recipe_;
};

}  // namespace olvex

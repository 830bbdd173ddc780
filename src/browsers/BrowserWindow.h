#pragma once
// The Firefox and Opera windows of both families: one engine, driven by the window's
// recipe. Form3 and Form7 clean Firefox, Form5 and Form8 Opera.
#include <string>
#include <vector>

#include "browsers/BrowserRecipe.h"
#include "shell/FamilyWindow.h"

namespace olvex {

class BrowserWindow : public FamilyWindow {
  public:
    BrowserWindow(App& app, const BrowserRecipe& recipe);

  private:
    void Check7_Click();
    void Check3_Click();
    void Command1_Click();

    // The saved-password question; true on Yes.
    bool ConfirmPasswords();
    // The folders that stand between a root and an item's name: the non-empty profile
    // slots in order for Firefox, a single empty part for Opera.
    std::vector<std::string> ProfileParts(const CleaningContext& context);
    void DeleteItem(const BrowserItem& item, const CleaningContext& context,
                    const std::vector<std::string>& profiles);

    const BrowserRecipe& recipe_;
};

}  // namespace olvex

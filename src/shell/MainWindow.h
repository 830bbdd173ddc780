#pragma once
// The main window of both families, the Windows cleaning categories: Form1 in the NT
// family, Form6 in the Windows 98 family. One window, driven by its recipe.
#include <optional>
#include <string>

#include "shell/FamilyWindow.h"
#include "system/WindowsVersion.h"

namespace olvex {

struct MainWindowRecipe {
    ui::FormLayout (*layout)(const std::string& supportAddress);
    Family family;
    const char* doneMessage;  // nullptr: the bytes freed are measured and reported
};

const MainWindowRecipe& Form1Recipe();  // the NT family
const MainWindowRecipe& Form6Recipe();  // the Windows 98 family

class MainWindow : public FamilyWindow {
  public:
    MainWindow(App& app, const MainWindowRecipe& recipe);

    // True when the load handler handed the screen to another window.
    bool RoutedAway() const { return routedAway_; }

  protected:
    void Form_Load() override;

  private:
    void Check7_Click();
    void Command1_Click();
    void Command3_Click();
    // The number of the window that serves the system instead of this one: the Windows 98
    // main window, or the notice of unsupported systems; nullopt when this one does.
    std::optional<int> OtherWindowFor(Family system) const;

    const MainWindowRecipe& recipe_;
    bool routedAway_ = false;
};

}  // namespace olvex

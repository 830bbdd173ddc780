#pragma once
// The main window of both families, the Windows cleaning categories: Form1 in the NT
// family, Form6 in the Windows 98 family. One window, driven by its recipe.
#include <string>

#include "shell/FamilyWindow.h"
#include "system/CleaningRules.h"

namespace olvex {

struct MainWindowRecipe {
    ui::FormLayout (*layout)(const std::string& supportAddress);
    const CleaningRecipe& categories;
    Family family;
    // The Prefetch box, disabled on Windows 2000, which has no prefetch folder; nullptr if
    // the window has none.
    const char* prefetchBox;
    // The box that only administrators may tick; nullptr if the window has none.
    const char* administratorsBox;
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
    // The window that serves the system instead of this one: 0 for none, 6 for the Windows
    // 98 main window, 4 for the notice of unsupported systems.
    int RouteFor(Family system) const;

    const MainWindowRecipe& recipe_;
    bool routedAway_ = false;
};

}  // namespace olvex

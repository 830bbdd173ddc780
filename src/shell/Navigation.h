#pragma once
// Moving between the windows of a family: the chosen window takes the place of the current
// one, which is only hidden, so every window keeps its ticks until the program ends.
#include <string>

#include "shell/App.h"
#include "ui/Form.h"

namespace olvex {

// Where a menu item or a Main button leads, by window number.
constexpr int kNoRoute = 0;        // the item names the window itself: it does nothing
constexpr int kMainBySystem = -1;  // the NT information window's Main menu asks the system

// The target of a menu item ("mnuMain", "mnuFirefox" or "mnuFireFox", "mnuOpera",
// "mnuChrome", "mnuInfo") or of the Main button of a window, or kNoRoute.
int RouteFor(int window, const std::string& item);

// The number of a window from its designer name, "Form3" -> 3, "Form10" -> 10; 0 if it has
// none.
int FormNumber(const std::string& name);

// Loads the target if needed (its load handler runs then), puts it at the left and top of
// the current window, shows it and hides the current one.
void ShowInPlace(ui::Form& target, ui::Form& current);

// The NT information window's Main menu: back to the NT main window on the NT systems,
// the unsupported-system notice on the others, which this window family does not serve.
void ReturnToMainBySystem(App& app, ui::Form& current);

}  // namespace olvex

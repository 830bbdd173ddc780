#pragma once
// The information window, Form2 in the NT family and Form9 in the Windows 98 family: what
// the program is for, that it is freeware, and the Donate button. Its Main button and menu
// bar are those of every family window.
#include "shell/FamilyWindow.h"

namespace olvex {

class InformationWindow : public FamilyWindow {
  public:
    InformationWindow(App& app, const ui::FormLayout& layout);

  private:
    void Command1_Click();
};

}  // namespace olvex

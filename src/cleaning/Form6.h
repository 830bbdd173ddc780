#pragma once
// The Windows 98 family main window: the Windows cleaning categories.
#include "shell/FamilyWindow.h"

namespace olvex {

class Form6 : public FamilyWindow {
  public:
    explicit Form6(App& app);

  protected:
    void Form_Load() override;

  private:
    void Check7_Click();
    void Command1_Click();
    void Command3_Click();
};

}  // namespace olvex

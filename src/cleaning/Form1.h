#pragma once
// The NT-family main window: the Windows cleaning categories.
#include <string>
#include <vector>

#include "shell/FamilyWindow.h"

namespace olvex {

class Form1 : public FamilyWindow {
  public:
    explicit Form1(App& app);

    // True when the load handler handed the screen to another window.
    bool RoutedAway() const { return routedAway_; }

  protected:
    void Form_Load() override;

  private:
    void Check7_Click();
    void Command1_Click();
    void Command3_Click();

    bool routedAway_ = false;
    // The profiles of the last All Users Temp step.
    std::vector<std::string> profileNames_;
    std::string profilesRoot_;
};

}  // namespace olvex

#pragma once
// Behaviour shared by the windows of both families: the system-name label, the browser
// menu items, moving between the windows, the outside links, and ending the program when
// one is closed.
#include <string>

#include "shell/App.h"
#include "ui/Form.h"

namespace olvex {

class FamilyWindow : public ui::Form {
  public:
    FamilyWindow(App& app, const ui::FormLayout& layout);

  protected:
    App& app() { return app_; }
    Services& services() { return app_.services(); }

    // Label4 reads "for " and the system name.
    void SetSystemLabel(const std::string& osName);
    // Enables the Firefox and Opera items when the browser's folder is under Program Files.
    void UpdateBrowserMenus();
    void OpenLink(const std::string& address);

    // What the Firefox, Opera and information windows do when first loaded: the label,
    // then the browser items. The main windows do more and have their own.
    void Form_Load() override;
    void Form_Unload() override;

  private:
    // Connects the menu items and the Main button to the window each one leads to.
    void WireNavigation();

    App& app_;
};

}  // namespace olvex

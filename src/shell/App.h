#pragma once
// The program's windows and their lifetime: each exists at most once, is loaded on first
// use and stays loaded (hidden or shown) until the program ends.
#include <array>
#include <memory>

#include "system/Services.h"
#include "ui/Form.h"

namespace olvex {

class App {
  public:
    explicit App(Services services);
    ~App();

    Services& services() { return services_; }

    // Window by its number, 1 to 10.
    ui::Form& Form(int number);

    // Loads the first window; its load handler chooses the window the user sees.
    void Start();

    // Unloads every other window, Form1 to Form10 in order; windows not loaded, or being
    // unloaded already, are skipped.
    void UnloadAllWindows(ui::Form& current);

  private:
    void OnUnloaded();

    Services services_;
    std::array<std::unique_ptr<ui::Form>, 11> forms_;
};

}  // namespace olvex

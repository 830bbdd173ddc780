#include "shell/App.h"

#include <stdexcept>

#include "shell/BrowserWindow.h"
#include "shell/InformationWindow.h"
#include "shell/MainWindow.h"
#include "shell/UnsupportedNotice.h"
#include "ui/Layouts.h"

namespace olvex {

App::App(Services services) : services_(services) {
    forms_[1] = std::make_unique<MainWindow>(*this, Form1Recipe());
    forms_[2] = std::make_unique<InformationWindow>(*this, ui::Form2Layout());
    forms_[3] = std::make_unique<BrowserWindow>(*this, Form3Recipe());
    forms_[4] = std::make_unique<UnsupportedNotice>(*this);
    forms_[5] = std::make_unique<BrowserWindow>(*this, Form5Recipe());
    forms_[6] = std::make_unique<MainWindow>(*this, Form6Recipe());
    forms_[7] = std::make_unique<BrowserWindow>(*this, Form7Recipe());
    forms_[8] = std::make_unique<BrowserWindow>(*this, Form8Recipe());
    forms_[9] = std::make_unique<InformationWindow>(*this, ui::Form9Layout());
    forms_[10] = std::make_unique<BrowserWindow>(*this, Form10Recipe());
    for (auto& form : forms_)
        if (form) form->Unloaded = [this] { OnUnloaded(); };
}

App::~App() = default;

ui::Form& App::Form(int number) {
    if (number < 1 || number >= static_cast<int>(forms_.size()) ||
        !forms_[static_cast<size_t>(number)])
        throw std::out_of_range("no window Form" + std::to_string(number));
    return *forms_[static_cast<size_t>(number)];
}

void App::Start() {
    auto& main = static_cast<MainWindow&>(Form(1));
    main.Load();
    if (main.Loaded() && !main.RoutedAway()) main.Show();
}

void App::UnloadAllWindows(ui::Form& current) {
    for (int n = 1; n < static_cast<int>(forms_.size()); ++n) {
        ui::Form* form = forms_[static_cast<size_t>(n)].get();
        if (form && form != &current) form->Unload();
    }
}

void App::OnUnloaded() {
    for (auto& form : forms_)
        if (form && form->Loaded()) return;
    services_.toolkit.Quit();
}

}  // namespace olvex

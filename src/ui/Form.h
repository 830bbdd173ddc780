#pragma once
// A window of the program and its controls, independent of the toolkit that draws them.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/FormLayout.h"
#include "ui/Toolkit.h"

namespace ui {

class Form;

class Control {
  public:
    Control(Form& owner, const ControlLayout& layout);
    const ControlLayout& layout() const { return layout_; }
    const std::string& name() const { return layout_.name; }

    // Check box value, 0 or 1. A change raises Click before the assignment returns;
    // assigning the value the box already has raises nothing.
    int Value() const { return value_; }
    void SetValue(int value);

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);

    // List box items.
    void AddItem(const std::string& text);
    int ListCount() const { return static_cast<int>(items_.size()); }
    const std::string& List(int index) const { return items_.at(static_cast<size_t>(index)); }

    // A click by the user: a check box toggles (raising Click through SetValue), any
    // other control raises Click. Disabled controls ignore it.
    void UserClick();

    // Back to the designed state (when the window is unloaded).
    void Reset();

    std::function<void()> Click;

  private:
    Form& owner_;
    ControlLayout layout_;
    int value_ = 0;
    std::string caption_;
    bool enabled_ = true;
    std::vector<std::string> items_;
};

class MenuItem {
  public:
    explicit MenuItem(Form& owner, const MenuLayout& layout) : owner_(owner), layout_(layout) {}
    const std::string& name() const { return layout_.name; }
    const std::string& Caption() const { return layout_.caption; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    void UserClick();
    void Reset() { enabled_ = true; }

    std::function<void()> Click;

  private:
    Form& owner_;
    MenuLayout layout_;
    bool enabled_ = true;
};

class Form {
  public:
    Form(Toolkit& toolkit, FormLayout layout);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const FormLayout& layout() const { return layout_; }
    const std::string& name() const { return layout_.name; }

    Control& Ctl(std::string_view name);
    MenuItem& Menu(std::string_view name);
    std::vector<std::unique_ptr<Control>>& controls() { return controls_; }
    std::vector<std::unique_ptr<MenuItem>>& menus() { return menus_; }

    bool Loaded() const { return peer_ != nullptr; }
    bool Visible() const { return visible_; }

    // Creates the window if needed and runs its load handler, once.
    void Load();
    // Loads if needed, then shows the window (never modal).
    void Show();
    void Hide();
    // Runs the unload handler and destroys the window; nothing if not loaded or if it is
    // being unloaded already.
    void Unload();

    int Left() const;
    int Top() const;
    void Move(int left, int top);
    uintptr_t hWnd() const;

    // From the toolkit: a control or menu command by id; a close-box request.
    void Command(int id);
    void CloseRequested() { Unload(); }

    WindowPeer* peer() { return peer_.get(); }
    Toolkit& toolkit() { return toolkit_; }

    // Called after a window is gone, so the owner can end the program with the last one.
    std::function<void()> Unloaded;

  protected:
    virtual void Form_Load() {}
    virtual void Form_Unload() {}

  private:
    Toolkit& toolkit_;
    FormLayout layout_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<std::unique_ptr<MenuItem>> menus_;
    std::unique_ptr<WindowPeer> peer_;
    bool visible_ = false;
    bool loading_ = false;
    bool unloading_ = false;
};

}  // namespace ui

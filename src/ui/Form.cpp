#include "ui/Form.h"

#include <stdexcept>

#include "ui/ControlIds.h"

namespace ui {

Control::Control(Form& owner, const ControlLayout& layout) : owner_(owner), layout_(layout) {
    Reset();
}

void Control::Reset() {
    value_ = 0;
    caption_ = layout_.caption;
    enabled_ = true;
    items_.clear();
}

void Control::SetValue(int value) {
    if (value == value_) return;
    value_ = value;
    if (WindowPeer* peer = owner_.peer()) peer->SetValue(name(), value);
    if (Click) Click();
}

void Control::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (WindowPeer* peer = owner_.peer()) peer->SetCaption(name(), caption);
}

void Control::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (WindowPeer* peer = owner_.peer()) peer->SetEnabled(name(), enabled);
}

void Control::AddItem(const std::string& text) {
    items_.push_back(text);
    if (WindowPeer* peer = owner_.peer()) peer->AddListItem(name(), text);
}

void Control::UserClick() {
    if (!enabled_) return;
    if (layout_.kind == Kind::CheckBox) {
        SetValue(value_ == 0 ? 1 : 0);
    } else if (Click) {
        Click();
    }
}

void MenuItem::SetEnabled(bool enabled) {
    enabled_ = enabled;
    if (WindowPeer* peer = owner_.peer()) peer->SetMenuEnabled(name(), enabled);
}

void MenuItem::UserClick() {
    if (enabled_ && Click) Click();
}

Form::Form(Toolkit& toolkit, FormLayout layout) : toolkit_(toolkit), layout_(std::move(layout)) {
    for (const ControlLayout& c : layout_.controls)
        controls_.push_back(std::make_unique<Control>(*this, c));
    for (const MenuLayout& m : layout_.menus)
        menus_.push_back(std::make_unique<MenuItem>(*this, m));
}

Form::~Form() = default;

Control& Form::Ctl(std::string_view name) {
    for (auto& c : controls_)
        if (c->name() == name) return *c;
    throw std::out_of_range("no control " + std::string(name) + " on " + layout_.name);
}

MenuItem& Form::Menu(std::string_view name) {
    for (auto& m : menus_)
        if (m->name() == name) return *m;
    throw std::out_of_range("no menu item " + std::string(name) + " on " + layout_.name);
}

void Form::Load() {
    if (peer_ || loading_) return;
    loading_ = true;
    peer_ = toolkit_.CreatePeer(*this);
    loading_ = false;
    Form_Load();
}

void Form::Show() {
    Load();
    if (!peer_) return;
    visible_ = true;
    peer_->SetVisible(true);
}

void Form::Hide() {
    if (!peer_) return;
    visible_ = false;
    peer_->SetVisible(false);
}

void Form::Unload() {
    if (!peer_ || unloading_) return;
    unloading_ = true;
    Form_Unload();
    peer_.reset();
    visible_ = false;
    for (auto& c : controls_) c->Reset();
    for (auto& m : menus_) m->Reset();
    unloading_ = false;
    if (Unloaded) Unloaded();
}

int Form::Left() const {
    return peer_ ? peer_->Left() : 0;
}
int Form::Top() const {
    return peer_ ? peer_->Top() : 0;
}

void Form::Move(int left, int top) {
    Load();
    if (peer_) peer_->Move(left, top);
}

uintptr_t Form::hWnd() const {
    return peer_ ? peer_->Handle() : 0;
}

void Form::Command(int id) {
    for (auto& c : controls_) {
        if (ControlId(c->name()) == id) {
            c->UserClick();
            return;
        }
    }
    for (auto& m : menus_) {
        if (ControlId(m->name()) == id) {
            m->UserClick();
            return;
        }
    }
}

}  // namespace ui

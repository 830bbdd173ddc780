#pragma once
// An in-memory windowing toolkit: windows are plain objects built from the same layout
// tables, message boxes are answered from a script and recorded.
#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "ui/Form.h"
#include "ui/Toolkit.h"

namespace fakes {

struct ShownBox {
    std::string text;
    int buttons;
    std::string title;
};

inline std::vector<std::string> ListItems(const ui::Control& c) {
    std::vector<std::string> items;
    for (int i = 0; i < c.ListCount(); ++i) items.push_back(c.List(i));
    return items;
}

// What a window shows of one control.
struct ShownControl {
    std::string caption;
    int value = 0;
    bool enabled = true;
    std::vector<std::string> items;
};

// A window as the toolkit draws it: created from the form's state at that moment, then
// changed only by what the form tells it. A control or menu the window lacks throws.
class FakePeer : public ui::WindowPeer {
  public:
    FakePeer(uintptr_t handle, ui::Form& form) : handle_(handle) {
        for (auto& c : form.controls())
            controls[c->name()] = {c->Caption(), c->Value(), c->Enabled(), ListItems(*c)};
        for (auto& m : form.menus()) menus[m->name()] = m->Enabled();
    }
    void SetVisible(bool visible) override { visible_ = visible; }
    int Left() const override { return left_; }
    int Top() const override { return top_; }
    void Move(int left, int top) override {
        left_ = left;
        top_ = top;
    }
    void SetCaption(const std::string& c, const std::string& text) override {
        controls.at(c).caption = text;
    }
    void SetValue(const std::string& c, int value) override { controls.at(c).value = value; }
    void SetEnabled(const std::string& c, bool enabled) override {
        controls.at(c).enabled = enabled;
    }
    void SetMenuEnabled(const std::string& m, bool enabled) override { menus.at(m) = enabled; }
    void AddListItem(const std::string& c, const std::string& text) override {
        controls.at(c).items.push_back(text);
    }
    uintptr_t Handle() const override { return handle_; }
    bool visible() const { return visible_; }

    std::map<std::string, ShownControl> controls;
    std::map<std::string, bool> menus;  // enabled

  private:
    uintptr_t handle_;
    bool visible_ = false;
    int left_ = 1000;
    int top_ = 800;
};

// The loaded window shows exactly what the form holds, control by control and menu by menu.
inline void ExpectPeerMatchesForm(ui::Form& form) {
    auto* peer = dynamic_cast<FakePeer*>(form.peer());
    ASSERT_NE(peer, nullptr) << form.name() << " is not loaded";
    ASSERT_EQ(peer->controls.size(), form.controls().size()) << form.name();
    for (auto& c : form.controls()) {
        const ShownControl& shown = peer->controls.at(c->name());
        const std::string where = form.name() + "." + c->name();
        EXPECT_EQ(shown.caption, c->Caption()) << where;
        EXPECT_EQ(shown.value, c->Value()) << where;
        EXPECT_EQ(shown.enabled, c->Enabled()) << where;
        EXPECT_EQ(shown.items, ListItems(*c)) << where;
    }
    ASSERT_EQ(peer->menus.size(), form.menus().size()) << form.name();
    for (auto& m : form.menus())
        EXPECT_EQ(peer->menus.at(m->name()), m->Enabled()) << form.name() << "." << m->name();
}

class FakeToolkit : public ui::Toolkit {
  public:
    std::unique_ptr<ui::WindowPeer> CreatePeer(ui::Form& form) override {
        created.push_back(form.name());
        return std::make_unique<FakePeer>(nextHandle++, form);
    }

    // Answers come from `answers` in order. A box with only OK needs no script; a question
    // nobody scripted an answer for is recorded in `unanswered` and answered No.
    int MsgBox(const std::string& text, int buttons, const std::string& title) override {
        boxes.push_back({text, buttons, title});
        if (answers.empty()) {
            if (buttons == ui::kOkOnly) return ui::kAnswerOk;
            unanswered.push_back(title + ": " + text);
            return ui::kAnswerNo;
        }
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void SetMousePointer(int pointer) override { pointers.push_back(pointer); }
    void Quit() override { ++quits; }
    [[noreturn]] void End() override {
        ended = true;
        throw platform::ProgramEnded{};
    }

    std::vector<std::string> created;
    std::vector<ShownBox> boxes;
    std::deque<int> answers;
    std::vector<std::string> unanswered;
    std::vector<int> pointers;
    int quits = 0;
    bool ended = false;
    uintptr_t nextHandle = 0x1000;
};

}  // namespace fakes

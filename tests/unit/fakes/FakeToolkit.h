#pragma once
// An in-memory windowing toolkit: windows are plain objects built from the same layout
// tables, message boxes are answered from a script and recorded.
#include <deque>
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

class FakePeer : public ui::WindowPeer {
  public:
    explicit FakePeer(uintptr_t handle) : handle_(handle) {}
    void SetVisible(bool visible) override { visible_ = visible; }
    int Left() const override { return left_; }
    int Top() const override { return top_; }
    void Move(int left, int top) override {
        left_ = left;
        top_ = top;
    }
    void SetCaption(const std::string&, const std::string&) override {}
    void SetValue(const std::string&, int) override {}
    void SetEnabled(const std::string&, bool) override {}
    void SetMenuEnabled(const std::string&, bool) override {}
    void AddListItem(const std::string&, const std::string&) override {}
    uintptr_t Handle() const override { return handle_; }
    bool visible() const { return visible_; }

  private:
    uintptr_t handle_;
    bool visible_ = false;
    int left_ = 1000;
    int top_ = 800;
};

class FakeToolkit : public ui::Toolkit {
  public:
    std::unique_ptr<ui::WindowPeer> CreatePeer(ui::Form& form) override {
        created.push_back(form.name());
        return std::make_unique<FakePeer>(nextHandle++);
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

#pragma once
// What the windows need from the windowing toolkit. Two implementations: real Win32
// windows, and an in-memory toolkit for the unit tests.
#include <cstdint>
#include <memory>
#include <string>

namespace ui {

class Form;

enum MessageBoxButtons { kOkOnly = 0, kYesNo = 4 };
enum MessageBoxAnswer { kAnswerOk = 1, kAnswerYes = 6, kAnswerNo = 7 };
enum MousePointer { kPointerDefault = 0, kPointerHourglass = 11 };

// The toolkit's side of one loaded window: it shows what the Form holds and reports the
// user's actions back through Form::Command and Form::CloseRequested.
class WindowPeer {
  public:
    virtual ~WindowPeer() = default;
    virtual void SetVisible(bool visible) = 0;
    virtual int Left() const = 0;  // twips
    virtual int Top() const = 0;
    virtual void Move(int left, int top) = 0;
    virtual void SetCaption(const std::string& control, const std::string& text) = 0;
    virtual void SetValue(const std::string& control, int value) = 0;
    virtual void SetEnabled(const std::string& control, bool enabled) = 0;
    virtual void SetMenuEnabled(const std::string& menu, bool enabled) = 0;
    virtual void AddListItem(const std::string& control, const std::string& text) = 0;
    virtual uintptr_t Handle() const = 0;
};

class Toolkit {
  public:
    virtual ~Toolkit() = default;
    // Creates the hidden window of a form from its layout and current control states.
    virtual std::unique_ptr<WindowPeer> CreatePeer(Form& form) = 0;
    // Modal box; buttons kOkOnly or kYesNo, no icon. Returns a MessageBoxAnswer.
    virtual int MsgBox(const std::string& text, int buttons, const std::string& title) = 0;
    virtual void SetMousePointer(int pointer) = 0;
    // The last window is gone: the program ends normally.
    virtual void Quit() = 0;
    // Terminates the program at once; never returns.
    [[noreturn]] virtual void End() = 0;
};

}  // namespace ui

// Test driver: runs under Wine beside Olvex Cleaner, finds the program's windows by class
// ("OlvexCleaner_" + form name), reads and clicks their controls, and answers its message
// boxes. Several commands may share one launch, separated by "--"; the first failure stops.
//
// Results go to stdout, one per line (UTF-8). Exit code 0 ok, 1 error (reason on stderr),
// 2 time-out. Every wait ends after the command's time-out: 15000 ms, or the number given
// as the last argument.
//
// Ordering is what makes the results trustworthy. Actions go out with SendNotifyMessage: it
// does not block like SendMessage when the handler opens a modal box, and unlike a posted
// message it joins the same first-in first-out queue as the sent messages we read with, so
// a read never overtakes a click. After each action we wait until the program's thread
// pumps messages again (a WM_NULL round trip): then the handler has finished, or it sits in
// a modal loop waiting for the user, and the next command sees its effects.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/ControlIds.h"

namespace {

constexpr DWORD kDefaultTimeoutMs = 15000;
constexpr DWORD kPollMs = 20;
constexpr int kMessageBoxTextId = 0xFFFF;
const char kClassPrefix[] = "OlvexCleaner_";
const wchar_t kDialogClass[] = L"#32770";

enum ExitCode { kOk = 0, kError = 1, kTimeout = 2 };

// Ends the current command with an exit code and a reason.
struct Failure {
    int code;
    std::string message;
};

[[noreturn]] void Fail(const std::string& message) {
    throw Failure{kError, message};
}
[[noreturn]] void TimeOut(const std::string& message) {
    throw Failure{kTimeout, message};
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), nullptr, 0, nullptr,
                                nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), (int)text.size(), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), (int)text.size(), &out[0], n);
    return out;
}

// Line breaks of a caption or box text as plain "\n".
std::wstring WithoutCarriageReturns(std::wstring text) {
    text.erase(std::remove(text.begin(), text.end(), L'\r'), text.end());
    return text;
}

// For one-line listings: control characters spelled out.
std::wstring Escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\r') continue;
        if (c == L'\n')
            out += L"\\n";
        else if (c == L'\t')
            out += L"\\t";
        else
            out += c;
    }
    return out;
}

void PrintLine(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

class Deadline {
  public:
    explicit Deadline(DWORD ms) : start_(GetTickCount()), ms_(ms) {}
    bool Passed() const { return GetTickCount() - start_ >= ms_; }
    // At least a little, so a last round trip that is already under way can still answer.
    DWORD Left() const {
        DWORD used = GetTickCount() - start_;
        return used >= ms_ ? 50 : std::max<DWORD>(ms_ - used, 50);
    }
    DWORD Total() const { return ms_; }

  private:
    DWORD start_;
    DWORD ms_;
};

// --- windows -----------------------------------------------------------------------------

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> all;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::wstring ClassOf(HWND hwnd) {
    wchar_t name[256];
    int n = GetClassNameW(hwnd, name, 256);
    return std::wstring(name, n > 0 ? n : 0);
}

bool ClassIs(HWND hwnd, const wchar_t* name) {
    return lstrcmpiW(ClassOf(hwnd).c_str(), name) == 0;
}

// The caption as the system stores it: no message, so it works even on a busy window.
std::wstring StoredText(HWND hwnd) {
    wchar_t text[1024];
    int n = InternalGetWindowText(hwnd, text, 1024);
    return std::wstring(text, n > 0 ? n : 0);
}

bool OwnVisibleStyle(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Sends a message and waits for the answer; a window that vanished or never answered ends
// the command.
LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, const Deadline& deadline,
            const std::string& what) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(hwnd, message, wParam, lParam, SMTO_NORMAL, deadline.Left(), &result))
        return static_cast<LRESULT>(result);
    if (!IsWindow(hwnd)) Fail(what + ": the window went away");
    TimeOut(what + ": no answer within " + std::to_string(deadline.Total()) + " ms");
}

// Returns once the window's thread pumps messages again (see the top of this file); false if
// the window went away meanwhile, which is how a window that closes itself ends.
bool Settle(HWND hwnd, const Deadline& deadline, const std::string& what) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(hwnd, WM_NULL, 0, 0, SMTO_NORMAL, deadline.Left(), &result))
        return true;
    if (!IsWindow(hwnd)) return false;
    TimeOut(what + " is still busy after " + std::to_string(deadline.Total()) + " ms");
}

std::wstring TextOf(HWND hwnd, const Deadline& deadline, const std::string& what) {
    LRESULT length = Ask(hwnd, WM_GETTEXTLENGTH, 0, 0, deadline, what);
    std::vector<wchar_t> text(length + 2, L'\0');
    LRESULT n =
        Ask(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), deadline, what);
    return std::wstring(text.data(), std::min<size_t>(n, length + 1));
}

std::wstring FormClass(const std::string& form) {
    return Wide(kClassPrefix + form);
}

// Windows of one form, visible ones first.
std::vector<HWND> FormWindows(const std::string& form) {
    std::wstring wanted = FormClass(form);
    std::vector<HWND> found;
    for (HWND hwnd : TopLevelWindows())
        if (ClassOf(hwnd) == wanted) found.push_back(hwnd);
    std::stable_partition(found.begin(), found.end(), [](HWND h) { return IsWindowVisible(h); });
    return found;
}

// Waits until a window of the form exists (and is visible, if asked) and its thread has
// finished whatever it was doing, e.g. the program's start-up.
HWND FindForm(const std::string& form, const Deadline& deadline, bool visible) {
    for (;;) {
        std::vector<HWND> found = FormWindows(form);
        if (!found.empty() && (!visible || IsWindowVisible(found[0]))) {
            if (Settle(found[0], deadline, form) && IsWindow(found[0])) return found[0];
            continue;  // it closed while we waited: look again
        }
        if (deadline.Passed())
            TimeOut(std::string(found.empty() ? "no window of " : "no visible window of ") + form +
                    " (class " + kClassPrefix + form + ") within " +
                    std::to_string(deadline.Total()) + " ms");
        Sleep(kPollMs);
    }
}

HWND FindControl(HWND form, const std::string& formName, const std::string& control) {
    int id = ui::ControlId(control);
    if (id == 0) Fail("unknown control name " + control);
    HWND hwnd = GetDlgItem(form, id);
    if (!hwnd)
        Fail(formName + " has no child control " + control + " (id " + std::to_string(id) + ")");
    return hwnd;
}

// Message boxes of any process: class #32770, visible, with that title.
HWND FindBox(const std::wstring& title) {
    for (HWND hwnd : TopLevelWindows())
        if (ClassIs(hwnd, kDialogClass) && IsWindowVisible(hwnd) && StoredText(hwnd) == title)
            return hwnd;
    return nullptr;
}

HWND WaitBox(const std::string& title, const Deadline& deadline) {
    std::wstring wanted = Wide(title);
    for (;;) {
        if (HWND box = FindBox(wanted)) return box;
        if (deadline.Passed())
            TimeOut("no message box titled \"" + title + "\" within " +
                    std::to_string(deadline.Total()) + " ms");
        Sleep(kPollMs);
    }
}

std::wstring BoxText(HWND box, const Deadline& deadline, const std::string& title) {
    HWND text = GetDlgItem(box, kMessageBoxTextId);
    if (!text) Fail("message box \"" + title + "\" has no text control");
    return WithoutCarriageReturns(TextOf(text, deadline, "text of message box \"" + title + "\""));
}

// A window of the given thread other than `except`, to wait on once `except` is gone.
HWND OtherWindowOfThread(DWORD thread, HWND except) {
    for (HWND hwnd : TopLevelWindows())
        if (hwnd != except && GetWindowThreadProcessId(hwnd, nullptr) == thread) return hwnd;
    return nullptr;
}

// --- commands ----------------------------------------------------------------------------

using Args = std::vector<std::string>;

void Windows(const Args&, const Deadline& deadline) {
    struct Row {
        std::string form;
        HWND hwnd;
    };
    std::vector<Row> forms;
    std::vector<HWND> boxes;
    std::wstring prefix = Wide(kClassPrefix);
    for (HWND hwnd : TopLevelWindows()) {
        std::wstring cls = ClassOf(hwnd);
        if (cls.compare(0, prefix.size(), prefix) == 0)
            forms.push_back({Utf8(cls.substr(prefix.size())), hwnd});
        else if (lstrcmpiW(cls.c_str(), kDialogClass) == 0)
            boxes.push_back(hwnd);
    }
    std::stable_sort(forms.begin(), forms.end(),
                     [](const Row& a, const Row& b) { return a.form < b.form; });
    // Best effort: let each program thread finish what it is doing, but list even a hung one.
    std::vector<DWORD> settled;
    for (const Row& row : forms) {
        DWORD thread = GetWindowThreadProcessId(row.hwnd, nullptr);
        if (std::find(settled.begin(), settled.end(), thread) != settled.end()) continue;
        settled.push_back(thread);
        DWORD_PTR ignored;
        SendMessageTimeoutW(row.hwnd, WM_NULL, 0, 0, SMTO_NORMAL,
                            std::min<DWORD>(deadline.Left(), 2000), &ignored);
    }
    for (const Row& row : forms) {
        if (!IsWindow(row.hwnd)) continue;
        RECT r;
        GetWindowRect(row.hwnd, &r);
        PrintLine(row.form + "\t" + (IsWindowVisible(row.hwnd) ? "1" : "0") + "\t" +
                  Utf8(Escaped(StoredText(row.hwnd))) + "\t" + std::to_string(r.left) + "\t" +
                  std::to_string(r.top) + "\t" + std::to_string(r.right - r.left) + "\t" +
                  std::to_string(r.bottom - r.top));
    }
    for (HWND box : boxes) {
        if (!IsWindow(box)) continue;
        std::string line = std::string("#32770\t") + (IsWindowVisible(box) ? "1" : "0") + "\t" +
                           Utf8(Escaped(StoredText(box)));
        if (HWND text = GetDlgItem(box, kMessageBoxTextId))
            line += "\t" + Utf8(Escaped(StoredText(text)));
        PrintLine(line);
    }
}

void WaitVisible(const Args& a, const Deadline& deadline) {
    FindForm(a[0], deadline, true);
}

void WaitGone(const Args& a, const Deadline& deadline) {
    while (!FormWindows(a[0]).empty()) {
        if (deadline.Passed())
            TimeOut("a window of " + a[0] + " still exists after " +
                    std::to_string(deadline.Total()) + " ms");
        Sleep(kPollMs);
    }
}

void Text(const Args& a, const Deadline& deadline) {
    HWND control = FindControl(FindForm(a[0], deadline, false), a[0], a[1]);
    PrintLine(Utf8(WithoutCarriageReturns(TextOf(control, deadline, a[0] + "." + a[1]))));
}

void Checked(const Args& a, const Deadline& deadline) {
    HWND control = FindControl(FindForm(a[0], deadline, false), a[0], a[1]);
    if (!ClassIs(control, L"Button")) Fail(a[0] + "." + a[1] + " is not a check box");
    PrintLine(std::to_string(Ask(control, BM_GETCHECK, 0, 0, deadline, a[0] + "." + a[1])));
}

void Enabled(const Args& a, const Deadline& deadline) {
    HWND control = FindControl(FindForm(a[0], deadline, false), a[0], a[1]);
    PrintLine(IsWindowEnabled(control) ? "1" : "0");
}

// The control's own Visible setting; a hidden window does not hide it.
void ControlVisible(const Args& a, const Deadline& deadline) {
    HWND control = FindControl(FindForm(a[0], deadline, false), a[0], a[1]);
    PrintLine(OwnVisibleStyle(control) ? "1" : "0");
}

// What a user can reach: a visible, enabled window (no modal box over it) and control.
void RequireUsable(HWND form, const std::string& formName, HWND control, const std::string& name) {
    if (!IsWindowEnabled(form)) Fail(formName + " is disabled (is a modal window open?)");
    if (control && !OwnVisibleStyle(control)) Fail(formName + "." + name + " is hidden");
    if (control && !IsWindowEnabled(control)) Fail(formName + "." + name + " is disabled");
}

void Click(const Args& a, const Deadline& deadline) {
    HWND form = FindForm(a[0], deadline, true);
    HWND control = FindControl(form, a[0], a[1]);
    RequireUsable(form, a[0], control, a[1]);
    if (ClassIs(control, L"Button")) {
        SendNotifyMessageW(control, BM_CLICK, 0, 0);
    } else if (ClassIs(control, L"Static")) {
        // A label's click reaches the window as STN_CLICKED (the labels have SS_NOTIFY).
        SendNotifyMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), STN_CLICKED),
                           reinterpret_cast<LPARAM>(control));
    } else {
        Fail(a[0] + "." + a[1] + " is a " + Utf8(ClassOf(control)) + ", which cannot be clicked");
    }
    Settle(form, deadline, a[0]);
}

UINT MenuStateMessage() {
    static UINT message = RegisterWindowMessageA(ui::kMenuStateMessage);
    return message;
}

int MenuId(const std::string& name) {
    int id = ui::ControlId(name);
    if (id < 9000) Fail(name + " is not a menu item name");
    return id;
}

// The program answers for its own menus: 1 enabled, 0 disabled, -1 no such item.
LRESULT MenuState(HWND form, const std::string& formName, const std::string& item,
                  const Deadline& deadline) {
    return Ask(form, MenuStateMessage(), MenuId(item), 0, deadline, formName + " menu " + item);
}

void MenuStateCommand(const Args& a, const Deadline& deadline) {
    LRESULT state = MenuState(FindForm(a[0], deadline, false), a[0], a[1], deadline);
    PrintLine(state == 1 ? "enabled" : state == 0 ? "disabled" : "missing");
}

void Menu(const Args& a, const Deadline& deadline) {
    HWND form = FindForm(a[0], deadline, true);
    RequireUsable(form, a[0], nullptr, a[1]);
    LRESULT state = MenuState(form, a[0], a[1], deadline);
    if (state != 1)
        Fail(a[0] + " menu item " + a[1] + (state == 0 ? " is disabled" : " does not exist"));
    SendNotifyMessageW(form, WM_COMMAND, MAKEWPARAM(MenuId(a[1]), 0), 0);
    Settle(form, deadline, a[0]);
}

// The menu command as a message, whatever the item's state: what a stray or forged message
// would do. A disabled item must still do nothing.
void PostMenu(const Args& a, const Deadline& deadline) {
    HWND form = FindForm(a[0], deadline, true);
    SendNotifyMessageW(form, WM_COMMAND, MAKEWPARAM(MenuId(a[1]), 0), 0);
    Settle(form, deadline, a[0]);
}

// Moves the window to left, top (screen pixels), as a user dragging it would.
void Move(const Args& a, const Deadline& deadline) {
    HWND form = FindForm(a[0], deadline, true);
    char* end = nullptr;
    long left = std::strtol(a[1].c_str(), &end, 10);
    if (*end) Fail("move: left must be a number, not " + a[1]);
    long top = std::strtol(a[2].c_str(), &end, 10);
    if (*end) Fail("move: top must be a number, not " + a[2]);
    if (!SetWindowPos(form, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE))
        Fail("move: SetWindowPos failed with " + std::to_string(GetLastError()));
    Settle(form, deadline, a[0]);
}

// The close box, as the title bar sends it.
void Close(const Args& a, const Deadline& deadline) {
    HWND form = FindForm(a[0], deadline, true);
    if (!(GetWindowLongW(form, GWL_STYLE) & WS_SYSMENU)) Fail(a[0] + " has no close box");
    RequireUsable(form, a[0], nullptr, "");
    SendNotifyMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
    Settle(form, deadline, a[0]);
}

void Rect(const Args& a, const Deadline& deadline) {
    RECT r;
    GetWindowRect(FindForm(a[0], deadline, false), &r);
    PrintLine(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
              std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top));
}

void MessageBoxText(const Args& a, const Deadline& deadline) {
    PrintLine(Utf8(BoxText(WaitBox(a[0], deadline), deadline, a[0])));
}

void Answer(const Args& a, const Deadline& deadline) {
    int id = a[1] == "ok" ? IDOK : a[1] == "yes" ? IDYES : a[1] == "no" ? IDNO : 0;
    if (id == 0) Fail("answer must be ok, yes or no, not " + a[1]);
    HWND box = WaitBox(a[0], deadline);
    HWND button = GetDlgItem(box, id);
    if (!button || !OwnVisibleStyle(button))
        Fail("message box \"" + a[0] + "\" has no " + a[1] + " button");
    DWORD thread = GetWindowThreadProcessId(box, nullptr);
    SendNotifyMessageW(button, BM_CLICK, 0, 0);
    while (IsWindow(box)) {
        if (deadline.Passed()) TimeOut("message box \"" + a[0] + "\" stayed open after " + a[1]);
        Sleep(kPollMs);
    }
    // The handler that opened the box carries on now; wait until it is done (or opens the
    // next box), unless the program ended meanwhile.
    if (HWND other = OtherWindowOfThread(thread, box)) Settle(other, deadline, "the program");
}

void NoMessageBox(const Args& a, const Deadline& deadline) {
    std::wstring wanted = Wide(a[0]);
    do {
        if (HWND box = FindBox(wanted))
            Fail("message box \"" + a[0] +
                 "\" appeared: " + Utf8(Escaped(BoxText(box, Deadline(2000), a[0]))));
        Sleep(kPollMs);
    } while (!deadline.Passed());
}

// Holds a file open, with the sharing given, until the time-out: the file is in use
// meanwhile. "held" tells it has begun.
void HoldSharing(const Args& a, const Deadline& deadline, DWORD access, DWORD share,
                 DWORD disposition, DWORD flags = FILE_ATTRIBUTE_NORMAL) {
    HANDLE file = CreateFileW(Wide(a[0]).c_str(), access, share, nullptr, disposition, flags,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        Fail("cannot open " + a[0] + " (error " + std::to_string(GetLastError()) + ")");
    PrintLine("held");
    Sleep(deadline.Total());
    CloseHandle(file);
}

// As a program reading a file holds it: sharing reading and writing, but not its deletion.
void Hold(const Args& a, const Deadline& deadline) {
    HoldSharing(a, deadline, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
}

// As a running Firefox holds its profile's parent.lock: made if need be, shared with nobody.
void HoldShut(const Args& a, const Deadline& deadline) {
    HoldSharing(a, deadline, GENERIC_READ | GENERIC_WRITE, 0, OPEN_ALWAYS);
}

// As a running Chrome holds User Data's lockfile: made afresh, written, readable by others,
// and gone when closed.
void HoldLockfile(const Args& a, const Deadline& deadline) {
    HoldSharing(a, deadline, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS,
                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE);
}

struct Command {
    const char* name;
    size_t fixedArgs;      // before the optional time-out
    bool timeoutRequired;  // the last argument is the time-out and must be there
    void (*run)(const Args&, const Deadline&);
    const char* usage;
};

const Command kCommands[] = {
    {"windows", 0, false, Windows, "windows"},
    {"wait-visible", 1, false, WaitVisible, "wait-visible FormN [ms]"},
    {"wait-gone", 1, false, WaitGone, "wait-gone FormN [ms]"},
    {"text", 2, false, Text, "text FormN Control [ms]"},
    {"checked", 2, false, Checked, "checked FormN Control [ms]"},
    {"enabled", 2, false, Enabled, "enabled FormN Control [ms]"},
    {"control-visible", 2, false, ControlVisible, "control-visible FormN Control [ms]"},
    {"click", 2, false, Click, "click FormN Control [ms]"},
    {"menu", 2, false, Menu, "menu FormN mnuName [ms]"},
    {"menu-state", 2, false, MenuStateCommand, "menu-state FormN mnuName [ms]"},
    {"post-menu", 2, false, PostMenu, "post-menu FormN mnuName [ms]"},
    {"move", 3, false, Move, "move FormN left top [ms]"},
    {"close", 1, false, Close, "close FormN [ms]"},
    {"rect", 1, false, Rect, "rect FormN [ms]"},
    {"msgbox", 1, false, MessageBoxText, "msgbox TITLE [ms]"},
    {"answer", 2, false, Answer, "answer TITLE ok|yes|no [ms]"},
    {"no-msgbox", 1, true, NoMessageBox, "no-msgbox TITLE ms"},
    {"hold", 1, true, Hold, "hold PATH ms"},
    {"hold-shut", 1, true, HoldShut, "hold-shut PATH ms"},
    {"hold-lockfile", 1, true, HoldLockfile, "hold-lockfile PATH ms"},
};

bool ParseMs(const std::string& text, DWORD* ms) {
    if (text.empty() || text.size() > 9 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    *ms = static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 10));
    return true;
}

void RunOne(const Args& words) {
    if (words.empty()) Fail("empty command (two \"--\" in a row?)");
    for (const Command& command : kCommands) {
        if (words[0] != command.name) continue;
        Args args(words.begin() + 1, words.end());
        DWORD ms = kDefaultTimeoutMs;
        bool hasMs = args.size() == command.fixedArgs + 1;
        if ((command.timeoutRequired && !hasMs) || (!hasMs && args.size() != command.fixedArgs) ||
            (hasMs && !ParseMs(args.back(), &ms)))
            Fail(std::string("usage: ") + command.usage);
        if (hasMs) args.pop_back();
        command.run(args, Deadline(ms));
        return;
    }
    Fail("unknown command " + words[0]);
}

void PrintUsage() {
    std::fputs("usage: driver COMMAND ARGS [-- COMMAND ARGS ...]\ncommands:\n", stderr);
    for (const Command& command : kCommands) std::fprintf(stderr, "  %s\n", command.usage);
}

}  // namespace

int main(int argc, char** argv) {
    // Plain "\n" line ends; the text is UTF-8 whatever the code page.
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    if (argc < 2) {
        PrintUsage();
        return kError;
    }
    Args words;
    for (int i = 1; i <= argc; ++i) {
        if (i < argc && std::string(argv[i]) != "--") {
            words.push_back(argv[i]);
            continue;
        }
        try {
            RunOne(words);
        } catch (const Failure& failure) {
            std::fprintf(stderr, "driver: %s\n", failure.message.c_str());
            return failure.code;
        }
        words.clear();
    }
    return kOk;
}

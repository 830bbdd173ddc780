#include "platform/win32/Win32Toolkit.h"

#include <algorithm>
#include <new>

#include "platform/Errors.h"
#include "platform/win32/SystemCalls.h"
#include "ui/ControlIds.h"
#include "ui/Form.h"

namespace platform::win32 {

namespace {

constexpr COLORREF kPureBlue = RGB(0, 0, 255);
UINT MenuStateMessage() {
    static const UINT message = ::RegisterWindowMessageA(ui::kMenuStateMessage);
    return message;
}

// Frames draw their own caption so that it can be blue whatever theme is in force. The
// frame's own window procedure is replaced and kept in the frame's user data: subclassing
// by the common controls needs a version that only later systems have.
LRESULT CALLBACK FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto button = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (message != WM_PAINT || !button) {
        return button ? CallWindowProcU(button, hwnd, message, wParam, lParam)
                      : DefWindowProcU(hwnd, message, wParam, lParam);
    }
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(hwnd, &paint);
    HGDIOBJ oldFont =
        ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageA(hwnd, WM_GETFONT, 0, 0)));
    // Wide text drawing is one of the few wide calls every family carries out itself.
    const std::wstring text = Wide(WindowTextU(hwnd));
    const int length = static_cast<int>(text.size());
    SIZE extent{0, 0};
    ::GetTextExtentPoint32W(dc, text.c_str(), length, &extent);
    RECT rect;
    ::GetClientRect(hwnd, &rect);
    rect.top += extent.cy / 2;
    ::DrawEdge(dc, &rect, EDGE_ETCHED, BF_RECT);
    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
    ::SetBkMode(dc, OPAQUE);
    ::SetTextColor(dc, kPureBlue);
    ::TextOutW(dc, 8, 0, text.c_str(), length);
    ::SelectObject(dc, oldFont);
    ::EndPaint(hwnd, &paint);
    return 0;
}

// The top-level window a control belongs to (what later systems call the root ancestor).
HWND TopLevelOf(HWND window) {
    while (window && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        window = ::GetParent(window);
    return window;
}

}  // namespace

// One top-level window and its child controls.
class Win32Peer : public ui::WindowPeer {
  public:
    Win32Peer(Win32Toolkit& toolkit, ui::Form& form);
    ~Win32Peer() override;

    void SetVisible(bool visible) override {
        ::ShowWindow(hwnd_, visible ? SW_SHOW : SW_HIDE);
        if (visible) ::SetForegroundWindow(hwnd_);
    }
    int Left() const override { return toolkit_.ToTwips(Rect().left); }
    int Top() const override { return toolkit_.ToTwips(Rect().top); }
    void Move(int left, int top) override {
        ::SetWindowPos(hwnd_, nullptr, toolkit_.ToPixels(left), toolkit_.ToPixels(top), 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    void SetCaption(const std::string& control, const std::string& text) override {
        HWND child = Child(control);
        SetWindowTextU(child, text);
        // A transparent label draws over what it showed before unless the window repaints there.
        if (IsLabel(child)) {
            RECT rect;
            ::GetWindowRect(child, &rect);
            ::MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&rect), 2);
            ::InvalidateRect(hwnd_, &rect, TRUE);
        }
    }
    void SetValue(const std::string& control, int value) override {
        ::SendMessageA(Child(control), BM_SETCHECK, static_cast<WPARAM>(value), 0);
    }
    void SetEnabled(const std::string& control, bool enabled) override {
        ::EnableWindow(Child(control), enabled);
    }
    void SetMenuEnabled(const std::string& menu, bool enabled) override {
        ::EnableMenuItem(menu_, static_cast<UINT>(ui::ControlId(menu)),
                         MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
        ::DrawMenuBar(hwnd_);
    }
    void AddListItem(const std::string& control, const std::string& text) override {
        AddListBoxItemU(Child(control), text);
    }
    uintptr_t Handle() const override { return reinterpret_cast<uintptr_t>(hwnd_); }

    HWND hwnd() const { return hwnd_; }
    bool IsVisible() const { return ::IsWindowVisible(hwnd_) != 0; }

    // noexcept: an exception must never unwind through the system's frames.
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept;

  private:
    RECT Rect() const {
        RECT rect{};
        ::GetWindowRect(hwnd_, &rect);
        return rect;
    }
    bool IsLabel(HWND child) const {
        return std::find(labels_.begin(), labels_.end(), child) != labels_.end();
    }
    HWND Child(const std::string& control) const {
        auto it = children_.find(control);
        return it == children_.end() ? nullptr : it->second;
    }
    void CreateControls();
    void CreateMenuBar();
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    Win32Toolkit& toolkit_;
    ui::Form& form_;
    HWND hwnd_ = nullptr;
    HMENU menu_ = nullptr;
    std::map<std::string, HWND> children_;
    std::vector<HWND> blue_;
    std::vector<HWND> labels_;
};

Win32Peer::Win32Peer(Win32Toolkit& toolkit, ui::Form& form) : toolkit_(toolkit), form_(form) {
    const std::string className = "OlvexCleaner_" + form.name();
    RegisterWindowClassU(className, &Win32Peer::WindowProc, toolkit.instance(), toolkit.Icon());

    const ui::FormLayout& layout = form.layout();
    // No WS_CLIPCHILDREN: frames do not paint their inside, the window does.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    RECT rect{0, 0, toolkit.ToPixels(layout.clientWidth), toolkit.ToPixels(layout.clientHeight)};
    ::AdjustWindowRectEx(&rect, style, !layout.menus.empty(), exStyle);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    // Every window opens at the same place, the middle of the work area.
    RECT work{0, 0, 800, 600};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int x = std::max<int>(work.left, work.left + (work.right - work.left - width) / 2);
    const int y = std::max<int>(work.top, work.top + (work.bottom - work.top - height) / 2);

    hwnd_ = CreateWindowU(exStyle, className, layout.caption, style, x, y, width, height, nullptr,
                          0, toolkit.instance(), this);
    CreateMenuBar();
    CreateControls();
    toolkit_.Register(this);
}

Win32Peer::~Win32Peer() {
    toolkit_.Unregister(this);
    ::SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(hwnd_);
}

void Win32Peer::CreateMenuBar() {
    if (form_.menus().empty()) return;
    menu_ = ::CreateMenu();
    for (auto& item : form_.menus()) {
        AppendMenuU(menu_, MF_STRING | (item->Enabled() ? MF_ENABLED : MF_GRAYED),
                    static_cast<UINT_PTR>(ui::ControlId(item->name())), item->Caption());
    }
    ::SetMenu(hwnd_, menu_);
}

void Win32Peer::CreateControls() {
    // Frames go last so that they lie beneath the controls drawn on them.
    std::vector<ui::Control*> order;
    for (auto& c : form_.controls())
        if (c->layout().kind != ui::Kind::Frame) order.push_back(c.get());
    for (auto& c : form_.controls())
        if (c->layout().kind == ui::Kind::Frame) order.push_back(c.get());

    for (ui::Control* control : order) {
        const ui::ControlLayout& s = control->layout();
        int left = s.left, top = s.top;
        if (!s.parent.empty()) {
            const ui::ControlLayout& frame = form_.Ctl(s.parent).layout();
            left += frame.left;
            top += frame.top;
        }
        const char* cls = "BUTTON";
        // Labels may overlap (the title and the system line do) and draw transparently, so
        // they do not clip each other.
        DWORD style = WS_CHILD | WS_VISIBLE | (s.kind == ui::Kind::Label ? 0 : WS_CLIPSIBLINGS);
        switch (s.kind) {
            case ui::Kind::Frame:
                style |= BS_GROUPBOX;
                break;
            case ui::Kind::CheckBox:
                style |= BS_CHECKBOX | WS_TABSTOP;
                break;
            case ui::Kind::Button:
                style |= BS_PUSHBUTTON | WS_TABSTOP;
                break;
            case ui::Kind::Label:
                cls = "STATIC";
                style |= SS_NOTIFY | (s.wraps ? SS_LEFT : SS_LEFTNOWORDWRAP);
                break;
            case ui::Kind::Image:
                cls = "STATIC";
                style |= SS_ICON;
                break;
            case ui::Kind::ListBox:
                cls = "LISTBOX";
                style |= WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
                break;
        }
        HWND child = CreateWindowU(0, cls, s.kind == ui::Kind::Image ? "" : control->Caption(),
                                   style, toolkit_.ToPixels(left), toolkit_.ToPixels(top),
                                   toolkit_.ToPixels(s.width), toolkit_.ToPixels(s.height), hwnd_,
                                   static_cast<UINT_PTR>(ui::ControlId(s.name)),
                                   toolkit_.instance(), nullptr);
        children_[s.name] = child;
        if (s.kind == ui::Kind::Image) {
            ::SendMessageA(child, STM_SETICON, reinterpret_cast<WPARAM>(toolkit_.Icon()), 0);
            continue;
        }
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(toolkit_.Font(s.fontPoints)),
                       FALSE);
        if (s.kind == ui::Kind::Label) labels_.push_back(child);
        if (s.blue) {
            blue_.push_back(child);
            if (s.kind == ui::Kind::Frame)
                ::SetWindowLongPtrA(child, GWLP_USERDATA,
                                    reinterpret_cast<LONG_PTR>(SubclassWindowU(child, FrameProc)));
        }
        if (s.kind == ui::Kind::CheckBox)
            ::SendMessageA(child, BM_SETCHECK, static_cast<WPARAM>(control->Value()), 0);
        if (!control->Enabled()) ::EnableWindow(child, FALSE);
        if (s.kind == ui::Kind::ListBox) {
            for (int i = 0; i < control->ListCount(); ++i) AddListBoxItemU(child, control->List(i));
        }
    }
}

LRESULT CALLBACK Win32Peer::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                       LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA,
                            reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<Win32Peer*>(create->lpCreateParams)->hwnd_ = hwnd;
    }
    auto* peer = reinterpret_cast<Win32Peer*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!peer) return DefWindowProcU(hwnd, message, wParam, lParam);
    return peer->Handle(message, wParam, lParam);
}

LRESULT Win32Peer::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    // Handlers guard their own steps; a run-time failure that still escapes ends this
    // message only. Anything else is a fault of the program: it reaches the noexcept window
    // procedure, which stops the program rather than let it go on in an unknown state.
    try {
        switch (message) {
            case WM_COMMAND:
                // Button and label clicks, and menu items, all arrive with code 0.
                if (HIWORD(wParam) == 0) form_.Command(LOWORD(wParam));
                return 0;
            case WM_CLOSE:
                form_.CloseRequested();
                return 0;
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN: {
                HDC dc = reinterpret_cast<HDC>(wParam);
                HWND child = reinterpret_cast<HWND>(lParam);
                ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                if (std::find(blue_.begin(), blue_.end(), child) != blue_.end())
                    ::SetTextColor(dc, kPureBlue);
                if (IsLabel(child)) {
                    ::SetBkMode(dc, TRANSPARENT);
                    return reinterpret_cast<LRESULT>(::GetStockObject(HOLLOW_BRUSH));
                }
                return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
            }
            case WM_SETCURSOR:
                if (toolkit_.Hourglass()) {
                    ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
                    return TRUE;
                }
                break;
            default:
                if (message == MenuStateMessage()) {
                    if (!menu_) return -1;
                    const UINT state =
                        ::GetMenuState(menu_, static_cast<UINT>(wParam), MF_BYCOMMAND);
                    if (state == static_cast<UINT>(-1)) return -1;
                    return (state & (MF_GRAYED | MF_DISABLED)) ? 0 : 1;
                }
                break;
        }
    } catch (const platform::RuntimeError&) {
        return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return DefWindowProcU(hwnd_, message, wParam, lParam);
}

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {
    if (const ScreenDc screen{::GetDC(nullptr)}) dpi_ = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
    if (dpi_ <= 0) dpi_ = 96;
    icon_ = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
}

std::unique_ptr<ui::WindowPeer> Win32Toolkit::CreatePeer(ui::Form& form) {
    return std::make_unique<Win32Peer>(*this, form);
}

HFONT Win32Toolkit::Font(double points) {
    const int key = static_cast<int>(points * 100 + 0.5);
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second.get();
    // Where Comic Sans MS is missing the font mapper picks the system's substitute.
    GdiObject<HFONT> font(::CreateFontA(-MulDiv(key, dpi_, 7200), 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                        FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                        DEFAULT_PITCH | FF_SCRIPT, "Comic Sans MS"));
    return fonts_.emplace(key, std::move(font)).first->second.get();
}

void Win32Toolkit::Register(Win32Peer* peer) {
    peers_.push_back(peer);
}

void Win32Toolkit::Unregister(Win32Peer* peer) {
    peers_.erase(std::remove(peers_.begin(), peers_.end(), peer), peers_.end());
}

int Win32Toolkit::MsgBox(const std::string& text, int buttons, const std::string& title) {
    // Owned by the window the user sees, so the box is modal to it.
    HWND owner = nullptr;
    for (Win32Peer* peer : peers_)
        if (peer->IsVisible()) owner = peer->hwnd();
    return MessageBoxU(owner, text, title, static_cast<UINT>(buttons));
}

void Win32Toolkit::SetMousePointer(int pointer) {
    pointer_ = pointer;
    ::SetCursor(::LoadCursor(nullptr, pointer == ui::kPointerHourglass ? IDC_WAIT : IDC_ARROW));
}

void Win32Toolkit::Quit() {
    ::PostQuitMessage(0);
}

void Win32Toolkit::End() {
    ::ExitProcess(0);
}

int Win32Toolkit::Run() {
    MSG msg;
    while (GetMessageU(msg) > 0) {
        HWND root = TopLevelOf(msg.hwnd);
        bool ours = false;
        for (Win32Peer* peer : peers_) ours = ours || peer->hwnd() == root;
        if (ours && IsDialogMessageU(root, msg)) continue;
        ::TranslateMessage(&msg);
        DispatchMessageU(msg);
    }
    return static_cast<int>(msg.wParam);
}

}  // namespace platform::win32

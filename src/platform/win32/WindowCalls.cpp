#include "platform/win32/SystemCalls.h"

// clang-format off
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
// clang-format on

#include <algorithm>
#include <vector>

#include "platform/win32/Owned.h"

namespace platform::win32 {

// --- console ---------------------------------------------------------------------------

namespace {

// Consoles before Windows 8 refuse a single write larger than the 64 KB heap they share with
// the program, less what is in use there: text goes in pieces well below that.
constexpr size_t kConsolePiece = 4096;

bool WriteConsolePiece(HANDLE console, const wchar_t* text, size_t length) {
    if (IsNtFamily()) {
        using Fn = BOOL(WINAPI*)(HANDLE, const void*, DWORD, LPDWORD, LPVOID);
        static const auto fn = Bound<Fn>("kernel32.dll", "WriteConsoleW");
        while (length > 0) {
            DWORD written = 0;
            if (!fn(console, text, static_cast<DWORD>(length), &written, nullptr) || written == 0 ||
                written > length)
                return false;
            text += written;
            length -= written;
        }
        return true;
    }
    // A character the OEM code page lacks shows as its stand-in.
    const int size = static_cast<int>(length);
    const int n = ::WideCharToMultiByte(CP_OEMCP, 0, text, size, nullptr, 0, nullptr, nullptr);
    if (n <= 0) return false;
    std::string oem(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_OEMCP, 0, text, size, &oem[0], n, nullptr, nullptr);
    for (size_t at = 0; at < oem.size();) {
        DWORD written = 0;
        if (!::WriteConsoleA(console, oem.data() + at, static_cast<DWORD>(oem.size() - at),
                             &written, nullptr) ||
            written == 0 || written > oem.size() - at)
            return false;
        at += written;
    }
    return true;
}

}  // namespace

bool WriteConsoleU(HANDLE console, const std::string& text) {
    const std::wstring wide = Wide(text);
    for (size_t at = 0; at < wide.size();) {
        size_t n = std::min(kConsolePiece, wide.size() - at);
        // A piece never ends between the two halves of a character beyond the first plane.
        if (at + n < wide.size() && IS_HIGH_SURROGATE(wide[at + n - 1])) --n;
        if (!WriteConsolePiece(console, wide.data() + at, n)) return false;
        at += n;
    }
    return true;
}

// --- windows ---------------------------------------------------------------------------

namespace {
// The class record is the same in both families but for the text of its name.
template <class ClassRecord, class Char, class GetInfo, class Register>
void RegisterClassOnce(const std::basic_string<Char>& name, WNDPROC procedure, HINSTANCE instance,
                       HICON icon, GetInfo getInfo, Register registerClass) {
    ClassRecord wc{};
    wc.cbSize = sizeof wc;
    if (getInfo(instance, name.c_str(), &wc)) return;
    wc = ClassRecord{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = procedure;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = name.c_str();
    registerClass(&wc);
}
}  // namespace

void RegisterWindowClassU(const std::string& name, WNDPROC procedure, HINSTANCE instance,
                          HICON icon) {
    if (IsNtFamily()) {
        RegisterClassOnce<WNDCLASSEXW>(Wide(name), procedure, instance, icon, ::GetClassInfoExW,
                                       ::RegisterClassExW);
    } else {
        RegisterClassOnce<WNDCLASSEXA>(AnsiText(name), procedure, instance, icon, ::GetClassInfoExA,
                                       ::RegisterClassExA);
    }
}

HWND CreateWindowU(DWORD exStyle, const std::string& className, const std::string& text,
                   DWORD style, int x, int y, int width, int height, HWND parent, UINT_PTR id,
                   HINSTANCE instance, void* param) {
    HMENU menu = reinterpret_cast<HMENU>(id);
    if (IsNtFamily())
        return ::CreateWindowExW(exStyle, Wide(className).c_str(), Wide(text).c_str(), style, x, y,
                                 width, height, parent, menu, instance, param);
    return ::CreateWindowExA(exStyle, AnsiText(className).c_str(), AnsiText(text).c_str(), style, x,
                             y, width, height, parent, menu, instance, param);
}

LRESULT DefWindowProcU(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsNtFamily()) return ::DefWindowProcW(window, message, wParam, lParam);
    return ::DefWindowProcA(window, message, wParam, lParam);
}

WNDPROC SubclassWindowU(HWND window, WNDPROC procedure) {
    const auto value = reinterpret_cast<LONG_PTR>(procedure);
    if (IsNtFamily())
        return reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(window, GWLP_WNDPROC, value));
    return reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(window, GWLP_WNDPROC, value));
}

LRESULT CallWindowProcU(WNDPROC previous, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsNtFamily()) return ::CallWindowProcW(previous, window, message, wParam, lParam);
    return ::CallWindowProcA(previous, window, message, wParam, lParam);
}

void SetWindowTextU(HWND window, const std::string& text) {
    if (IsNtFamily()) {
        ::SetWindowTextW(window, Wide(text).c_str());
    } else {
        ::SetWindowTextA(window, AnsiText(text).c_str());
    }
}

std::string WindowTextU(HWND window) {
    if (IsNtFamily()) {
        std::vector<wchar_t> text(static_cast<size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
        const int n = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        return Utf8(text.data(), n);
    }
    std::vector<char> text(static_cast<size_t>(::GetWindowTextLengthA(window)) + 1, '\0');
    const int n = ::GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
    return Utf8FromAnsi(std::string(text.data(), static_cast<size_t>(n)));
}

void AppendMenuU(HMENU menu, UINT flags, UINT_PTR id, const std::string& text) {
    if (IsNtFamily()) {
        ::AppendMenuW(menu, flags, id, Wide(text).c_str());
    } else {
        ::AppendMenuA(menu, flags, id, AnsiText(text).c_str());
    }
}

void AddListBoxItemU(HWND listBox, const std::string& text) {
    if (IsNtFamily()) {
        ::SendMessageW(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    } else {
        ::SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(AnsiText(text).c_str()));
    }
}

int MessageBoxU(HWND owner, const std::string& text, const std::string& title, UINT type) {
    // One of the few wide calls that Windows 95, 98 and ME carry out themselves.
    return ::MessageBoxW(owner, Wide(text).c_str(), Wide(title).c_str(), type);
}

BOOL GetMessageU(MSG& message) {
    if (IsNtFamily()) return ::GetMessageW(&message, nullptr, 0, 0);
    return ::GetMessageA(&message, nullptr, 0, 0);
}

bool IsDialogMessageU(HWND dialog, MSG& message) {
    if (IsNtFamily()) return ::IsDialogMessageW(dialog, &message) != 0;
    return ::IsDialogMessageA(dialog, &message) != 0;
}

void DispatchMessageU(const MSG& message) {
    if (IsNtFamily()) {
        ::DispatchMessageW(&message);
    } else {
        ::DispatchMessageA(&message);
    }
}

}  // namespace platform::win32
#include "platform/win32/Win32Error.h"

#include <vector>

#include "platform/win32/SystemCalls.h"

namespace platform::win32 {

namespace {

// The message table's text, its line end and any blanks after it taken off.
std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}

}  // namespace

std::string SystemMessage(const SystemCode& code) {
    if (!code) return "";
    // NTSTATUS texts live in ntdll's message table; Win32 and COM texts in the system's.
    HMODULE source =
        code.kind == SystemCode::Kind::NtStatus ? ::GetModuleHandleA("ntdll.dll") : nullptr;
    if (code.kind == SystemCode::Kind::NtStatus && !source) return "";
    const DWORD flags = FORMAT_MESSAGE_IGNORE_INSERTS |
                        (source ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    // Bound by name, as every call this program alone needs beyond what 95 exports.
    if (IsNtFamily()) {
        using Fn = DWORD(WINAPI*)(DWORD, LPCVOID, DWORD, DWORD, LPWSTR, DWORD, va_list*);
        static const auto fn = BoundOrNull<Fn>("kernel32.dll", "FormatMessageW");
        std::vector<wchar_t> text(1024, L'\0');
        const DWORD n = fn ? fn(flags, source, code.value, 0, text.data(),
                                static_cast<DWORD>(text.size()), nullptr)
                           : 0;
        return n ? Trimmed(Utf8(text.data(), static_cast<int>(n))) : "";
    }
    using Fn = DWORD(WINAPI*)(DWORD, LPCVOID, DWORD, DWORD, LPSTR, DWORD, va_list*);
    static const auto fn = BoundOrNull<Fn>("kernel32.dll", "FormatMessageA");
    std::vector<char> text(1024, '\0');
    const DWORD n =
        fn ? fn(flags, source, code.value, 0, text.data(), static_cast<DWORD>(text.size()), nullptr)
           : 0;
    return n ? Trimmed(Utf8FromAnsi(std::string(text.data(), n))) : "";
}

RuntimeError ErrorFromWin32(DWORD code) {
    const SystemCode system{SystemCode::Kind::Win32, code};
    return RuntimeError(SystemMessage(system), system);
}

RuntimeError ErrorFromNtStatus(LONG status) {
    const SystemCode system{SystemCode::Kind::NtStatus, static_cast<uint32_t>(status)};
    return RuntimeError(SystemMessage(system), system);
}

RuntimeError ErrorFromHResult(HRESULT result, const std::string& what) {
    const SystemCode system{SystemCode::Kind::HResult, static_cast<uint32_t>(result)};
    const std::string message = SystemMessage(system);
    return RuntimeError(message.empty() ? what : what + ": " + message, system);
}

}  // namespace platform::win32

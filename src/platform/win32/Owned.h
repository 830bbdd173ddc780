#pragma once
// Owners of what the program takes from the system. Each kind of handle is given back in one
// place, its closer below (COM and the shell's in ComOwners.h); nothing else calls the
// release functions.
#include <windows.h>

#include <utility>

namespace platform::win32 {

// One handle, moved but never copied. A closer has `static Handle Null()`, the value that
// owns nothing, and `static void Close(Handle)`, called only for any other value.
template <class Handle, class Closer>
class Owned {
  public:
    Owned() = default;
    explicit Owned(Handle handle) : handle_(handle) {}
    ~Owned() { reset(); }
    Owned(Owned&& other) noexcept : handle_(other.release()) {}
    Owned& operator=(Owned&& other) noexcept {
        reset(other.release());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Closer::Null(); }
    // Gives the handle up without closing it.
    Handle release() { return std::exchange(handle_, Closer::Null()); }
    void reset(Handle handle = Closer::Null()) {
        const Handle old = std::exchange(handle_, handle);
        if (old != Closer::Null()) Closer::Close(old);
    }
    // For a call that hands its handle back through a pointer; closes what was held.
    Handle* out() {
        reset();
        return &handle_;
    }

  private:
    Handle handle_ = Closer::Null();
};

template <class Handle>
struct ZeroIsNull {
    static Handle Null() { return Handle(); }
};

// Find handles of FindFirstFile.
struct FindCloser {
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE find) { ::FindClose(find); }
};
using FindHandle = Owned<HANDLE, FindCloser>;

// Files of CreateFile.
struct FileCloser {
    static HANDLE Null() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE file) { ::CloseHandle(file); }
};
using FileHandle = Owned<HANDLE, FileCloser>;

// File and folder handles of the native calls. NtClose is bound at first use (with the other
// native calls, in NtFiles.cpp): the 9x family has no such function.
struct NtCloser : ZeroIsNull<HANDLE> {
    static void Close(HANDLE handle);
};
using NtHandle = Owned<HANDLE, NtCloser>;

// Registry keys of RegOpenKeyEx.
struct RegKeyCloser : ZeroIsNull<HKEY> {
    static void Close(HKEY key) { ::RegCloseKey(key); }
};
using RegKey = Owned<HKEY, RegKeyCloser>;

// The screen's device context, GetDC(nullptr).
struct ScreenDcCloser : ZeroIsNull<HDC> {
    static void Close(HDC dc) { ::ReleaseDC(nullptr, dc); }
};
using ScreenDc = Owned<HDC, ScreenDcCloser>;

// Fonts, brushes and the other objects GDI creates.
template <class Object>
struct GdiCloser : ZeroIsNull<Object> {
    static void Close(Object object) { ::DeleteObject(object); }
};
template <class Object>
using GdiObject = Owned<Object, GdiCloser<Object>>;

}  // namespace platform::win32

#pragma once
// Owners of what COM and the shell hand out, on the pattern of Owned.h.
// clang-format off
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
// clang-format on

#include "platform/win32/Owned.h"

namespace platform::win32 {

// Memory the shell allocates for its callers, item-id lists among them.
template <class Pointer>
struct TaskMemCloser : ZeroIsNull<Pointer> {
    static void Close(Pointer memory) { ::CoTaskMemFree(memory); }
};
using ItemIdList = Owned<LPITEMIDLIST, TaskMemCloser<LPITEMIDLIST>>;

// A reference to a COM object.
template <class Interface>
struct ComCloser : ZeroIsNull<Interface*> {
    static void Close(Interface* object) { object->Release(); }
};
template <class Interface>
using ComPtr = Owned<Interface*, ComCloser<Interface>>;

// COM on this thread for the scope's life; undone only if it was done here (S_OK, or S_FALSE
// when it already was: both count).
class ComScope {
  public:
    ComScope() : initialised_(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComScope() {
        if (initialised_) ::CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

  private:
    bool initialised_;
};

}  // namespace platform::win32

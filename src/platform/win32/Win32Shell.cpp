#include "platform/win32/Win32Shell.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>
// clang-format on

namespace platform::win32 {

namespace {
// Owns a shell item-id list; frees it with the shell's allocator.
class ItemIdList {
public:
    ItemIdList() = default;
    ~ItemIdList() {
        if (pidl_) ::CoTaskMemFree(pidl_);
    }
    ItemIdList(const ItemIdList&) = delete;
    ItemIdList& operator=(const ItemIdList&) = delete;
    LPITEMIDLIST* out() { return &pidl_; }
    LPCITEMIDLIST get() const { return pidl_; }

private:
    LPITEMIDLIST pidl_ = nullptr;
};
}  // namespace

std::optional<std::string> Win32Shell::SpecialFolderPath(int csidl) {
    ItemIdList list;
    if (::SHGetSpecialFolderLocation(nullptr, csidl, list.out()) != S_OK || !list.get())
        return std::nullopt;
    char path[MAX_PATH + 1] = {};
    // A folder without a file-system path (a virtual folder) is as unknown as a missing one.
    if (!::SHGetPathFromIDListA(list.get(), path)) return std::nullopt;
    return std::string(path);
}

void Win32Shell::Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                         int showCommand) {
    ::ShellExecuteA(reinterpret_cast<HWND>(owner), operation.c_str(), file.c_str(), nullptr, "",
                    showCommand);
}

}  // namespace platform::win32

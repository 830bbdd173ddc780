#include "platform/win32/Win32Shell.h"

// clang-format off
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>
#include <urlhist.h>
// clang-format on

#include "platform/Errors.h"
#include "platform/win32/ComOwners.h"
#include "platform/win32/SystemCalls.h"
#include "platform/win32/Win32Error.h"

namespace platform::win32 {

namespace {

// The shell's URL history object; the SDK headers of this compiler lack its class id.
const CLSID kClsidUrlHistory = {
    0x3C374A40, 0xBAE4, 0x11CF, {0xBF, 0x7D, 0x00, 0xAA, 0x00, 0x69, 0x46, 0xEE}};
const IID kIidUrlHistoryStg2 = {
    0xAFA0DC11, 0xC313, 0x11D0, {0x83, 0x1A, 0x00, 0xC0, 0x4F, 0xD5, 0xAE, 0x38}};

}  // namespace

std::optional<std::string> Win32Shell::SpecialFolderPath(int csidl) {
    ItemIdList list;
    if (::SHGetSpecialFolderLocation(nullptr, csidl, list.out()) != S_OK || !list.get())
        return std::nullopt;
    // A folder without a file-system path (a virtual folder) is as unknown as a missing one.
    return PathFromIdListU(list.get());
}

std::optional<std::string> Win32Shell::LibraryFolderPath(int csidl) {
    return LibraryFolderPathU(csidl);
}

void Win32Shell::Execute(uintptr_t owner, const std::string& operation, const std::string& file,
                         int showCommand) {
    ShellExecuteU(reinterpret_cast<HWND>(owner), operation, file, showCommand);
}

namespace {
// Wine's Recycle Bin is the host's trash, which holds a trashed link as the link itself, and
// Wine's shell empties a link by deleting the file it leads to, wherever that is. So there the
// step is refused, as the windows skip a step on a shell without the call, and the trash stays.
void RefuseUnderWine() {
    if (IsWine())
        throw Refusal(
            "left alone under Wine, whose shell empties a link in the trash by deleting what "
            "it leads to");
}
}  // namespace

long Win32Shell::EmptyRecycleBin(uintptr_t owner) {
    RefuseUnderWine();
    return EmptyRecycleBinU(reinterpret_cast<HWND>(owner),
                            SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI);
}

bool Win32Shell::QueryRecycleBin(const std::string& root, uint64_t& items, uint64_t& bytes) {
    // Where the emptying is refused, so is the count: a preview must not promise what a
    // clean will not do.
    RefuseUnderWine();
    return QueryRecycleBinU(root, items, bytes);
}

void Win32Shell::UpdateRecycleBinIcon() {
    // Not in every SDK header, nor in every shell.
    using UpdateFn = void(WINAPI*)();
    if (auto update = BoundOrNull<UpdateFn>("shell32.dll", "SHUpdateRecycleBinIcon")) update();
}

void Win32Shell::ClearUrlHistory() {
    ComPtr<IUrlHistoryStg2> history;
    const HRESULT created =
        ::CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER, kIidUrlHistoryStg2,
                           reinterpret_cast<void**>(history.out()));
    if (FAILED(created) || !history)
        throw ErrorFromHResult(created, "the history object could not be made");
    const HRESULT cleared = history.get()->ClearHistory();
    if (FAILED(cleared)) throw ErrorFromHResult(cleared, "the history object did not clear");
}

}  // namespace platform::win32

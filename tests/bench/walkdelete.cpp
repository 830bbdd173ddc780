// The yardstick for the sweep benchmark: the least a Win32 program must do to empty a folder
// tree, namely list each folder once and delete what it lists, files with DeleteFileW and
// folders with RemoveDirectoryW once they are empty. No attributes are read beyond what the
// listing gives, nothing is kept back.
//
//   walkdelete FOLDER      empties FOLDER (which stays); exit 0, or 1 if anything stayed
//
// Long paths go through the \\?\ form so that deep trees cost no more than shallow ones.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool IsDotOrDotDot(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == 0 || (name[1] == L'.' && name[2] == 0));
}

// Deletes the files of `folder` and returns its subfolders; links are removed, never entered.
std::vector<std::wstring> EmptyFiles(const std::wstring& folder, bool& failed) {
    std::vector<std::wstring> subfolders;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return subfolders;
    do {
        if (IsDotOrDotDot(data.cFileName)) continue;
        const std::wstring full = folder + L"\\" + data.cFileName;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            subfolders.push_back(full);
        } else if (!::DeleteFileW(full.c_str())) {
            failed = true;
        }
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return subfolders;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: walkdelete FOLDER\n");
        return 2;
    }
    std::wstring root = argv[1];
    while (!root.empty() && (root.back() == L'\\' || root.back() == L'/')) root.pop_back();
    if (root.compare(0, 4, L"\\\\?\\") != 0) root = L"\\\\?\\" + root;

    // Depth first without recursion: a folder is removed after everything below it.
    bool failed = false;
    struct Pending {
        std::wstring path;
        bool expanded;
    };
    std::vector<Pending> stack{{root, false}};
    while (!stack.empty()) {
        Pending& top = stack.back();
        if (top.expanded) {
            if (top.path != root && !::RemoveDirectoryW(top.path.c_str())) failed = true;
            stack.pop_back();
            continue;
        }
        top.expanded = true;
        const std::vector<std::wstring> subfolders = EmptyFiles(top.path, failed);
        for (const std::wstring& sub : subfolders) stack.push_back({sub, false});
    }
    return failed ? 1 : 0;
}

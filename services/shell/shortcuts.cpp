#include "shortcuts.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

#include "services/base/path_queries.h"
#include "services/shell/shell_folders.h"
#include "services/shell/shell_rules.h"
#include "services/win/unique_handle.h"

namespace kestro {
namespace {

// FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI; without FOF_ALLOWUNDO nothing goes to the recycle bin.
constexpr FILEOP_FLAGS kSilentDeleteFlags = 0x414;

bool Exists(const wchar_t* path) { return path && *path && PathExists(path); }

}  // namespace

bool CreateShortcut(const wchar_t* target, const wchar_t* linkFile) {
    if (!Exists(target) || !linkFile || !*linkFile) return false;
    // Declared first so the interfaces below are released before COM is uninitialised.
    ScopedCom com;
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void())))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return false;
    std::wstring workingFolder = ShortcutWorkingFolder(target, FolderExists(target));
    if (FAILED(link->SetPath(target)) || FAILED(link->SetWorkingDirectory(workingFolder.c_str()))) return false;
    return SUCCEEDED(file->Save(linkFile, TRUE));
}

bool CreateDesktopShortcut(const wchar_t* name, const wchar_t* target) {
    std::wstring link = ShortcutFilePath(GetCommonDesktopFolder(), name ? name : L"");
    return !link.empty() && CreateShortcut(target, link.c_str());
}

bool CreateQuickLaunchShortcut(const wchar_t* name, const wchar_t* target) {
    std::wstring folder = GetQuickLaunchFolder();
    std::wstring link = ShortcutFilePath(folder, name ? name : L"");
    if (link.empty()) return false;
    // Systems without a taskbar of that age (and fresh profiles) may lack the folder.
    if (!PathExists(folder)) SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return CreateShortcut(target, link.c_str());
}

bool DeleteDesktopShortcuts(const wchar_t* name) {
    std::wstring display = name ? name : L"";
    std::wstring user = ShortcutFilePath(GetUserDesktopFolder(), display);
    if (!user.empty()) DeleteFileSilently(user.c_str());
    std::wstring common = ShortcutFilePath(GetCommonDesktopFolder(), display);
    return !common.empty() && DeleteFileSilently(common.c_str());
}

bool DeleteQuickLaunchShortcut(const wchar_t* name) {
    std::wstring link = ShortcutFilePath(GetQuickLaunchFolder(), name ? name : L"");
    return !link.empty() && DeleteFileSilently(link.c_str());
}

bool DeleteFileSilently(const wchar_t* path) {
    if (!Exists(path)) return false;
    std::wstring list(path);
    list.push_back(L'\0');  // the shell reads a list ended by an empty entry
    SHFILEOPSTRUCTW op = {};
    op.wFunc = FO_DELETE;
    op.pFrom = list.c_str();
    op.fFlags = kSilentDeleteFlags;
    return SHFileOperationW(&op) == 0;
}

}  // namespace kestro

#include "shell_folders.h"

#include <windows.h>
#include <shlobj.h>

namespace kestro {
namespace {

std::wstring SpecialFolder(int csidl) {
    wchar_t path[MAX_PATH] = L"";
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE)) return std::wstring();
    return path;
}

}  // namespace

std::wstring GetUserDesktopFolder() { return SpecialFolder(CSIDL_DESKTOPDIRECTORY); }

std::wstring GetCommonDesktopFolder() { return SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY); }

std::wstring GetQuickLaunchFolder() {
    std::wstring appData = SpecialFolder(CSIDL_APPDATA);
    if (appData.empty()) return appData;
    return appData + L"\\Microsoft\\Internet Explorer\\Quick Launch";
}

}  // namespace kestro

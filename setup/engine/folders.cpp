#include "folders.h"

#include <shlobj.h>

#include "services/base/path_queries.h"

namespace kestro {
namespace {

constexpr DWORD kPathChars = 520;
// BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE
constexpr UINT kPickerFlags = 0x59;

std::wstring SpecialFolder(int csidl) {
    wchar_t buffer[kPathChars] = {};
    if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE)) return std::wstring();
    return buffer;
}

}  // namespace

bool EnsureFolder(const std::wstring& path) {
    int result = SHCreateDirectoryExW(nullptr, path.c_str(), nullptr);
    if (result == ERROR_SUCCESS) return true;
    if (result != ERROR_ALREADY_EXISTS && result != ERROR_FILE_EXISTS) return false;
    return FolderExists(path);
}

bool BrowseForFolder(HWND owner, std::wstring& path) {
    path.clear();
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.lpszTitle = L"";
    info.ulFlags = kPickerFlags;
    PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    if (!chosen) return false;
    wchar_t buffer[kPathChars] = {};
    if (SHGetPathFromIDListW(chosen, buffer)) path = buffer;
    CoTaskMemFree(chosen);
    return !path.empty();
}

std::wstring GetTempFolder() {
    wchar_t buffer[kPathChars] = {};
    DWORD length = GetTempPathW(kPathChars, buffer);
    if (length == 0 || length >= kPathChars) return std::wstring();
    return buffer;
}

std::wstring GetModulePath() {
    std::wstring buffer(kPathChars, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &buffer[0], DWORD(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) {
            buffer.resize(length);
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring GetAppDataFolder() { return SpecialFolder(CSIDL_APPDATA); }
std::wstring GetProgramFilesFolder() { return SpecialFolder(CSIDL_PROGRAM_FILES); }
std::wstring GetProgramsFolder() { return SpecialFolder(CSIDL_COMMON_PROGRAMS); }

}  // namespace kestro

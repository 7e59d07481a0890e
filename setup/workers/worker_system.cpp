#include "setup/workers/worker_system.h"

#include <windows.h>
#include <shlobj.h>

#include "services/base/path_queries.h"
#include "setup/engine/folders.h"
#include "setup/engine/registry_key.h"
#include "setup/workers/product_names.h"

namespace kestro {
namespace {

constexpr DWORD kUninstallStringChars = 520;

}  // namespace

unsigned ReportedMajorVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return 0;
#pragma GCC diagnostic pop
    return info.dwMajorVersion;
}

std::wstring ProductDataFolder() {
    wchar_t user[MAX_PATH] = {};
    if (SHGetSpecialFolderPathW(nullptr, user, CSIDL_APPDATA, TRUE)) {
        std::wstring folder = std::wstring(user) + kProductDataTail;
        if (FolderExists(folder)) return folder;
    }
    wchar_t common[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, common, CSIDL_COMMON_APPDATA, FALSE)) return std::wstring();
    return std::wstring(common) + kProductDataTail;
}

std::wstring ReadProductUninstallString() {
    RegistryKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, kProductUninstallKey, KEY_READ) != ERROR_SUCCESS) return std::wstring();
    wchar_t buffer[kUninstallStringChars] = {};
    if (key.QueryText(L"UninstallString", buffer, kUninstallStringChars) != ERROR_SUCCESS) return std::wstring();
    return buffer;
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }

}  // namespace kestro

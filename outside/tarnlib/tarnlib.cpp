#include "outside/tarnlib/tarnlib.h"

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <string>

#include "outside/common/call_record.h"
#include "outside/tarnlib/full_screen_rule.h"
#include "outside/tarnlib/tarnlib_registry.h"
#include "services/base/version_strings.h"
#include "services/win/unique_handle.h"

namespace {

std::atomic<long> g_threadUsers{0};

}  // namespace

void InitXThread() {
    kestro::RecordCall(L"InitXThread");
    g_threadUsers.fetch_add(1);
}

void UnInitXThread() {
    kestro::RecordCall(L"UnInitXThread");
    long users = g_threadUsers.load();
    while (users > 0 && !g_threadUsers.compare_exchange_weak(users, users - 1)) {
    }
}

CString CHKestroFile::GetModuleFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) {
            path.clear();
            break;
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    const CString folder(std::wstring_view(path).substr(0, slash == std::wstring::npos ? 0 : slash));
    kestro::RecordCall(L"CHKestroFile::GetModuleFolder", {folder.View()});
    return folder;
}

CString CCommFunc::GetGCTheme() {
    CString theme(kestro::tarnlib::kDefaultTheme);
    kestro::UniqueRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kestro::tarnlib::kProductKey, 0, KEY_QUERY_VALUE, key.put()) ==
        ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD bytes = 0;
        if (RegQueryValueExW(key.get(), kestro::tarnlib::kThemeValue, nullptr, &type, nullptr, &bytes) ==
                ERROR_SUCCESS &&
            (type == REG_SZ || type == REG_EXPAND_SZ)) {
            std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
            if (RegQueryValueExW(key.get(), kestro::tarnlib::kThemeValue, nullptr, &type,
                                 reinterpret_cast<BYTE*>(text.data()), &bytes) == ERROR_SUCCESS) {
                // The stored value may or may not carry its terminating zero.
                text.resize(bytes / sizeof(wchar_t));
                const size_t end = text.find(L'\0');
                if (end != std::wstring::npos) text.resize(end);
                theme = CString(text);
            }
        }
    }
    kestro::RecordCall(L"CCommFunc::GetGCTheme", {theme.View()});
    return theme;
}

int CHUtil::GetCommandArgs(std::vector<CString>& words) {
    kestro::RecordCall(L"CHUtil::GetCommandArgs");
    int count = 0;
    kestro::UniqueLocal list(reinterpret_cast<HLOCAL>(CommandLineToArgvW(GetCommandLineW(), &count)));
    if (!list) return 0;
    wchar_t** argv = static_cast<wchar_t**>(list.get());
    for (int i = 0; i < count; ++i) words.emplace_back(argv[i]);
    return count;
}

int CHUtil::GetFileVersion(const wchar_t* path, std::map<CString, CString>& strings) {
    kestro::RecordCall(L"CHUtil::GetFileVersion", {path ? path : L""});
    std::map<std::wstring, std::wstring> fields;
    if (!kestro::ReadVersionStrings(path, fields)) return 0;
    for (const auto& field : fields) strings[CString(field.first)] = CString(field.second);
    return static_cast<int>(fields.size());
}

int CHUtilEx::HasFullScreenRuning() {
    HWND window = GetForegroundWindow();
    int answer = 0;
    if (window && window != GetDesktopWindow() && window != GetShellWindow()) {
        wchar_t className[64] = L"";
        GetClassNameW(window, className, 64);
        RECT rect{};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (GetWindowRect(window, &rect) &&
            GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
            answer = kestro::tarnlib::IsFullScreenWindow(
                         {rect.left, rect.top, rect.right, rect.bottom},
                         {monitor.rcMonitor.left, monitor.rcMonitor.top, monitor.rcMonitor.right,
                          monitor.rcMonitor.bottom},
                         className)
                         ? 1
                         : 0;
        }
    }
    kestro::RecordCall(L"CHUtilEx::HasFullScreenRuning", {answer ? L"1" : L"0"});
    return answer;
}

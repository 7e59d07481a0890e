#include "outside/basekit/basekit.h"

#include <windows.h>

#include <atomic>
#include <string>

#include "outside/common/call_record.h"
#include "services/win/unique_handle.h"

namespace {

std::atomic<int> g_asyncReady{0};

// Built at registration so the exception filter only has to start a process.
std::wstring g_reporterPath;
std::wstring g_reporterCommandLine;

LONG WINAPI StartCrashReporter(EXCEPTION_POINTERS* exception) {
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    std::wstring commandLine = g_reporterCommandLine;
    if (CreateProcessW(g_reporterPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                       &startup, &process)) {
        // The reporter runs on its own: its handles are not needed here.
        kestro::UniqueHandle thread(process.hThread);
        kestro::UniqueHandle reporter(process.hProcess);
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

std::wstring Text(const wchar_t* text) { return text ? text : L""; }

}  // namespace

void AysncTask::InitAsyncSystem() {
    kestro::RecordCall(L"AysncTask::InitAsyncSystem");
    g_asyncReady.store(1);
}

int AysncTask::IsAsyncSystemReady() { return g_asyncReady.load(); }

int TarnCrashpost::InitCrashpost(const wchar_t* productName, const wchar_t* displayName, const wchar_t* modulePath,
                                 const wchar_t* moduleName, unsigned short versionMajor, unsigned short versionMinor,
                                 unsigned short versionBuild, unsigned long versionRevision,
                                 unsigned long productVersion, unsigned short reportMode, int option11,
                                 int option12, int option13, unsigned long languageId,
                                 unsigned long reserved) {
    const std::wstring version = std::to_wstring(versionMajor) + L"." + std::to_wstring(versionMinor) + L"." +
                                 std::to_wstring(versionBuild) + L"." + std::to_wstring(versionRevision);
    kestro::RecordCall(L"TarnCrashpost::InitCrashpost",
                       {Text(productName), Text(displayName), Text(modulePath), Text(moduleName),
                        std::to_wstring(versionMajor), std::to_wstring(versionMinor), std::to_wstring(versionBuild),
                        std::to_wstring(versionRevision), std::to_wstring(productVersion),
                        std::to_wstring(reportMode), std::to_wstring(option11), std::to_wstring(option12),
                        std::to_wstring(option13), std::to_wstring(languageId), std::to_wstring(reserved)});
    const std::wstring module = Text(modulePath);
    const size_t slash = module.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return 0;
    g_reporterPath = module.substr(0, slash + 1) + kCrashReporterName;
    g_reporterCommandLine = L"\"" + g_reporterPath + L"\" -pid " + std::to_wstring(GetCurrentProcessId()) +
                            L" -product \"" + Text(productName) + L"\" -module \"" + Text(moduleName) +
                            L"\" -version " + version + L" -lang " + std::to_wstring(languageId);
    SetUnhandledExceptionFilter(StartCrashReporter);
    return 1;
}

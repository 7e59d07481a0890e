#include "launcher/gc/gamecenter_app.h"

#include <objbase.h>
#include <gdiplus.h>
#include <shlwapi.h>

#include <map>
#include <string>
#include <vector>

#include "services/config/edition_title.h"
#include "launcher/core/start_decisions.h"
#include "launcher/gc/handover_pipe.h"
#include "launcher/gc/launcher_constants.h"
#include "launcher/gc/window_activation.h"
#include "outside/basekit/basekit.h"
#include "outside/tarnlib/tarnlib.h"

using namespace kestro::launcher;

namespace {

std::wstring ProductTitle() {
    return std::wstring(kestro::ProductTitleForEdition(CCommFunc::GetGCTheme().View()));
}

std::wstring OwnModulePath() {
    wchar_t path[kModulePathChars] = L"";
    GetModuleFileNameW(nullptr, path, kModulePathChars);
    return path;
}

void StartCrashReporting(const std::wstring& productTitle) {
    const std::wstring fullPath = OwnModulePath();
    const std::wstring fileName = PathFindFileNameW(fullPath.c_str());
    const std::wstring reporter = kestro::ReporterPathFor(fullPath, fileName);
    if (reporter.empty() || !PathFileExistsW(reporter.c_str())) return;
    TarnCrashpost::InitCrashpost(productTitle.c_str(), productTitle.c_str(), fullPath.c_str(), fileName.c_str(),
                                 KESTRO_GC_VERSION_MAJOR, KESTRO_GC_VERSION_MINOR, KESTRO_GC_VERSION_BUILD,
                                 KESTRO_GC_VERSION_REVISION, kProductVersion, 1, 1, 1, 1,
                                 static_cast<unsigned long>(GetSystemDefaultUILanguage()), 0);
}

bool IsHandOverStart(const std::vector<CString>& words) {
    std::vector<std::wstring_view> views;
    views.reserve(words.size());
    for (const CString& word : words) views.push_back(word.View());
    return kestro::IsHandOverRequest(views);
}

}  // namespace

int CHKestroGameCenterApp::InitInstance() {
    AysncTask::InitAsyncSystem();
    CoInitialize(nullptr);
    Gdiplus::GdiplusStartupInput gdiplusInput;
    Gdiplus::GdiplusStartup(&m_gdiplusToken, &gdiplusInput, nullptr);
    InitXThread();

    const CString resourcePackage = CHKestroFile::GetModuleFolder() + kResourcePackageFile;
    CXFileLoader::GetSingleton().Init(resourcePackage, 1, 0);

    const std::wstring productTitle = ProductTitle();
    StartCrashReporting(productTitle);

    std::vector<CString> words;
    CHUtil::GetCommandArgs(words);

    m_mutex.reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    const DWORD mutexError = GetLastError();
    if (!m_mutex) return 0;
    if (mutexError != ERROR_ALREADY_EXISTS) return StartFirstInstance();

    if (IsHandOverStart(words)) {
        HandOverCommandLine(GetCommandLineW());
    } else {
        ActivateRunningGameCenter(ProductTitle().c_str());
    }
    ExitInstance();
    return 0;
}

int CHKestroGameCenterApp::StartFirstInstance() {
    InitCefInstance();
    m_cefStarted = 1;

    const CString hubshellPath = CHKestroFile::GetModuleFolder() + kHubshellFile;
    // Loaded for the rest of the process: the main window's code lives in it.
    HMODULE hubshell = LoadLibraryW(hubshellPath);
    if (!hubshell) return 0;
    auto createHubshell =
        reinterpret_cast<CreateHubshellFunction>(GetProcAddress(hubshell, kCreateHubshellExport));
    if (!createHubshell) return 0;

    std::map<CString, CString> versionStrings;
    CHUtil::GetFileVersion(OwnModulePath().c_str(), versionStrings);
    const CString version = versionStrings[CString(kFileVersionKey)];

    m_mainWindow = createHubshell(kHubshellLayoutId, kBuildNumber, version);
    if (!m_mainWindow) {
        // Without a window nothing would ever end the message loop, and this
        // process would hold the single-instance mutex for good.
        ExitInstance();
        return 0;
    }
    return 1;
}

void CHKestroGameCenterApp::CleanUp() {
    if (m_mainWindow) {
        delete m_mainWindow;
        m_mainWindow = nullptr;
    }
    m_mutex.reset();
    UnInitXThread();
    if (m_cefStarted == 1) {
        ShutDownCefInstance();
        m_cefStarted = 0;
    }
    if (m_gdiplusToken) {
        Gdiplus::GdiplusShutdown(m_gdiplusToken);
        m_gdiplusToken = 0;
    }
    CoUninitialize();
}

int CHKestroGameCenterApp::ExitInstance() {
    CleanUp();
    return 1;
}

HWND CHKestroGameCenterApp::GetMainWindow() { return nullptr; }

int CHKestroGameCenterApp::Run() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) continue;
        if (got == 0) {
            CleanUp();
            return 0;
        }
        if (!CHApp::PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        CefRun();
    }
}

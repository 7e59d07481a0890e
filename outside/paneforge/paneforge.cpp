#include "outside/paneforge/paneforge.h"

#include <atomic>
#include <string>

#include "outside/common/call_record.h"

namespace {

CHApp* g_app = nullptr;
std::atomic<int> g_cefStarted{0};

}  // namespace

CHApp::CHApp() { g_app = this; }

CHApp::~CHApp() {
    if (g_app == this) g_app = nullptr;
}

int CHApp::InitApplication(HINSTANCE instance, HINSTANCE previousInstance, wchar_t* commandLine, int showCommand) {
    kestro::RecordCall(L"CHApp::InitApplication",
                       {instance == GetModuleHandleW(nullptr) ? L"own-module" : L"other-module",
                        previousInstance ? L"previous" : L"no-previous", commandLine ? commandLine : L"",
                        std::to_wstring(showCommand)});
    m_instance = instance;
    m_commandLine = commandLine;
    m_showCommand = showCommand;
    return 1;
}

int CHApp::InitInstance() { return 0; }

int CHApp::ExitInstance() { return 1; }

HWND CHApp::GetMainWindow() { return nullptr; }

int CHApp::Run() {
    MSG message;
    for (;;) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == -1) continue;
        if (got == 0) break;
        if (!PreTranslateMessage(&message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        CefRun();
    }
    ExitInstance();
    return static_cast<int>(message.wParam);
}

int CHApp::CefRun() { return 0; }

int CHApp::PreTranslateMessage(MSG* message) { return 0; }

CHApp* GetApp() {
    kestro::RecordCall(L"GetApp");
    return g_app;
}

CXFileLoader& CXFileLoader::GetSingleton() {
    static CXFileLoader loader;
    return loader;
}

int CXFileLoader::Init(const wchar_t* path, int shared, int flags) {
    kestro::RecordCall(L"CXFileLoader::Init", {path ? path : L"", std::to_wstring(shared), std::to_wstring(flags)});
    m_package.reset();
    if (!path) return 0;
    m_package.reset(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | (shared ? FILE_SHARE_WRITE : 0), nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return m_package ? 1 : 0;
}

int CXFileLoader::IsOpen() const { return m_package ? 1 : 0; }

void InitCefInstance() {
    kestro::RecordCall(L"InitCefInstance");
    g_cefStarted.store(1);
}

void ShutDownCefInstance() {
    kestro::RecordCall(L"ShutDownCefInstance", {g_cefStarted.exchange(0) ? L"started" : L"not-started"});
}

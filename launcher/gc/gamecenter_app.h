#pragma once
// The launcher's application: single-instance start-up, hand-over to a running
// game centre, and the outside libraries started and stopped in their order.
#include <windows.h>

#include "outside/hubshell/hubshell.h"
#include "outside/paneforge/paneforge.h"
#include "services/win/unique_handle.h"

class CHKestroGameCenterApp : public CHApp {
public:
    CHKestroGameCenterApp() = default;
    ~CHKestroGameCenterApp() override = default;

    int InitInstance() override;
    int ExitInstance() override;
    HWND GetMainWindow() override;
    int Run() override;

private:
    // Releases what start-up set up, main window first, browser runtime after it.
    void CleanUp();
    int StartFirstInstance();

    kestro::UniqueHandle m_mutex;
    IHubshell* m_mainWindow = nullptr;
    ULONG_PTR m_gdiplusToken = 0;
    int m_cefStarted = 0;
};

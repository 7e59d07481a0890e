#pragma once
// Paneforge: the maker's UI core and browser-runtime host.
#include <windows.h>

#include "services/win/unique_handle.h"

#ifdef PANEFORGE_BUILD
#define PANEFORGE_API __declspec(dllexport)
#else
#define PANEFORGE_API __declspec(dllimport)
#endif

// The application base. Its constructor makes the object the process's
// application, which GetApp returns.
class PANEFORGE_API CHApp {
public:
    CHApp();
    CHApp(const CHApp&) = delete;
    CHApp& operator=(const CHApp&) = delete;
    virtual ~CHApp();

    // Keeps the entry point's arguments; nonzero to go on.
    int InitApplication(HINSTANCE instance, HINSTANCE previousInstance, wchar_t* commandLine, int showCommand);

    virtual int InitInstance();
    virtual int ExitInstance();
    virtual HWND GetMainWindow();
    // The message loop; returns the process exit code.
    virtual int Run();
    // One slice of browser-runtime work.
    virtual int CefRun();

    // Nonzero when the message was handled and must not be dispatched.
    static int PreTranslateMessage(MSG* message);

protected:
    HINSTANCE m_instance = nullptr;
    wchar_t* m_commandLine = nullptr;
    int m_showCommand = 0;
};

PANEFORGE_API CHApp* GetApp();

// The skin resource package the user interface draws from.
class PANEFORGE_API CXFileLoader {
public:
    static CXFileLoader& GetSingleton();
    // Opens the package at path; nonzero when it could be opened.
    int Init(const wchar_t* path, int shared, int flags);
    // Nonzero while a package is open.
    int IsOpen() const;

private:
    CXFileLoader() = default;
    kestro::UniqueFile m_package;
};

// Start and stop the embedded browser runtime of this process. Without an
// installed runtime both do nothing and CHApp::CefRun has no work.
PANEFORGE_API void InitCefInstance();
PANEFORGE_API void ShutDownCefInstance();

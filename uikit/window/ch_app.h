#pragma once
// The application base: control classes, the toolkit's window class and the message loop.
#include <windows.h>

namespace kestro {

class CHWindow;

class CHApp {
public:
    CHApp() = default;
    CHApp(const CHApp&) = delete;
    CHApp& operator=(const CHApp&) = delete;

    virtual ~CHApp() = default;
    // Creates and shows the main window.
    virtual bool InitInstance() { return false; }
    // Called once when the loop ends.
    virtual void ExitInstance() {}
    virtual CHWindow* GetMainWindow() { return mainWindow_; }

    // True when the "CHWindow" class was registered by this call.
    bool Initialize(HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand);
    // The message loop; returns the quit message's wParam.
    int Run();

    // The filtering of one message: from its window up through the parents, the first
    // bound object whose PreTranslateMessage consumes it stops the walk.
    static bool PreTranslate(MSG* message);

protected:
    int showCommand_ = SW_SHOWNORMAL;
    const wchar_t* commandLine_ = nullptr;
    HINSTANCE instance_ = nullptr;
    HINSTANCE previous_ = nullptr;
    CHWindow* mainWindow_ = nullptr;  // owned by the derived class
};

// A program's entry: Initialize, then InitInstance, and only when both succeed the
// message loop; its exit code, else 0.
int RunCHApp(CHApp& app, HINSTANCE instance, HINSTANCE previous, const wchar_t* commandLine, int showCommand);

// Registers the toolkit's window class; the atom, or 0 when it exists already.
ATOM RegisterCHWindowClass(HINSTANCE instance);

}  // namespace kestro
